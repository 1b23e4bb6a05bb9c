// Fuzzes the loading of the five inflection files and the expansion and
// analysis of words over them. The input damages one built sample file
// (a cut and byte changes), then names the words to look up.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_files.h"
#include "in_analyze.h"
#include "inflect/inflect_samples.h"
#include "re_charclass.h"
#include "re_platform.h"
#include "zorlre32.h"

namespace {

using builder::Bytes;

struct Samples {
  std::string dir = FuzzDirectory();
  builder::inflect::FormFiles forms = builder::inflect::BuildFormFiles(builder::inflect::SampleEnglishForms());
  builder::inflect::ConjugationFiles french =
      builder::inflect::BuildConjugationFiles(builder::inflect::SampleFrenchConjugation());
  builder::inflect::ConjugationFiles english =
      builder::inflect::BuildConjugationFiles(builder::inflect::SampleEnglishConjugation());
  Bytes frenchWordHash;
};

Samples& Data() {
  static Samples* samples = new Samples;
  return *samples;
}

void Write(const std::string& name, const Bytes& bytes) { WriteFuzzFile(name, bytes.data(), bytes.size()); }

// Applies the input's cut and byte changes to one file; returns where the words begin.
size_t Damage(const uint8_t* data, size_t size, Bytes& file) {
  size_t at = 3;
  if (size < at) return size;
  const size_t cut = static_cast<size_t>(data[1]) << 8 | data[2];
  if ((data[0] & 0x80) && cut < file.size()) file.resize(cut);
  while (at + 3 <= size && data[at] != 0xFF) {
    const size_t offset = static_cast<size_t>(data[at]) << 8 | data[at + 1];
    if (!file.empty()) file[offset % file.size()] ^= data[at + 2];
    at += 3;
  }
  return at < size ? at + 1 : size;
}

std::vector<std::string> Words(const uint8_t* data, size_t size, size_t at) {
  std::vector<std::string> words;
  std::string word;
  for (; at < size && words.size() < 6; ++at) {
    if (data[at] == '\n') {
      words.push_back(word);
      word.clear();
    } else {
      word.push_back(static_cast<char>(data[at]));
    }
  }
  words.push_back(word);
  return words;
}

void FuzzForms(const uint8_t* data, size_t size) {
  Samples& s = Data();
  Bytes files[3] = {s.forms.ram, s.forms.dsk, s.forms.hash};
  const size_t words = Damage(data, size, files[(data[0] >> 2) % 3]);
  Write("enue.ram", files[0]);
  Write("enue.dsk", files[1]);
  Write("hash.dat", files[2]);
  auto* context = new InFormContext{};
  if (INinitX(16, context, s.dir.c_str()) == 0) {
    context->lemmaLookup = 1;
    for (const std::string& word : Words(data, size, words)) {
      context->formCount = 0;
      INinflectX(word.c_str(), context);
    }
  }
  INtermX(context);
  delete context;
}

void FuzzTables(const uint8_t* data, size_t size, bool french) {
  Samples& s = Data();
  Bytes files[2] = {french ? s.french.ram : s.english.ram, french ? s.french.dsk : s.english.dsk};
  const size_t words = Damage(data, size, files[(data[0] >> 2) & 1]);
  Write("data.ram", files[0]);
  Write("data.dsk", files[1]);
  auto* context = new InTableContext{};
  std::strcpy(context->ramDirectory, s.dir.c_str());
  std::strcpy(context->dskDirectory, s.dir.c_str());
  char ram[] = "data.ram";
  char dsk[] = "data.dsk";
  context->ramName = ram;
  context->dskName = dsk;
  INinit(context);
  u16 mode = InModeReady;
  for (const std::string& word : Words(data, size, words)) {
    context->mode = mode;
    context->labelLanguage = (data[0] & 0x40) ? InEnglish : InFrench;
    INflect(word.c_str(), context);
    mode = mode == InModeReady ? InModeBuild : mode == InModeBuild ? InModeFill : InModeReady;
  }
  INterm(context);
  delete context;
}

void FuzzAnalysis(const uint8_t* data, size_t size) {
  Samples& s = Data();
  if (s.frenchWordHash.empty()) {
    builder::inflect::ConjugationData french = builder::inflect::SampleFrenchConjugation();
    s.frenchWordHash.assign(128 * 4, 0);
    for (const std::string& text : french.wordHash) builder::inflect::AddToWordHash(s.frenchWordHash, text);
  }
  const u8 kind = size > 1 ? data[1] % 20 : 0;
  const std::string word(reinterpret_cast<const char*>(data) + (size > 2 ? 2 : size), size > 2 ? size - 2 : 0);
  char result[64];
  u8 elided = 0;
  InAnalyzeWord(word.c_str(), kind, ReCharClassTable(kind),
                {s.frenchWordHash.data(), static_cast<u32>(s.frenchWordHash.size())}, result, sizeof result, &elided);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const i32 live = ReLiveAllocations();
  switch (data[0] & 3) {
    case 0: FuzzForms(data, size); break;
    case 1: FuzzTables(data, size, true); break;
    case 2: FuzzTables(data, size, false); break;
    default: FuzzAnalysis(data, size); break;
  }
  if (ReLiveAllocations() != live) std::abort();  // every path frees what it took
  return 0;
}
