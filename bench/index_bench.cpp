// index_bench: builds a database whose word index holds about 350,000
// generated words and times REidxlst over it: exact lookups, spelling
// alternatives, wildcard pages and anagrams. Prints a table.
//   index_bench [directory]   (default: the current directory)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine_db/engine_db.h"
#include "engine_db/spelling_tables.h"
#include "engine_db/word_index_builder.h"
#include "engine_db/word_index_component.h"
#include "re_blocks.h"
#include "zorlre32.h"

namespace {

namespace edb = builder::engine_db;
using Clock = std::chrono::steady_clock;

// Words from syllables, so that prefixes and endings repeat as in a language.
std::vector<std::string> GenerateWords(std::size_t count, std::mt19937& random) {
  static const char* const kStarts[] = {
      "ba", "be",  "bi", "bra", "ca",  "ce",  "cha", "co", "con", "cra", "da", "de", "di", "dra", "en",
      "ex", "fa",  "fe", "fi",  "fla", "fo",  "fra", "ga", "ge",  "gra", "ha", "he", "hi", "ho",  "in",
      "ja", "ka",  "la", "le",  "li",  "lo",  "ma",  "me", "mi",  "mo",  "na", "ne", "no", "pa",  "pe",
      "pi", "pla", "po", "pra", "pro", "qua", "ra",  "re", "ri",  "ro",  "sa", "se", "si", "sta", "stra",
      "ta", "te",  "ti", "tra", "un",  "va",  "ve",  "vi", "wa",  "we",  "ya", "za"};
  static const char* const kMiddles[] = {"b", "c",  "d",  "f",  "g",  "l",  "m",  "n",  "p",  "r",  "s",  "t",
                                         "v", "nd", "nt", "st", "rt", "ll", "ss", "ck", "ph", "th", "sh", "ch"};
  static const char* const kVowels[] = {"a", "e", "i", "o", "u", "ea", "ou", "io", "ai", "ee"};
  static const char* const kEnds[] = {"",     "s",   "ed",  "ing", "er",  "ly",  "ness", "tion", "ment",
                                      "able", "ous", "ive", "al",  "ity", "ist", "ism",  "ize",  "ful"};
  std::set<std::string> words;
  while (words.size() < count) {
    std::string w = kStarts[random() % std::size(kStarts)];
    const int syllables = 1 + static_cast<int>(random() % 3);
    for (int s = 0; s < syllables; ++s) {
      w += kMiddles[random() % std::size(kMiddles)];
      w += kVowels[random() % std::size(kVowels)];
    }
    w += kEnds[random() % std::size(kEnds)];
    if (random() % 40 == 0) w[0] = static_cast<char>(w[0] - 32);  // a name
    words.insert(w);
  }
  return {words.begin(), words.end()};
}

edb::Database MakeDatabase(const std::vector<std::string>& words) {
  std::vector<builder::IndexWord> indexWords;
  std::uint32_t n = 0;
  for (const std::string& w : words) indexWords.push_back({w, ++n, {}, {}});
  builder::WordIndexOptions options;
  options.blockSize = 2048;
  const builder::WordIndexComponent index = builder::BuildWordIndex(indexWords, options);
  const auto spelling = builder::BuildSpellingTables(builder::StandardSpelling(), words);

  edb::Database database;
  database.header.databaseId = 7;
  database.header.capabilityMask = 0x81;
  edb::TextComponentSpec text;
  text.entryCount = n;
  text.codeWidth = 12;
  text.longestEntryText = 100;
  text.longestLine = 60;
  database.components.push_back(edb::TextComponent(text));
  database.components.push_back(builder::WordIndexComponentOf(index, spelling));
  return database;
}

struct Timing {
  const char* what;
  std::vector<double> micros;
  std::size_t results = 0;
};

void Print(const std::vector<Timing>& rows) {
  std::printf("\n%-28s %7s %10s %10s %10s %10s\n", "operation", "calls", "mean us", "median us", "max us", "results");
  for (Timing row : rows) {
    std::sort(row.micros.begin(), row.micros.end());
    double sum = 0;
    for (double m : row.micros) sum += m;
    const std::size_t calls = row.micros.size();
    std::printf("%-28s %7zu %10.1f %10.1f %10.1f %10.1f\n", row.what, calls, calls ? sum / calls : 0.0,
                calls ? row.micros[calls / 2] : 0.0, calls ? row.micros.back() : 0.0,
                calls ? static_cast<double>(row.results) / calls : 0.0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string directory = argc > 1 ? std::string(argv[1]) + "/" : "./";
  std::mt19937 random(1998);
  std::printf("generating 350,000 words...\n");
  const auto words = GenerateWords(350000, random);
  std::printf("building the index...\n");
  const auto started = Clock::now();
  edb::Write(directory + "BENCH.DAT", MakeDatabase(words));
  std::printf("built in %.1f s\n", std::chrono::duration<double>(Clock::now() - started).count());

  void* app = nullptr;
  void* db = nullptr;
  if (REmemory(&app, nullptr, ReBlockApp, ReActOpen, 0) != ReDone || REapp(app, 100, ReActOpen) != ReDone ||
      REmemory(&db, app, ReBlockDb, ReActOpen, 0) != ReDone) {
    std::fprintf(stderr, "index_bench: no engine session\n");
    return 1;
  }
  auto* dbBlock = static_cast<ReDbBlock*>(db);
  const std::string name = "BENCH.DAT";
  ReFileSpec spec{directory.c_str(), name.c_str()};
  dbBlock->fileSpec = &spec;
  dbBlock->optionMask = 128;
  if (REdb(db, 100, ReActOpen) != ReDone) {
    std::fprintf(stderr, "index_bench: the database does not open\n");
    return 1;
  }
  std::printf("%zu words in the index\n", words.size());
  void* list = nullptr;
  REmemory(&list, db, ReBlockIdxList, ReActOpen, 100);
  auto* block = static_cast<ReIdxListBlock*>(list);
  block->handle = dbBlock->handle;

  auto call = [&](Timing& row, u16 function, u16 action, const std::string& word) {
    std::strncpy(block->word, word.c_str(), dbBlock->longestWord);
    block->word[dbBlock->longestWord] = 0;
    const auto t0 = Clock::now();
    REidxlst(block, function, action);
    row.micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    const i16 found = block->foundCount;  // a packed field: copied, not bound
    row.results += static_cast<std::size_t>(found > 0 ? found : 0);
  };

  std::vector<Timing> rows = {{"lookup, word present", {}}, {"lookup, word absent", {}},
                              {"alternatives, 470", {}},    {"alternatives, 440", {}},
                              {"wildcard, 'pre*'", {}},     {"wildcard, '*ness'", {}},
                              {"wildcard, '?a?e?'", {}},    {"wildcard, next page", {}},
                              {"anagrams, 6 letters", {}},  {"anagrams, 8 letters, min 4", {}}};
  for (int i = 0; i < 200; ++i) {
    const std::string& w = words[random() % words.size()];
    call(rows[0], 210, ReActOpen, w);
    call(rows[1], 210, ReActOpen, w + "qx");
  }
  for (int i = 0; i < 100; ++i) {
    std::string w = words[random() % words.size()];
    if (w.size() > 4) std::swap(w[2], w[3]);  // a typical slip
    call(rows[2], 210, ReActOpen, w);
    call(rows[3], 210, ReActNextAlt, w);
  }
  for (int i = 0; i < 20; ++i) {
    const std::string& w = words[random() % words.size()];
    call(rows[4], 250, ReActOpen, w.substr(0, 3) + "*");
    call(rows[7], 250, ReActNext, "");
    std::string ending(1, '*');  // built by appending: GCC 12 warns falsely on "*" + string
    ending.append(w, w.size() > 4 ? w.size() - 4 : 0);
    call(rows[5], 250, ReActOpen, ending);
    const char shape[] = {'?', w[1], '?', w.back(), '?', 0};
    call(rows[6], 250, ReActOpen, shape);
    call(rows[7], 250, ReActNext, "");
    REidxlst(block, 250, ReActClose);
  }
  for (int i = 0; i < 30; ++i) {
    std::string w = words[random() % words.size()];
    w.resize(std::min<std::size_t>(w.size(), 6));
    block->minimumLength = 0;
    call(rows[8], 120, ReActOpen, w);
    std::string longer = words[random() % words.size()];
    longer.resize(std::min<std::size_t>(longer.size(), 8));
    block->minimumLength = static_cast<u16>(std::min<std::size_t>(4, longer.size()));
    call(rows[9], 120, ReActOpen, longer);
  }
  Print(rows);

  REmemory(&list, db, ReBlockIdxList, ReActClose, 0);
  REdb(db, 100, ReActClose);
  REmemory(&db, app, ReBlockDb, ReActClose, 0);
  REapp(app, 100, ReActClose);
  REmemory(&app, nullptr, ReBlockApp, ReActClose, 0);
  std::remove((directory + name).c_str());
  return 0;
}
