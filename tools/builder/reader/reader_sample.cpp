#include "reader/reader_sample.h"

#include <algorithm>
#include <map>
#include <set>

#include "content/sample_content.h"
#include "engine_db/engine_db.h"
#include "engine_db/spelling_tables.h"
#include "engine_db/word_index_component.h"
#include "reader/bookmark_file.h"
#include "reader/wave_file.h"
#include "search_corpus/search_database.h"

namespace builder {
namespace {

namespace sc = search_corpus;

// Article text of the sample titles; a title without its own text gets a line.
const std::map<std::string, std::string> kBodies = {
    {"Aardvark", "The aardvark is a burrowing mammal of Africa. It feeds on ants and termites at night."},
    {"Ancient Egypt",
     "Ancient Egypt grew along the Nile. Its kings built pyramids and temples, and its scribes wrote in "
     "hieroglyphs."},
    {"Astronomy",
     "Astronomy is the study of the stars, the planets and the space between them. A comet is one of the "
     "smaller bodies of the solar system."},
    {"Beethoven, Ludwig van", "Ludwig van Beethoven was a composer. His Moonlight Sonata is a piano sonata."},
    {"Black Hole", "A black hole is a region of space from which nothing, not even light, escapes."},
    {"Comet",
     "A comet is a small body of ice and dust. Near the Sun its tail points away from the Sun. Comet Hale-Bopp "
     "was seen in 1997."},
    {"Henry VIII", "Henry VIII was king of England from 1509. He married six times."},
    {"McDonald Islands", "The McDonald Islands lie in the southern Indian Ocean. They have an active volcano."},
    {"Photosynthesis", "Photosynthesis turns light, water and carbon dioxide into sugar and oxygen in plants."},
    {"Rock & Roll", "Rock and roll is a kind of popular music that began in the 1950s."},
    {"Solar System", "The solar system is the Sun and the planets, moons, comets and asteroids that travel around it."},
    {"Volcano", "A volcano is an opening in the crust through which lava, ash and gases erupt."},
    {"Zebra", "The zebra is a striped horse of Africa. It lives in herds on the plains."},
    {"Background Pictures", "The pictures shown behind the screens."},
    {"Comet Hale-Bopp", "Comet Hale-Bopp was one of the brightest comets of the century, seen in 1997."},
    {"Mars Pathfinder", "Mars Pathfinder landed on Mars in 1997 and set down the rover Sojourner."},
    {"Sojourner", "Sojourner was the small rover of Mars Pathfinder. It studied the rocks of Mars."},
};

// Article text of the sample titles. In the main database every entry's
// title follows <WD>, where the title rules cut an entry's title (title
// mode 4), for the headword lookup and the search's hits alike; a larger
// set's extra articles bring their own text.
sc::Corpus Articles(const std::vector<std::string>& titles, bool headwordMarks = false,
                    const std::vector<std::int32_t>& extraOfEntry = {}) {
  const std::string mark = headwordMarks ? "<WD>" : "";
  sc::Corpus corpus;
  for (std::size_t e = 0; e < titles.size(); ++e) {
    const std::string& title = titles[e];
    sc::Article article;
    if (e < extraOfEntry.size() && extraOfEntry[e] >= 0) {
      const std::string& text = CurrentExtraContent()->articles[extraOfEntry[e]].text;
      const std::size_t lineEnd = text.find('\n');
      article.title = text.substr(0, lineEnd);
      if (!article.title.starts_with("<WD>")) article.title = mark + article.title;
      article.body = lineEnd == std::string::npos ? "" : text.substr(lineEnd + 1);
      corpus.articles.push_back(std::move(article));
      continue;
    }
    article.title = mark + title;
    const auto body = kBodies.find(title);
    article.body = body != kBodies.end() ? body->second : "An article of the sample content.";
    corpus.articles.push_back(article);
  }
  return corpus;
}

sc::Corpus Entries(const std::vector<std::pair<std::string, std::string>>& entries) {
  sc::Corpus corpus;
  for (const auto& [title, body] : entries) corpus.articles.push_back({title, body});
  return corpus;
}

std::string Lower(std::string word) {
  for (char& c : word)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return word;
}

std::vector<std::uint32_t> Members(const Bytes& bitFile) {
  std::vector<std::uint32_t> members;
  if (bitFile.size() < 4) return members;
  const std::uint32_t count =
      bitFile[0] | bitFile[1] << 8 | bitFile[2] << 16 | static_cast<std::uint32_t>(bitFile[3]) << 24;
  for (std::uint32_t n = 1; n <= count && 4 + (n - 1) / 8 < bitFile.size(); ++n)
    if (bitFile[4 + (n - 1) / 8] >> ((n - 1) & 7) & 1) members.push_back(n);
  return members;
}

// The words whose key prefixes the spelling tables list: all of them while
// the prefix table holds them (a table of 16-bit element counts, whose
// entries take up to three bytes after about 6 KB of group rows and
// character tables), else those of the most frequent words. A word under a
// prefix left out gets no spelling alternatives.
std::vector<std::string> SpellingWords(const std::map<std::string, std::uint32_t>& frequency) {
  constexpr std::size_t kMostPrefixes = 18000;
  std::vector<std::pair<std::uint32_t, std::string>> ranked;
  for (const auto& [word, count] : frequency) ranked.emplace_back(count, word);
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::set<std::string> prefixes;
  std::vector<std::string> words;
  for (const auto& [count, word] : ranked) {
    std::string prefix = IndexLowerCase(word).substr(0, 4);
    if (prefixes.size() >= kMostPrefixes && !prefixes.count(prefix)) continue;
    prefixes.insert(prefix);
    words.push_back(word);
  }
  std::sort(words.begin(), words.end());
  return words;
}

}  // namespace

Bytes ReaderDatabase(const sc::Corpus& corpus, std::uint32_t id, const std::map<std::string, std::uint32_t>& headwords,
                     const std::set<std::string>& capitalisedToo) {
  sc::SearchDatabaseOptions options;
  options.databaseId = id;
  options.headwordEntries = headwords;
  options.capitalisedToo = capitalisedToo;
  options.groupSize = 4;
  engine_db::Database database = sc::SearchDatabase(corpus, options);
  // A database with headwords has its titles after <WD> (title mode 4): the
  // headword lookup and the search's hits cut them by the title rules.
  if (!headwords.empty()) database.header.titleMode = 4;
  std::map<std::string, std::uint32_t> frequency;
  for (const sc::Article& article : corpus.articles)
    for (const sc::WordAt& word : sc::SplitWords(article)) ++frequency[Lower(word.word)];
  const std::vector<std::string> words = SpellingWords(frequency);
  for (engine_db::Component& component : database.components) {
    if (component.type != 2 || component.subtype != 1) continue;
    for (const BuiltTable& table : BuildSpellingTables(StandardSpelling(), words))
      component.tables.push_back(ComponentTableOf(table));
  }
  return engine_db::Build(database).bytes;
}

sc::Corpus MainArticles(const ContentSample& content) {
  return Articles(content.mainTitles, true, content.extraOfEntry);
}

std::map<std::string, Bytes> BuildReaderSample() {
  const ContentSample content = BuildContentSample();
  std::map<std::string, Bytes> files;
  std::vector<std::uint32_t> articleOfEntry;  // main entry -> article
  {
    std::uint32_t article = 0;
    std::size_t u = 0;
    for (std::uint32_t entry = 1; entry <= content.mainTitles.size(); ++entry) {
      ++article;
      while (u < content.updateArticles.size() && content.updateArticles[u] == article) {
        ++u;
        ++article;
      }
      articleOfEntry.push_back(article);
    }
  }
  // The dictionary articles (Vorn.bit) are the headwords of their titles, so
  // the dictionary screen's lookup leads to them.
  std::map<std::string, std::uint32_t> headwords;
  for (std::uint32_t article : Members(content.files.at("Vorn.bit"))) {
    const auto found = std::find(articleOfEntry.begin(), articleOfEntry.end(), article);
    if (found == articleOfEntry.end()) throw std::logic_error("a dictionary article is not a main article");
    const std::uint32_t entry = static_cast<std::uint32_t>(found - articleOfEntry.begin()) + 1;
    const std::int32_t extra = content.extraOfEntry.at(entry - 1);
    if (extra >= 0) {
      // The first of homographs is the one the lookup finds.
      const std::string& headword = CurrentExtraContent()->articles[extra].headword;
      if (!headword.empty()) headwords.emplace(headword, entry);
      continue;
    }
    const std::string& title = content.mainTitles.at(entry - 1);
    headwords[Lower(title)] = entry;
  }
  // The index spells "sun" both ways, as a name and as a common word.
  files["REN2F200.DAT"] = ReaderDatabase(MainArticles(content), 200, headwords, {"sun"});
  files["UPDATES.DAT"] = ReaderDatabase(Articles(content.updateTitles), 206);
  files["RENTF211.DAT"] = ReaderDatabase(Entries({{"comet", "comet\ncomets\ntail"},
                                                  {"planet", "planet\nplanets\nsolar system"},
                                                  {"volcano", "volcano\nvolcanoes\nlava\neruption"}}),
                                         211);
  const ExtraContent* extra = CurrentExtraContent();
  if (extra && extra->databases.count("R052E550.DAT"))
    files["R052E550.DAT"] = extra->databases.at("R052E550.DAT");
  else
    files["R052E550.DAT"] =
        ReaderDatabase(Entries({{"house", "maison"}, {"star", "etoile"}, {"sun", "soleil"}, {"zebra", "zebre"}}), 550);

  // Back.bin: the one background picture (the media item of "Background
  // Pictures") shows the media item of "Astronomy" (of the gallery's own
  // choice where a larger set brings its gallery).
  std::vector<std::uint32_t> mult = Members(content.files.at("Mult.bit"));
  const auto itemOf = [&](const std::string& title) {
    const std::uint32_t article = articleOfEntry.at(MainEntryOf(content, title) - 1);
    const auto found = std::find(mult.begin(), mult.end(), article);
    if (found == mult.end()) throw std::logic_error(title + " has no media item");
    return static_cast<std::uint16_t>(found - mult.begin());
  };
  ByteWriter back;
  back.U16le(1);
  back.U16le(itemOf("Background Pictures"));
  back.U16le(itemOf(BackgroundShowsArticle()));
  files["Back.bin"] = back.take();

  BookmarkData bookmarks;
  BookmarkFolder space;
  space.name = "Space";
  space.mainEntryCount = static_cast<std::uint32_t>(content.mainTitles.size());
  for (const char* title : {"Astronomy", "Comet", "Solar System"})
    space.mainEntries.push_back(MainEntryOf(content, title));
  space.updateTitles = {"Comet Hale-Bopp"};
  bookmarks.folders.push_back(space);
  BookmarkRecord volcano;
  volcano.mainEntry = MainEntryOf(content, "Volcano");
  volcano.notes = {{"Compare with the McDonald Islands.", 12}};
  volcano.highlights = {{3, 5}};
  bookmarks.bookmarks.push_back(volcano);
  BookmarkRecord pathfinder;
  pathfinder.isUpdate = true;
  pathfinder.title = "Mars Pathfinder";
  pathfinder.notes = {{"Landed on 4 July 1997.", 4}};
  bookmarks.bookmarks.push_back(pathfinder);
  files["Bookmark.dat"] = EncodeBookmarkFile(bookmarks);

  files["CREDIT.WAV"] = ToneWave(440, 600);
  files["APPLAUSE.WAV"] = ToneWave(660, 400);
  files["MOONLITE.WAV"] = ToneWave(330, 1500);
  return files;
}

void WriteReaderSample(const std::string& directory) {
  for (const auto& [name, bytes] : BuildReaderSample()) WriteFileAtomically(JoinPath(directory, name), bytes);
}

}  // namespace builder
