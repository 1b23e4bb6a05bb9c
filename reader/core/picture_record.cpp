#include "core/picture_record.h"

#include <cstring>

#include "core/content_file.h"

void ParsePictureHeader(const u8* bytes, PictureHeader& header) {
  header.type = bytes[0];
  header.captionLength = ContentU16(bytes + 1);
  header.width = ContentU16(bytes + 3);
  header.height = ContentU16(bytes + 5);
  header.stride = ContentU16(bytes + 7);
  header.bitsPerPixel = bytes[9];
  header.regionKind = ContentU16(bytes + 10);
  header.size = ContentU32(bytes + 12);
}

u32 DibStride(u32 width, u32 bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

bool IsDecodablePicture(const PictureHeader& header) {
  if (header.type < 1 || header.type > 4) return false;
  if (header.bitsPerPixel != 1 && header.bitsPerPixel != 4 && header.bitsPerPixel != 8) return false;
  if (header.width == 0 || header.height == 0 || header.regionKind > 4) return false;
  // The bitmap is handed to the system with this width and depth: any other
  // stride would make it read rows that are not there.
  if (header.stride != DibStride(header.width, header.bitsPerPixel)) return false;
  const u64 base = u64{PictureHeaderSize} + header.captionLength + 4ull * header.Colours() +
                   2ull * header.PixelBytes();  // room for a mask too
  return base <= MaxPictureRecordSize;
}

u32 PictureUnpackSize(const PictureHeader& header, bool withRegions) {
  if (!IsDecodablePicture(header)) return 0;
  if (!withRegions || header.regionKind == 0) return header.BaseSize();
  // The whole record: at least the base, the mask of kind 4 and a hot-spot count.
  const u32 least = header.BaseSize() + (header.regionKind == 4 ? header.PixelBytes() : 0) + 2;
  if (header.size < least || header.size > MaxPictureRecordSize) return 0;
  return header.size;
}

namespace {

void UndoFilter(u8* bytes, u32 count) {
  for (u32 i = 0; i + 2 < count; ++i) bytes[i + 1] = static_cast<u8>(bytes[i + 1] + bytes[i]);
}

}  // namespace

int UndoDeltaFilter(BYTE* record, BOOL whole, int count) {
  if (!record) return 1;
  if (whole) {
    PictureHeader header;
    ParsePictureHeader(record, header);
    UndoFilter(record + PictureHeaderSize + header.captionLength + 4 * header.Colours(), header.PixelBytes());
  } else if (count > 0) {
    UndoFilter(record, static_cast<u32>(count));
  }
  return 1;
}

bool DecodePictureRecord(const u8* record, u32 size, bool withRegions, PictureRecord& picture) {
  picture = PictureRecord();
  if (!record || size < PictureHeaderSize) return false;
  ParsePictureHeader(record, picture.header);
  const PictureHeader& h = picture.header;
  const u32 wanted = PictureUnpackSize(h, withRegions);
  if (wanted == 0 || size < wanted) return false;

  const u8* at = record + PictureHeaderSize;
  picture.caption = CString(reinterpret_cast<const char*>(at), h.captionLength);
  at += h.captionLength;
  picture.colours.assign(at, at + 4 * h.Colours());
  at += 4 * h.Colours();
  picture.pixels.assign(at, at + h.PixelBytes());
  at += h.PixelBytes();
  const bool filtered = h.Colours() > 16;
  if (filtered) UndoFilter(picture.pixels.data(), static_cast<u32>(picture.pixels.size()));

  if (h.regionKind == 1) picture.mask = picture.pixels;
  if (!withRegions || h.regionKind == 0) return true;
  if (h.regionKind == 4) {
    picture.mask.assign(at, at + h.PixelBytes());
    at += h.PixelBytes();
    if (filtered) UndoFilter(picture.mask.data(), static_cast<u32>(picture.mask.size()));
  }
  picture.regions.assign(at, record + wanted);
  return true;
}

namespace {

void PutU16(std::vector<u8>& out, u32 value) {
  out.push_back(static_cast<u8>(value));
  out.push_back(static_cast<u8>(value >> 8));
}

void PutU32(std::vector<u8>& out, u32 value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

}  // namespace

std::vector<u8> BuildPackedDib(const PictureRecord& picture) {
  const PictureHeader& h = picture.header;
  std::vector<u8> dib;
  dib.reserve(40 + 4 * h.Colours() + picture.pixels.size());
  PutU32(dib, 40);        // biSize
  PutU32(dib, h.width);   // biWidth
  PutU32(dib, h.height);  // biHeight: bottom-up
  PutU16(dib, 1);         // biPlanes
  PutU16(dib, h.bitsPerPixel);
  PutU32(dib, 0);  // BI_RGB
  PutU32(dib, h.PixelBytes());
  for (int i = 0; i < 4; ++i) PutU32(dib, 0);  // resolution, colours used and important
  if (h.bitsPerPixel == 1) {
    const u8 table[8] = {255, 255, 255, 0, 0, 0, 0, 0};  // white, black
    dib.insert(dib.end(), table, table + 8);
  } else {
    dib.insert(dib.end(), picture.colours.begin(), picture.colours.end());
  }
  dib.insert(dib.end(), picture.pixels.begin(), picture.pixels.end());
  return dib;
}

std::vector<u8> PaletteColours(const PictureRecord& picture) {
  if (picture.header.bitsPerPixel == 1) return std::vector<u8>(6, 0);
  std::vector<u8> rgb;
  rgb.reserve(3 * picture.header.Colours());
  for (size_t i = 0; i + 3 < picture.colours.size(); i += 4) {
    rgb.push_back(picture.colours[i + 2]);
    rgb.push_back(picture.colours[i + 1]);
    rgb.push_back(picture.colours[i]);
  }
  return rgb;
}
