#include "library/library_set.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>

#include "dictionary/dictionary_sample.h"
#include "engine_db/lists_samples.h"
#include "library/foldoc.h"
#include "library/freedict.h"
#include "library/gcide.h"
#include "library/library_gallery.h"
#include "library/library_timeline.h"
#include "library/quiz_maker.h"
#include "library/text_encoding.h"
#include "library/wordnet.h"
#include "reader/reader_sample.h"
#include "sample/sample_set.h"

namespace builder::library {

namespace {

constexpr std::size_t kLongestTitle = 254;
constexpr std::size_t kLongestHeadword = 63;

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return text;
}

// A word the search index holds whole: a run of ASCII letters and digits.
bool IsOneWord(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80;
  });
}

void Report(const LibraryOptions& options, const std::string& line) {
  if (options.progress) options.progress(line);
}

// Reads one package's dictionary, keeping the definitions of the slice.
DictdDictionary Read(const LibraryOptions& options, const std::string& name, const std::string& package,
                     const std::string& what) {
  Report(options, "reading " + what + " (" + package + ")");
  if (options.prefixes.empty()) return ReadDictd(options.dictdDirectory, name, package);
  const auto inSlice = [&](const std::string& headword) {
    const std::string lower = Lower(headword);
    return std::any_of(options.prefixes.begin(), options.prefixes.end(),
                       [&](const std::string& prefix) { return lower.starts_with(prefix); });
  };
  return ReadDictd(options.dictdDirectory, name, package, inSlice);
}

// Entry numbers by name: exact spelling first, then lower case.
class Names {
 public:
  void Add(const std::string& name, std::uint32_t entry) {
    exact_.emplace(name, entry);
    lower_.emplace(Lower(name), entry);
  }
  std::uint32_t Find(const std::string& name, bool anyCase = true) const {
    if (const auto found = exact_.find(name); found != exact_.end()) return found->second;
    if (!anyCase) return 0;
    if (const auto found = lower_.find(Lower(name)); found != lower_.end()) return found->second;
    return 0;
  }

 private:
  std::map<std::string, std::uint32_t> exact_, lower_;
};

// The related articles: the entries the targets name, each once, not the article itself.
std::vector<std::uint32_t> Related(const std::vector<std::string>& targets, const ResolveFn& resolve,
                                   std::uint32_t self) {
  std::vector<std::uint32_t> related;
  for (const std::string& target : targets) {
    const std::uint32_t entry = resolve(target);
    if (entry && entry != self && std::find(related.begin(), related.end(), entry) == related.end())
      related.push_back(entry);
  }
  return related;
}

engine_db::DictionarySpec FrenchEnglish(const std::vector<Translation>& translations) {
  engine_db::DictionarySpec spec = engine_db::FrenchEnglishDictionary();
  spec.entries.clear();
  spec.headwords.clear();
  for (const Translation& t : translations) {
    if (t.headword.size() > kLongestHeadword) continue;
    spec.entries.push_back(TranslationEntryText(t));
    spec.headwords.push_back({t.headword, static_cast<std::uint32_t>(spec.entries.size()), t.wordClass, 0});
  }
  return spec;
}

Bytes EnglishFrench(const std::vector<Translation>& translations) {
  search_corpus::Corpus corpus;
  for (const Translation& t : translations) {
    search_corpus::Article article;
    article.title = EscapeTagged(t.headword);
    for (const std::vector<std::string>& sense : t.senses) {
      if (!article.body.empty()) article.body += "\n";
      for (std::size_t i = 0; i < sense.size(); ++i) article.body += (i ? ", " : "") + EscapeTagged(sense[i]);
    }
    corpus.articles.push_back(std::move(article));
  }
  return ReaderDatabase(corpus, 550);
}

// Lines whose date the reader cannot read or place on a day are named.
bool NamedWhenLeftOut(const std::string& reason) {
  return reason != "no year" && reason != "a date that moves from year to year" && reason != "the same event again";
}

void CountTimeline(const LibraryTimeline& library, LibraryFigures* figures) {
  const CalendarTimeline& t = library.Timeline();
  figures->eventsRead = t.read;
  figures->events = static_cast<std::uint32_t>(t.events.size());
  for (const auto& [reason, lines] : t.leftOut) {
    figures->eventsLeftOut[reason] = static_cast<std::uint32_t>(lines.size());
    if (NamedWhenLeftOut(reason))
      for (const CalendarLine& line : lines)
        figures->unreadLines.push_back(line.file + ":" + std::to_string(line.line) + ": " + reason + ": " + line.text);
  }
  figures->timelineCategories = static_cast<std::uint32_t>(t.categories.size());
  figures->periods = static_cast<std::uint32_t>(t.periods.size());
  figures->issues = static_cast<std::uint32_t>(t.issues.size());
  figures->firsts = static_cast<std::uint32_t>(
      std::count_if(t.events.begin(), t.events.end(), [](const DatedEvent& e) { return e.first; }));
  figures->timelinePictures = static_cast<std::uint32_t>(library.PictureCount());
  figures->timelineNotes = t.notes;
}

}  // namespace

ExtraContent BuildLibraryContent(const LibraryOptions& options, LibraryFigures* figures) {
  *figures = {};
  ExtraContent content;

  const std::vector<FoldocArticle> foldoc = ParseFoldoc(Read(options, "foldoc", "dict-foldoc", "FOLDOC"));
  const std::vector<GcideEntry> gcide = ParseGcide(Read(options, "gcide", "dict-gcide", "GCIDE"));
  Report(options, "reading the dated events (calendar)");
  const LibraryTimeline timeline(
      ReadCalendarTimeline(options.calendarDirectory.empty() ? CalendarDirectory() : options.calendarDirectory));
  // The gallery's articles come last; their titles are numbered with the
  // others', so every entry number made before they are added holds.
  std::optional<GalleryPlan> gallery;
  if (options.readers.readJpeg != nullptr) {
    const std::string directory = options.imagesDirectory.empty() ? XplanetDirectory() : options.imagesDirectory;
    Report(options, "reading the gallery's pictures (xplanet-images, " + directory + ")");
    const gallery::GallerySources sources = ReadGallerySources(directory, options.readers);
    if (options.readers.speak == nullptr) throw std::logic_error("gallery: no speech engine");
    Report(options, "speaking the gallery's narration (espeak-ng)");
    const gallery::Speech narration = options.readers.speak(gallery::NarrationText());
    Report(options, "making the gallery: pictures, panorama, globe and movie");
    GalleryPlan plan = gallery::BuildEarthGallery(sources, narration, options.gallerySizes, &figures->gallery);
    gallery = std::move(plan);
  }
  Report(options, "numbering " + std::to_string(foldoc.size()) + " articles, " + std::to_string(gcide.size()) +
                      " dictionary entries and " + std::to_string(timeline.Timeline().events.size()) + " events");

  // Titles: the sample's, FOLDOC's, GCIDE's; entries numbered over all of them.
  std::vector<std::string> titles = SampleMainTitles();
  const std::size_t firstFoldoc = titles.size();
  for (const FoldocArticle& article : foldoc) titles.push_back(article.title);
  const std::size_t firstGcide = titles.size();
  for (const GcideEntry& entry : gcide) titles.push_back(entry.headword.substr(0, kLongestTitle));
  const std::size_t firstEvent = titles.size();
  for (const std::string& title : timeline.Titles()) titles.push_back(title);
  if (gallery)
    for (const GalleryItemPlan& item : gallery->items) titles.push_back(item.article);
  const std::vector<std::uint32_t> entries = MainEntryNumbers(titles);

  // FOLDOC's references name FOLDOC articles, GCIDE's GCIDE entries (the
  // first homograph); each by any of its names.
  Names foldocNames, gcideNames;
  for (std::size_t i = 0; i < foldoc.size(); ++i)
    for (const std::string& name : foldoc[i].names) foldocNames.Add(name, entries[firstFoldoc + i]);
  std::map<std::string, unsigned> homographs;
  for (std::size_t i = 0; i < gcide.size(); ++i) {
    gcideNames.Add(gcide[i].headword, entries[firstGcide + i]);
    ++homographs[Lower(gcide[i].headword)];
  }
  const ResolveFn inFoldoc = [&](const std::string& target) { return foldocNames.Find(target); };
  const ResolveFn inGcide = [&](const std::string& target) { return gcideNames.Find(target); };

  Report(options, "writing the articles' text");
  std::set<std::string> subjects;
  for (std::size_t i = 0; i < foldoc.size(); ++i) {
    ExtraArticle article;
    article.title = foldoc[i].title;
    article.text = EscapeTagged(foldoc[i].title) + "\n" + FoldocBody(foldoc[i], inFoldoc);
    article.subjects = foldoc[i].subjects;
    article.related = Related(FoldocTargets(foldoc[i]), inFoldoc, entries[firstFoldoc + i]);
    figures->crossReferences += static_cast<std::uint32_t>(article.related.size());
    subjects.insert(article.subjects.begin(), article.subjects.end());
    content.articles.push_back(std::move(article));
  }
  std::map<std::string, unsigned> homographSeen;
  std::set<std::string> lookupWords;
  for (std::size_t i = 0; i < gcide.size(); ++i) {
    const std::string lower = Lower(gcide[i].headword);
    const unsigned homograph = homographs[lower] > 1 ? ++homographSeen[lower] : 0;
    ExtraArticle article;
    article.title = titles[firstGcide + i];
    article.text = GcideEntryText(gcide[i], homograph, inGcide);
    article.dictionary = true;
    if (IsOneWord(gcide[i].headword)) {
      article.headword = lower;
      lookupWords.insert(lower);
    }
    article.related = Related(GcideTargets(gcide[i]), inGcide, entries[firstGcide + i]);
    content.articles.push_back(std::move(article));
  }
  for (const std::string& word : lookupWords)
    if (std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
      content.spellingWords.push_back(word);
  figures->articles = static_cast<std::uint32_t>(foldoc.size());
  figures->subjects = static_cast<std::uint32_t>(subjects.size());
  figures->dictionaryEntries = static_cast<std::uint32_t>(gcide.size());
  figures->headwords = static_cast<std::uint32_t>(lookupWords.size());

  Report(options, "writing the timeline's events and pictures");
  const EntryLookup lookup{[&](const std::string& name, bool anyCase) { return foldocNames.Find(name, anyCase); },
                           [&](const std::string& name, bool anyCase) { return gcideNames.Find(name, anyCase); }};
  timeline.AddTo(content,
                 std::vector<std::uint32_t>(entries.begin() + static_cast<long>(firstEvent),
                                            entries.begin() + static_cast<long>(firstEvent + timeline.Titles().size())),
                 lookup);
  CountTimeline(timeline, figures);

  Report(options, "making the English quiz");
  QuizFigures english;
  const quiz::Quiz englishQuiz =
      MakeEnglishQuiz(foldoc,
                      std::vector<std::uint32_t>(entries.begin() + static_cast<long>(firstFoldoc),
                                                 entries.begin() + static_cast<long>(firstGcide)),
                      gcide,
                      std::vector<std::uint32_t>(entries.begin() + static_cast<long>(firstGcide),
                                                 entries.begin() + static_cast<long>(firstEvent)),
                      &english);
  figures->englishQuestions = english.perCategory;
  const Bytes englishFile = quiz::QuizFile(englishQuiz);
  content.files["ZORLQUIZ.DAT"] = [englishFile](const ContentSample&) { return englishFile; };

  const auto rings = WordNetRings(Read(options, "wn", "dict-wn", "WordNet"));
  figures->synonymRings = static_cast<std::uint32_t>(rings.size());
  Report(options, "writing the thesaurus: " + std::to_string(rings.size()) + " synonym rings");
  engine_db::ThesaurusSpec thesaurus = engine_db::EnglishThesaurus();
  thesaurus.rings = rings;
  content.databases["QUIRN.DAT"] = engine_db::Build(engine_db::ThesaurusDatabase(thesaurus).database).bytes;

  const std::vector<Translation> frenchEnglish =
      ParseFreeDict(Read(options, "freedict-fra-eng", "dict-freedict-fra-eng", "FreeDict French-English"));
  Report(options, "making the French quiz");
  QuizFigures frenchQuestions;
  const Bytes frenchFile = quiz::QuizFile(MakeFrenchQuiz(
      frenchEnglish, [&](const std::string& word) { return gcideNames.Find(word); }, &frenchQuestions));
  figures->frenchQuestions = frenchQuestions.perCategory;
  content.files["ZORLQUZF.DAT"] = [frenchFile](const ContentSample&) { return frenchFile; };
  const engine_db::DictionarySpec frenchSpec = FrenchEnglish(frenchEnglish);
  figures->frenchEnglish = static_cast<std::uint32_t>(frenchSpec.entries.size());
  Report(options, "writing the French-English dictionary: " + std::to_string(frenchSpec.entries.size()) + " headwords");
  engine_db::Database french = engine_db::DictionaryDatabase(frenchSpec);
  dictionary::AddSpellingTables(french, frenchSpec.headwords);
  content.databases["R053F540.DAT"] = engine_db::Build(french).bytes;

  const std::vector<Translation> englishFrench =
      ParseFreeDict(Read(options, "freedict-eng-fra", "dict-freedict-eng-fra", "FreeDict English-French"));
  figures->englishFrench = static_cast<std::uint32_t>(englishFrench.size());
  Report(options, "writing the English-French dictionary: " + std::to_string(englishFrench.size()) + " headwords");
  content.databases["R052E550.DAT"] = EnglishFrench(englishFrench);

  if (gallery) {
    AddGallery(std::move(*gallery), SampleMainTitles(), &content);
    figures->hasGallery = true;
  }
  return content;
}

LibraryFigures WriteLibrarySet(const std::string& directory, const LibraryOptions& options) {
  LibraryFigures figures;
  const ExtraContent content = BuildLibraryContent(options, &figures);
  const ExtraContentInUse inUse(&content);
  std::filesystem::create_directories(directory);
  for (const SampleWriter& writer : SampleWriters()) {
    Report(options, std::string("writing ") + writer.name);
    writer.write(directory);
  }
  return figures;
}

}  // namespace builder::library
