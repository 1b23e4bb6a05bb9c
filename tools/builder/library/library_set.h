// The reference library: the sample content set with its main database,
// thesaurus and translation dictionaries made from Debian's dictionary
// packages. FOLDOC's entries become encyclopedia articles, GCIDE's entries
// dictionary articles of the same database, WordNet's synonym sets the
// thesaurus, and FreeDict's French-English and English-French dictionaries
// the translation dictionaries. The gallery is made from Debian's
// xplanet-images (library_gallery.h) where the builder can read JPEG
// pictures; timeline, quiz and the inflection tables stay the sample's.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "content/sample_content.h"
#include "gallery/earth_gallery.h"

namespace builder::library {

struct LibraryOptions {
  std::string dictdDirectory;  // where the packages' files are (DictdDirectory())
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
  bool hasGallery = false;  // made from the pictures (else the sample's)
  gallery::GalleryFigures gallery;
};

// Reads the packages and makes the extra content. Throws std::runtime_error
// naming the package whose files are missing.
ExtraContent BuildLibraryContent(const LibraryOptions& options, LibraryFigures* figures);

// Writes the whole set into the directory (made when missing).
LibraryFigures WriteLibrarySet(const std::string& directory, const LibraryOptions& options);

}  // namespace builder::library
