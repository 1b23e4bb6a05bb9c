// Pictures of the media store. A picture record starts with the 17-byte
// header of every media data record:
//   0 type (1-4; 8 and 9 carry only a size), 1 u16 caption length T,
//   3 u16 width, 5 u16 height, 7 u16 row stride, 9 bits per pixel p (1, 4, 8),
//   10 u16 region kind (0 none, 1-4), 12 u32 size, 16 unused.
// A packed record (unpacked from the phrase code) goes on with the caption,
// 2^p colours of 4 bytes (blue, green, red, 0), the pixel block (height x
// stride bytes, bottom-up; delta-filtered for 256 colours), for region kind 4
// a mask of the same size, and for kinds 1-4 a u16 hot-spot count and the
// hot-spot records. A plain record has the caption, 1024 bytes of palette and
// a packed device-independent bitmap of `size` bytes.
#pragma once

#include <vector>

#include "afx_core.h"
#include "zorlre/re_types.h"

constexpr u32 PictureHeaderSize = 17;
// The largest unpacked record the reader takes (a 1024 x 768 picture with its
// mask is 1.6 MB); a header that asks for more is damaged.
constexpr u32 MaxPictureRecordSize = 32u << 20;

struct PictureHeader {
  u8 type = 0;
  u16 captionLength = 0;
  u16 width = 0;
  u16 height = 0;
  u16 stride = 0;
  u8 bitsPerPixel = 0;
  u16 regionKind = 0;
  u32 size = 0;

  u32 Colours() const { return 1u << bitsPerPixel; }
  u32 PixelBytes() const { return static_cast<u32>(height) * stride; }
  // Header, caption, colours and pixels: the record without its regions.
  u32 BaseSize() const { return PictureHeaderSize + captionLength + 4 * Colours() + PixelBytes(); }
};

void ParsePictureHeader(const u8* bytes, PictureHeader& header);
// A picture the reader can show: type 1-4, 1, 4 or 8 bits, a row stride that
// is the device-independent bitmap's own (the row's bytes rounded up to 4),
// a region kind 0-4 and a size within the limit.
bool IsDecodablePicture(const PictureHeader& header);
// The row stride of a device-independent bitmap.
u32 DibStride(u32 width, u32 bitsPerPixel);

// A packed picture record, decoded.
struct PictureRecord {
  PictureHeader header;
  CString caption;
  std::vector<u8> colours;  // 2^p entries of blue, green, red, 0, as stored
  std::vector<u8> pixels;   // height x stride, bottom-up, filter undone
  std::vector<u8> mask;     // kind 1: the pixels; kind 4: the stored mask; else empty
  std::vector<u8> regions;  // kinds 1-4, when asked for: the u16 count and the hot-spot records
};

// How many bytes of the packed record to unpack: the whole record (`size`)
// when the regions are wanted and the kind has them, else the record up to
// its pixel block. 0 when the header is not decodable or its size is short.
u32 PictureUnpackSize(const PictureHeader& header, bool withRegions);
// Decodes `size` unpacked bytes. False when they do not hold the parts the
// header names.
bool DecodePictureRecord(const u8* record, u32 size, bool withRegions, PictureRecord& picture);

// Restores delta-filtered bytes in place: each byte but the first and the
// last held its difference to the byte before. With `whole`, `record` is an
// unpacked record and the pixel block is restored (`count` is ignored);
// otherwise `count` bytes from `record`. Returns 1.
int UndoDeltaFilter(BYTE* record, BOOL whole, int count);

// The packed device-independent bitmap of a picture: BITMAPINFOHEADER (40
// bytes), its colour table (white, black for 1 bit; the stored colours
// otherwise) and the pixel block.
std::vector<u8> BuildPackedDib(const PictureRecord& picture);
// The picture's palette colours as red, green, blue triples: the stored
// colours, or two black entries for a 1-bit picture.
std::vector<u8> PaletteColours(const PictureRecord& picture);
