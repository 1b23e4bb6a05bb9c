// Throughput of entry text decoding over a generated encyclopedia of about
// 35,000 articles: tagged text through REentry and token chunks through
// REtoken. A measuring program, not a test.
//   entry_text_bench [articles] [scratch directory]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine_db/engine_db.h"
#include "entry_text/entry_text.h"
#include "re_blocks.h"
#include "zorlre32.h"

namespace {

namespace edb = builder::engine_db;
namespace et = builder::entry_text;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Articles of a title line and a few paragraphs of words from a small
// vocabulary, with bold, italic, cross references, headings and numbers.
std::vector<std::string> Corpus(std::size_t count) {
  std::mt19937 random(1998);
  std::vector<std::string> vocabulary;
  const char* syllables[] = {"ra", "ve", "lon", "dis", "tor", "mi", "ka", "sel", "un", "pre", "ta", "gor", "li", "ben"};
  for (int i = 0; i < 4000; ++i) {
    std::string word;
    const int parts = 1 + static_cast<int>(random() % 4);
    for (int p = 0; p < parts; ++p) word += syllables[random() % 14];
    vocabulary.push_back(word);
  }
  const char* small[] = {"the", "of", "and", "in", "a", "to", "is", "was", "by", "for", "with", "as"};
  auto word = [&]() -> std::string {
    return random() % 3 ? small[random() % 12] : vocabulary[std::min<std::size_t>(random() % 4000, random() % 4000)];
  };
  std::vector<std::string> articles;
  articles.reserve(count);
  for (std::size_t a = 0; a < count; ++a) {
    std::string text = "<DS>" + vocabulary[a % 4000] + " " + std::to_string(a) + "\n";
    const int paragraphs = 1 + static_cast<int>(random() % 5);
    for (int p = 0; p < paragraphs; ++p) {
      if (p > 0 && random() % 3 == 0) text += "<H>" + word() + " " + word() + "</H>\n";
      text += "<P>";
      const int words = 15 + static_cast<int>(random() % 60);
      for (int w = 0; w < words; ++w) {
        const unsigned pick = random() % 40;
        if (pick == 0) {
          text += "<B>" + word() + "</B>";
        } else if (pick == 1) {
          text += "<I>" + word() + " " + word() + "</I>";
        } else if (pick == 2) {
          text += "<XR>" + word() + "<HID>" + std::to_string(random() % count + 1) + "</HID></XR>";
        } else if (pick == 3) {
          text += word() + "<UP>" + std::to_string(random() % 9) + "</UP>";
        } else {
          text += word();
        }
        text += w + 1 == words ? ".\n" : random() % 12 == 0 ? ", " : " ";
      }
    }
    articles.push_back(std::move(text));
  }
  return articles;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 35000;
  const std::filesystem::path scratch =
      argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path() / "entry_text_bench";
  try {
    std::filesystem::create_directories(scratch);
    auto start = Clock::now();
    const std::vector<std::string> articles = Corpus(count);
    std::size_t bytes = 0;
    for (const std::string& article : articles) bytes += article.size();
    std::printf("corpus: %zu articles, %.1f MB of tagged text (%.1f s)\n", count, bytes / 1e6, Seconds(start));

    start = Clock::now();
    et::EntryTextSpec spec;
    spec.entries = articles;
    spec.compress.maxCodes = 65535;
    spec.compress.groupSize = 16;
    edb::Database database;
    database.header.databaseId = 1;
    database.header.lineRule = 1;
    database.components.push_back(edb::TextComponent(et::EntryTextComponent(spec)));
    edb::IndexComponentSpec index;
    index.longestWord = 32;
    index.entryListCount = 20;
    database.components.push_back(edb::IndexComponent(index));
    const edb::Built built = edb::Build(database);
    const std::string file = (scratch / "BENCH.DAT").string();
    builder::WriteFileAtomically(file, built.bytes);
    std::printf("database: %.1f MB (%.0f%% of the text), built in %.1f s\n", built.bytes.size() / 1e6,
                100.0 * built.bytes.size() / bytes, Seconds(start));

    void* app = nullptr;
    void* dbPointer = nullptr;
    if (REmemory(&app, nullptr, 510, 470, 0) || REapp(app, 100, 470) || REmemory(&dbPointer, app, 520, 470, 0))
      throw std::runtime_error("no session");
    const std::string directory = scratch.string() + "/";
    ReFileSpec fileSpec{directory.c_str(), "BENCH.DAT"};
    auto* db = static_cast<ReDbBlock*>(dbPointer);
    db->fileSpec = &fileSpec;
    db->optionMask = 128;
    if (REdb(db, 100, 470) != ReDone) throw std::runtime_error("the database did not open");

    void* tokenPointer = nullptr;
    void* entryPointer = nullptr;
    if (REmemory(&tokenPointer, db, 555, 470, 0) || REmemory(&entryPointer, db, 550, 470, 0))
      throw std::runtime_error("no blocks");
    auto* tokens = static_cast<ReTokenBlock*>(tokenPointer);
    auto* entry = static_cast<ReEntryBlock*>(entryPointer);
    tokens->handle = entry->handle = db->handle;

    start = Clock::now();
    std::size_t text = 0;
    for (u32 e = 1; e <= count; ++e) {
      entry->entry = e;
      for (u16 action = 470;; action = 430) {
        const u32 result = REentry(entry, 495, action);
        text += entry->textLength;
        if (result != ReDone) break;
      }
    }
    const double plain = Seconds(start);
    std::printf("tagged text (REentry): %.1f MB in %.2f s = %.1f MB/s\n", text / 1e6, plain, text / 1e6 / plain);

    start = Clock::now();
    std::size_t tokenCount = 0;
    u32 failed = 0;
    for (u32 e = 1; e <= count; ++e) {
      tokens->entry = e;
      for (u16 action = 470;; action = 430) {
        const u32 result = REtoken(tokens, 495, action);
        tokenCount += tokens->tokenCount;
        if (result == ReFail) ++failed;
        if (result != ReDone) break;
      }
    }
    const double chunked = Seconds(start);
    std::printf("token chunks (REtoken): %zu tokens in %.2f s = %.2f million tokens/s, %.1f MB/s of tagged text\n",
                tokenCount, chunked, tokenCount / 1e6 / chunked, bytes / 1e6 / chunked);
    if (failed) std::printf("%u entries failed\n", failed);

    REmemory(&tokenPointer, nullptr, 555, 480, 0);
    REmemory(&entryPointer, nullptr, 550, 480, 0);
    REdb(db, 100, 480);
    REapp(app, 100, 480);
    REmemory(&dbPointer, nullptr, 520, 480, 0);
    REmemory(&app, nullptr, 510, 480, 0);
    std::filesystem::remove_all(scratch);
    return failed ? 1 : 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "entry_text_bench: %s\n", error.what());
    return 1;
  }
}
