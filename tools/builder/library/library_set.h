// The reference library: the sample content set with its main database,
// thesaurus and translation dictionaries made from Debian's dictionary
// packages. FOLDOC's entries become encyclopedia articles, GCIDE's entries
// dictionary articles of the same database, WordNet's synonym sets the
// thesaurus, and FreeDict's French-English and English-French dictionaries
// the translation dictionaries; the calendar package's dated events the
// timeline, and the library's own entries the quizzes' questions. The
// gallery is made from Debian's xplanet-images (library_gallery.h) where the
// builder can read JPEG pictures; the inflection tables stay the sample's.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "content/sample_content.h"
#include "gallery/earth_gallery.h"

namespace builder::library {

struct LibraryOptions {
  std::string dictdDirectory;     // where the packages' files are (DictdDirectory())
  std::string calendarDirectory;  // where the calendar package's are (CalendarDirectory())
  // Only the definitions with a headword that begins with one of these
  // (lower case): a fixed slice for the tests. None: everything.
  std::vector<std::string> prefixes;
  std::function<void(const std::string& line)> progress;  // one line per step
  // The gallery's readers of pictures and speech: without a JPEG reader the
  // gallery stays the sample's (the Windows builds have none).
  gallery::MediaReaders readers;
  std::string imagesDirectory;  // empty: XplanetDirectory()
  gallery::GallerySizes gallerySizes;
};

struct LibraryFigures {
  std::uint32_t articles = 0;           // FOLDOC articles
  std::uint32_t crossReferences = 0;    // resolved references of the articles
  std::uint32_t subjects = 0;           // subject categories
  std::uint32_t dictionaryEntries = 0;  // GCIDE entries
  std::uint32_t headwords = 0;          // distinct headwords the dictionary lookup finds
  std::uint32_t synonymRings = 0;
  std::uint32_t frenchEnglish = 0;  // headwords of each translation dictionary
  std::uint32_t englishFrench = 0;
  // The timeline: dated lines read, events kept, the lines left out by
  // reason; its lists, firsts and pictures; and what its limits held back.
  std::uint32_t eventsRead = 0, events = 0;
  std::map<std::string, std::uint32_t> eventsLeftOut;
  std::uint32_t timelineCategories = 0, periods = 0, firsts = 0, issues = 0, timelinePictures = 0;
  std::vector<std::string> timelineNotes;
  std::vector<std::string> unreadLines;  // "calendar.x:12: reason: text", each line the reader could not read
  // The quizzes' questions by category.
  std::map<std::string, std::size_t> englishQuestions, frenchQuestions;
  bool hasGallery = false;  // made from the pictures (else the sample's)
  gallery::GalleryFigures gallery;
};

// Reads the packages and makes the extra content. Throws std::runtime_error
// naming the package whose files are missing.
ExtraContent BuildLibraryContent(const LibraryOptions& options, LibraryFigures* figures);

// Writes the whole set into the directory (made when missing).
LibraryFigures WriteLibrarySet(const std::string& directory, const LibraryOptions& options);

}  // namespace builder::library
