// The media store of a content database: the media index (MMX) and the media
// data file (MMD). All integers little-endian.
//   MMX: u16 A items, u16 C categories, u32 category block size; A u32 data
//        offsets (-d: plain at byte d of the MMD; c >= 0: packed from code c);
//        A u32 item-record offsets; the category block (C descriptors of 11
//        bytes, then C - 2 NUL-terminated titles); the item records; the
//        category data (runs of item records).
//   MMD: the packed code stream from byte 0, then the plain records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder {

// An item record: u32 entry, u8 type, u16 sound item, u8 k, u16 L, title,
// k u32 related entries.
struct MediaItemRecord {
  std::uint32_t entry = 0;
  std::uint8_t type = 0;
  std::uint16_t soundItem = 0xFFFF;  // none
  std::string title;
  std::vector<std::uint32_t> related;
};

struct MediaItem {
  MediaItemRecord item;
  Bytes data;           // the whole data record, 17-byte header first
  bool packed = false;  // pictures are packed; sound and media-file records plain
};

// A media category. The last two categories of a store are not listed and
// carry no title: the one before last is excluded from the article lists, the
// last is the pool of random pictures.
struct MediaCategory {
  std::uint8_t depth = 1;
  std::string title;
  std::vector<MediaItemRecord> records;
};

struct MediaStore {
  std::vector<MediaItem> items;
  std::vector<MediaCategory> categories;  // at least 2
};

struct MediaStoreFiles {
  Bytes mmx;
  Bytes mmd;
};

MediaStoreFiles BuildMediaStore(const MediaStore& store);

// Data record of a sound (type 5) or media file (types 6, 7, 10): header with
// a file name of at most 13 characters, then the text.
Bytes MediaFileRecord(std::uint8_t type, const std::string& fileName, const std::string& text);

// A picture as stored in a packed record.
struct Picture {
  std::uint8_t type = 1;  // 1-4
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t bitsPerPixel = 8;       // 1, 4 or 8
  std::vector<std::uint32_t> colours;  // 2^bits entries of 0x00RRGGBB
  std::vector<std::uint8_t> pixels;    // one colour index a pixel, top row first
  std::string caption;
};

// The unpacked picture record: header, caption, colour table (blue, green,
// red, 0), bottom-up rows padded to a 4-byte stride, delta-filtered for
// 256-colour pictures; no regions.
Bytes PictureRecord(const Picture& picture);

}  // namespace builder
