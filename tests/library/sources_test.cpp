// The readers of the dictionary packages' files, on definitions and index
// lines written out by hand in the packages' own forms.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "library/dictd_file.h"
#include "library/foldoc.h"
#include "library/freedict.h"
#include "library/gcide.h"
#include "library/linked_text.h"
#include "library/text_encoding.h"
#include "library/wordnet.h"
#include "temp_dir.h"

namespace {

namespace lib = builder::library;

std::string Gzip(const std::string& text) {
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string out(deflateBound(&stream, text.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

// Offsets and lengths of the index in base 64: "A" 0 ... "/" 63.
TEST(DictdFile, IndexLinesLeadToTheirDefinitions) {
  EXPECT_EQ(lib::DictdNumber("A"), 0u);
  EXPECT_EQ(lib::DictdNumber("/"), 63u);
  EXPECT_EQ(lib::DictdNumber("BA"), 64u);
  EXPECT_EQ(lib::DictdNumber("Bc"), 64u + 28u);
  EXPECT_THROW(lib::DictdNumber("A-"), std::invalid_argument);
  EXPECT_THROW(lib::DictdNumber(""), std::invalid_argument);

  TempDir dir;
  // "00-database-info" at 0 (5 bytes), "one" at 5 (4 bytes), "two" and its
  // other headword "deux" at 9 (4 bytes).
  dir.Write("test.dict.dz", Gzip("info\none\ntwo\n"));
  dir.Write("test.index", "00-database-info\tA\tF\none\tF\tE\ntwo\tJ\tE\ndeux\tJ\tE\n");
  const lib::DictdDictionary d = lib::ReadDictd(dir.path(), "test", "dict-test");
  ASSERT_EQ(d.entries.size(), 2u);
  EXPECT_EQ(d.Definition(d.entries[0]), "one\n");
  EXPECT_EQ(d.entries[1].headwords, (std::vector<std::string>{"two", "deux"}));
  EXPECT_EQ(d.Definition(d.entries[1]), "two\n");
}

TEST(DictdFile, MissingFilesNameThePackageAndBadLinesTheirPlace) {
  TempDir dir;
  try {
    lib::ReadDictd(dir.path(), "foldoc", "dict-foldoc");
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("install the package dict-foldoc"), std::string::npos) << error.what();
  }
  dir.Write("cut.dict.dz", Gzip("some text").substr(0, 12));
  dir.Write("cut.index", "a\tA\tB\n");
  EXPECT_THROW(lib::ReadDictd(dir.path(), "cut", "dict-cut"), std::runtime_error);
  dir.Write("far.dict", "abc");
  dir.Write("far.index", "a\tA\tE\n");  // 4 bytes of a 3-byte file
  try {
    lib::ReadDictd(dir.path(), "far", "dict-far");
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("far.index:1"), std::string::npos) << error.what();
  }
  dir.Write("bad.dict", "abc");
  dir.Write("bad.index", "a\tA\n");
  EXPECT_THROW(lib::ReadDictd(dir.path(), "bad", "dict-bad"), std::runtime_error);
}

TEST(TextEncoding, Utf8BecomesWindows1252) {
  EXPECT_EQ(lib::Utf8ToWindows1252("caf\xC3\xA9 \xE2\x80\x94 \xE2\x82\xAC"), "caf\xE9 \x97 \x80");
  EXPECT_EQ(lib::Utf8ToWindows1252("e\xCC\x81"), "e");  // a combining accent dropped
  EXPECT_EQ(lib::Utf8ToWindows1252("\xCE\xB1\xFF"
                                   "b"),
            "??b");                                         // Greek alpha, a stray byte
  EXPECT_EQ(lib::Utf8ToWindows1252("\xC3\xBF\ta"), "y a");  // 255 is the line feed's byte
  EXPECT_EQ(lib::EscapeTagged("a<b"), "a<{<}>b");
  EXPECT_EQ(lib::CollapseBlanks("  a   b  "), "a b");
}

TEST(LinkedText, BracesBecomeReferencesWhenTheirTargetExists) {
  const auto pieces = lib::ParseBraces("see {abstract  data type}, {Reynolds (http://x.org/)} or {nothing} {a");
  EXPECT_EQ(lib::Targets(pieces), (std::vector<std::string>{"abstract data type", "nothing"}));
  const lib::ResolveFn resolve = [](const std::string& t) { return t == "abstract data type" ? 42u : 0u; };
  EXPECT_EQ(lib::RenderLinked(pieces, resolve), "see <XR>abstract data type<HID>42</HID></XR>, Reynolds or nothing {a");
}

TEST(Foldoc, TitleSubjectsBlocksAndReferences) {
  const std::string definition =
      "cache\n"
      "cache memory\n"
      "\n"
      "   <memory management, hardware> A small fast memory holding\n"
      "   recently used data; see {cache hit}.\n"
      "\n"
      "       int x = a < b;\n"
      "\n"
      "   2. <networking> A copy of {web pages}.\n"
      "\n"
      "   (1997-06-09)\n";
  const lib::FoldocArticle article = lib::ParseFoldocDefinition(definition);
  EXPECT_EQ(article.title, "cache");
  EXPECT_EQ(article.names, (std::vector<std::string>{"cache", "cache memory"}));
  EXPECT_EQ(article.subjects, (std::vector<std::string>{"memory management", "hardware", "networking"}));
  ASSERT_EQ(article.blocks.size(), 4u);
  EXPECT_EQ(article.blocks[0].text, "A small fast memory holding recently used data; see {cache hit}.");
  EXPECT_TRUE(article.blocks[1].indented);
  EXPECT_EQ(article.blocks[1].text, "    int x = a < b;");
  EXPECT_EQ(lib::FoldocTargets(article), (std::vector<std::string>{"cache hit", "web pages"}));
  const std::string body = lib::FoldocBody(article, [](const std::string& t) { return t == "cache hit" ? 7u : 0u; });
  EXPECT_EQ(body,
            "<I>memory management</I> <I>hardware</I> A small fast memory holding recently used data; see "
            "<XR>cache hit<HID>7</HID></XR>.\n\n    int x = a <{<}> b;\n\n2. <I>networking</I> A copy of web "
            "pages.\n\n(1997-06-09)");
}

TEST(Gcide, HeadwordPronunciationSensesAndQuotations) {
  const std::string definition =
      "Absurd \\Ab*surd\"\\, a. [L. absurdus.]\n"
      "   1. Contrary to reason; see {Inept}. [1913 Webster]\n"
      "\n"
      "            This phrase absurd.                   --Milton.\n"
      "\n"
      "   2. (a) Having no rational sense.\n"
      "\n"
      "   Syn: Foolish; irrational.\n"
      "\n"
      "Bass \\Bass\\ (b[=a]s), n.\n"
      "   A fish.\n";
  const std::vector<lib::GcideEntry> entries = lib::ParseGcideDefinition(definition);
  ASSERT_EQ(entries.size(), 2u);
  const lib::GcideEntry& absurd = entries[0];
  EXPECT_EQ(absurd.headword, "Absurd");
  EXPECT_EQ(absurd.syllables, "Ab\xB7surd");
  EXPECT_EQ(absurd.partOfSpeech, "a.");
  EXPECT_EQ(absurd.etymology, "[L. absurdus.]");
  using Kind = lib::GcideEntry::Kind;
  ASSERT_EQ(absurd.parts.size(), 4u);
  EXPECT_EQ(absurd.parts[0].kind, Kind::Sense);
  EXPECT_EQ(absurd.parts[0].text, "Contrary to reason; see {Inept}.");
  EXPECT_EQ(absurd.parts[1].kind, Kind::Quotation);
  EXPECT_EQ(absurd.parts[2].kind, Kind::Sense);
  EXPECT_EQ(absurd.parts[3].kind, Kind::Note);
  EXPECT_EQ(entries[1].pronunciation, "b[=a]s");

  const std::string text = lib::GcideEntryText(absurd, 2, [](const std::string&) { return 9u; });
  EXPECT_EQ(text.substr(0, text.find('\n')), "<WD>Absurd<UP>2</UP><PR> Ab\xB7surd<PS> a.<P> [L. absurdus.]");
  EXPECT_NE(text.find("\n<SN> Contrary to reason; see <XR>Inept<HID>9</HID></XR>."), std::string::npos) << text;
  EXPECT_EQ(lib::GcideTargets(absurd), (std::vector<std::string>{"Inept"}));
  // Phonetic letters are escapes of printable characters only.
  const std::string bass = lib::GcideEntryText(entries[1], 0, [](const std::string&) { return 0u; });
  for (std::size_t at = bass.find("<{"); at != std::string::npos; at = bass.find("<{", at + 1)) {
    const auto c = static_cast<unsigned char>(bass[at + 2]);
    EXPECT_TRUE(c >= 33 && c <= 126) << bass;
  }
}

TEST(WordNet, SynonymSetsBecomeRingsOnce) {
  const std::string car =
      "car\n"
      "    n 1: a motor vehicle [syn: {car}, {auto}, {automobile}]\n"
      "    2: a wheeled vehicle [syn: {car}, {railcar}]\n"
      "    v 1: to travel [syn: {motor}, {drive}]\n";
  const std::vector<lib::WordNetSense> senses = lib::ParseWordNetDefinition(car);
  ASSERT_EQ(senses.size(), 3u);
  EXPECT_EQ(senses[0].wordClass, lib::kWordNoun);
  EXPECT_EQ(senses[1].synonyms, (std::vector<std::string>{"car", "railcar"}));
  EXPECT_EQ(senses[2].wordClass, lib::kWordVerb);

  lib::DictdDictionary dictionary;
  dictionary.text = car + "auto\n    n 1: a motor vehicle [syn: {car}, {auto}, {automobile}]\n";
  dictionary.entries = {{0, static_cast<std::uint32_t>(car.size()), {"car"}},
                        {static_cast<std::uint32_t>(car.size()),
                         static_cast<std::uint32_t>(dictionary.text.size() - car.size()),
                         {"auto"}}};
  const auto rings = lib::WordNetRings(dictionary);
  ASSERT_EQ(rings.size(), 3u);  // the set read again under "auto" is not repeated
  EXPECT_EQ(rings[0][2].word, "automobile");
}

TEST(FreeDict, HeadwordPartOfSpeechAndSenses) {
  const lib::Translation cafe =
      lib::ParseFreeDictDefinition("caf\xC3\xA9 /kafe/ <n, masc>\n1. caf\xC3\xA9, coffee-house\n2. coffee\n");
  EXPECT_EQ(cafe.headword, "caf\xE9");
  EXPECT_EQ(cafe.partOfSpeech, "n.m.");
  EXPECT_EQ(cafe.wordClass, lib::kWordNoun);
  ASSERT_EQ(cafe.senses.size(), 2u);
  EXPECT_EQ(cafe.senses[0], (std::vector<std::string>{"caf\xE9", "coffee-house"}));
  EXPECT_EQ(lib::TranslationEntryText(cafe),
            "<WD>caf\xE9\ncaf\xE9<DS>n.m.<SY>caf\xE9<D1>coffee-house\ncaf\xE9<DS>n.m.<SY>coffee");
  const lib::Translation plain = lib::ParseFreeDictDefinition("house /haʊs/\nmaison\n");
  EXPECT_EQ(plain.headword, "house");
  EXPECT_EQ(plain.partOfSpeech, "");
  EXPECT_EQ(lib::ParseFreeDictDefinition("").headword, "");
}

}  // namespace
