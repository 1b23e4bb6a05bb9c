// program_data: writes the reader's data resources for the resource compiler.
//   program_data <directory> <stop words list> <abbreviations list>
// Each list has one word a line; it becomes the words separated by NUL bytes,
// ended by an empty word. The phrase tables of packed media records are the
// content builder's, so the reader unpacks what the builder packs. The
// directory also gets reader_data.rc, which names the three files.
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include "common/byte_writer.h"
#include "content/media_phrases.h"

namespace {

builder::Bytes WordResource(const std::string& listPath) {
  std::ifstream in(listPath);
  if (!in) throw std::runtime_error("cannot read " + listPath);
  builder::Bytes bytes;
  for (std::string word; std::getline(in, word);) {
    while (!word.empty() && (word.back() == '\r' || word.back() == ' ')) word.pop_back();
    if (word.empty()) continue;
    bytes.insert(bytes.end(), word.begin(), word.end());
    bytes.push_back(0);
  }
  bytes.push_back(0);  // the empty word that ends the list
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: program_data <directory> <stop words> <abbreviations>\n");
    return 2;
  }
  try {
    const std::string directory = argv[1];
    builder::WriteFileAtomically(builder::JoinPath(directory, "RCDATA6666.BIN"), WordResource(argv[2]));
    builder::WriteFileAtomically(builder::JoinPath(directory, "RCDATA6667.BIN"), WordResource(argv[3]));
    builder::WriteFileAtomically(builder::JoinPath(directory, "RCDATA6668.BIN"), builder::MediaPhraseResource());
    std::string rc = "// The reader's data resources, written by program_data.\n";
    for (const char* id : {"6666", "6667", "6668"})
      rc += std::string(id) + " RCDATA \"" + builder::JoinPath(directory, std::string("RCDATA") + id + ".BIN") + "\"\n";
    builder::WriteFileAtomically(builder::JoinPath(directory, "reader_data.rc"), builder::Bytes(rc.begin(), rc.end()));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "program_data: %s\n", error.what());
    return 1;
  }
  return 0;
}
