// A small coherent content set for the reader: the filter files, the spelling
// hash, both title indexes, the media store with its phrase resource, the
// category index and the registry file of the settings.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/byte_writer.h"
#include "content/gallery_plan.h"

namespace builder {

// Articles a larger content set adds to the sample's main database (the
// reference library of library/library_set.h), and the engine databases it
// writes in place of the sample's. While such content is in use (see
// UseExtraContent), every writer of the set numbers, files and writes the
// articles together with the sample's own, so titles, filters, text and
// related files agree.
struct ExtraArticle {
  std::string title;                   // in the title index
  std::string text;                    // tagged entry text, title line first, references resolved
  bool dictionary = false;             // a dictionary article (Vorn.bit), else an encyclopedia article (Mrv.bit)
  std::string headword;                // lower-case word the dictionary lookup leads to this article by, or empty
  std::vector<std::string> subjects;   // titles of its subject categories
  std::vector<std::uint32_t> related;  // main-database entry numbers
  bool timeline = false;               // a timeline event (Tml.bit)
  // A picture the article owns as its media item (Mult.bit, Pic.bit), kept
  // out of the article lists (the timeline's pictures), with its hot spots
  // (kind 0: none; their ids are taken as the item's own number).
  std::optional<Picture> picture;
  PictureRegions regions;
};

struct ContentSample;

struct ExtraContent {
  std::vector<ExtraArticle> articles;
  std::vector<std::string> spellingWords;  // for the spelling hash, those it cannot place left out
  std::map<std::string, Bytes> databases;  // engine databases by file name, written in place of the sample's
  // Files written in place of the sample's by that file's writer, made from
  // the numbered set (the timeline names its pictures' media items).
  std::map<std::string, std::function<Bytes(const ContentSample&)>> files;
  // A gallery in place of the sample's media items (the background picture
  // stays), with the movie and sound files it names.
  std::optional<GalleryPlan> gallery;
};

// The extra content the writers use until the returned guard ends (nullptr: none).
class ExtraContentInUse {
 public:
  explicit ExtraContentInUse(const ExtraContent* content);
  ~ExtraContentInUse();
  ExtraContentInUse(const ExtraContentInUse&) = delete;
  ExtraContentInUse& operator=(const ExtraContentInUse&) = delete;

 private:
  const ExtraContent* previous_;
};
const ExtraContent* CurrentExtraContent();

// The sample's main titles, in the order they are numbered with the extra
// articles' titles after them.
const std::vector<std::string>& SampleMainTitles();

// The main-database entry of each title (titles in the order above): entries
// are numbered in title-key order, ties in the given order.
std::vector<std::uint32_t> MainEntryNumbers(const std::vector<std::string>& titles);

struct ContentSample {
  std::vector<std::string> mainTitles;        // by main-database entry number - 1
  std::vector<std::int32_t> extraOfEntry;     // by main-database entry number - 1: the extra article, or -1
  std::vector<std::string> updateTitles;      // by update-database entry number - 1
  std::vector<std::uint32_t> updateArticles;  // article number of each update entry
  std::map<std::string, Bytes> files;         // by file name, registry file aside
  std::vector<std::uint32_t> mediaEntries;    // by media item: the main-database entry of its article
};

ContentSample BuildContentSample();

// The main-database entry number of one of the sample's titles; a title the
// sample does not hold is the builder's own fault (std::logic_error).
std::uint32_t MainEntryOf(const ContentSample& sample, const std::string& title);

// The media item of the article of a main-database entry; an entry without
// one is the builder's own fault (std::logic_error).
std::uint16_t MediaItemOf(const ContentSample& sample, std::uint32_t entry);

// The extra content's file of that name when it has one, else the sample's.
Bytes ExtraFileOr(const std::string& name, const std::function<Bytes()>& sample);
// Whether the extra content's gallery writes the media file of this name
// (the sample's writers then leave it to the movies' writer, which writes
// the gallery's files).
bool GalleryWritesFile(const std::string& name);
// Writes the extra content's gallery files (none without one).
void WriteGalleryFiles(const std::string& directory);

// The article whose media item the background picture shows (Back.bin).
std::string BackgroundShowsArticle();

// Writes the sample's files and "SETTINGS.REG" (WorkingDirectory = the
// directory) into the directory.
void WriteContentSample(const std::string& directory);

}  // namespace builder
