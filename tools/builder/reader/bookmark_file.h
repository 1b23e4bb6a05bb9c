// Bookmark.dat, the reader's folders and bookmarks (little-endian, no header):
//   u16 folder count; per folder u16 name length, the name, u32 update-title
//   count U, U times u16 length and the accent-folded title, then a .bit
//   record over the main database's entries;
//   u16 bookmark count; per bookmark a byte is-update, then u32 main entry
//   (0) or u16 length and the accent-folded title (1), u16 note count, per
//   note u16 length, the text and u16 position, u16 highlight count, per
//   highlight u16 start and u16 end.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/byte_writer.h"

namespace builder {

struct BookmarkFolder {
  std::string name;
  std::vector<std::string> updateTitles;   // as stored: accent-folded
  std::uint32_t mainEntryCount = 0;        // the .bit record's bit count
  std::vector<std::uint32_t> mainEntries;  // members of the .bit record
};

struct BookmarkNote {
  std::string text;
  std::uint16_t position = 0;
};

struct BookmarkRecord {
  bool isUpdate = false;
  std::uint32_t mainEntry = 0;  // main-database articles
  std::string title;            // update articles, accent-folded
  std::vector<BookmarkNote> notes;
  std::vector<std::pair<std::uint16_t, std::uint16_t>> highlights;
};

struct BookmarkData {
  std::vector<BookmarkFolder> folders;
  std::vector<BookmarkRecord> bookmarks;
};

// Throws when a count or a length does not fit its field.
Bytes EncodeBookmarkFile(const BookmarkData& data);

}  // namespace builder
