// The reader's small data files from untrusted bytes: the spelling hash
// (Spelhash.dat), the backgrounds' media items (Back.bin), the related
// articles (MAROVA.REL) and the Internet links and addresses (Internet.dat).
// Input: a byte choosing the file, a u32 (little-endian) entry, rank or
// picture record to look up, then the file's bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/background_links.h"
#include "core/related_files.h"
#include "core/spell_hash.h"
#include "fuzz_files.h"

namespace {

// Words to look up: the parts of the bytes between blanks and NULs.
std::vector<std::string> Words(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> words{"a", "Word", "\xE9t\xE9"};
  std::string word;
  for (std::size_t i = 0; i < size && words.size() < 16; ++i) {
    if (data[i] == ' ' || data[i] == 0) {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else if (word.size() < 40) {
      word += static_cast<char>(data[i]);
    }
  }
  return words;
}

void SpellingHash(const std::uint8_t* file, std::size_t size) {
  const std::string path = FuzzDirectory() + "Spelhash.dat";
  if (u8* table = SpellHashLoad(path.c_str())) {
    if (size < SpellTableBytes) std::abort();  // a short file must not load
    for (const std::string& word : Words(file, 256)) SpellHashFind(table, word.c_str());
    SpellHashFree(table);
  }
  // The same bytes as the start of a table in memory, the rest zero: the
  // probes must stay inside it.
  std::vector<u8> table(SpellTableBytes, 0);
  std::memcpy(table.data(), file, std::min<std::size_t>(size, table.size()));
  for (const std::string& word : Words(file, size)) SpellHashFind(table.data(), word.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const u32 key = data[1] | data[2] << 8 | data[3] << 16 | static_cast<u32>(data[4]) << 24;
  const std::uint8_t* file = data + 5;
  const std::size_t fileSize = size - 5;
  switch (data[0] % 4) {
    case 0:
      WriteFuzzFile("Spelhash.dat", file, fileSize);
      SpellingHash(file, fileSize);
      break;
    case 1: {
      WriteFuzzFile("Back.bin", file, fileSize);
      u16 item = 0;
      FindBackgroundItem((FuzzDirectory() + "Back.bin").c_str(), static_cast<u16>(key), &item);
      break;
    }
    case 2: {
      WriteFuzzFile("MAROVA.REL", file, fileSize);
      const std::string path = FuzzDirectory() + "MAROVA.REL";
      std::vector<links::RelatedEntry> related;
      for (u32 entry : {key, 1u, key & 0xFFFF}) links::ReadRelatedEntries(path.c_str(), entry, related);
      break;
    }
    default: {
      WriteFuzzFile("Internet.dat", file, fileSize);
      const std::string path = FuzzDirectory() + "Internet.dat";
      std::vector<u32> links;
      std::string url;
      for (int rank : {static_cast<int>(key), 0, static_cast<int>(key & 0xFF)}) {
        links::ReadInternetLinks(path.c_str(), rank, links);
        if (links::ReadInternetUrl(path.c_str(), rank, url) == links::UrlResult::Ok &&
            (url.empty() || url.size() >= links::kUrlBufferSize))
          std::abort();
      }
      break;
    }
  }
  return 0;
}
