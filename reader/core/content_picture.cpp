// Pictures of a content database's media store: the header of an item's
// picture, a packed record unpacked and decoded, a plain record read as it is.
#include <vector>

#include "core/content_db.h"

BOOL CContentDb::ReadDataOffset(UINT item, i32& offset) {
  if (m_mediaIndex == NoContentFile || m_mediaData == NoContentFile) return FALSE;
  const u16 n = static_cast<u16>(item);
  if (n >= MediaItemCount()) return FALSE;
  u8 bytes[4];
  if (!ContentSeek(m_mediaIndex, 8 + 4 * static_cast<std::int64_t>(n)) || !ContentReadExact(m_mediaIndex, bytes, 4))
    return FALSE;
  offset = static_cast<i32>(ContentU32(bytes));
  return TRUE;
}

BOOL CContentDb::PeekPicture(UINT item, short& width, WORD& height) {
  i32 offset;
  u8 header[PictureHeaderSize];
  if (!ReadDataOffset(item, offset)) return FALSE;
  if (offset < 0) {
    if (!ContentSeek(m_mediaData, -static_cast<std::int64_t>(offset)) ||
        !ContentReadExact(m_mediaData, header, sizeof header))
      return FALSE;
  } else if (!ReadPacked(offset, header, sizeof header)) {
    return FALSE;
  }
  const u8 type = header[0];
  if (!((type >= 1 && type <= 4) || type == 8 || type == 9)) return FALSE;
  width = static_cast<short>(ContentU16(header + 3));
  height = ContentU16(header + 5);
  return TRUE;
}

BOOL CContentDb::ReadPictureRecord(UINT item, PictureRecord& picture, BOOL withRegions) {
  picture = PictureRecord();
  i32 offset;
  u8 head[PictureHeaderSize];
  if (!ReadDataOffset(item, offset) || offset < 0 || !ReadPacked(offset, head, sizeof head)) return FALSE;
  PictureHeader header;
  ParsePictureHeader(head, header);
  const u32 size = PictureUnpackSize(header, withRegions != FALSE);
  if (size == 0) return FALSE;
  std::vector<u8> record(size);
  if (!ReadPacked(offset, record.data(), static_cast<int>(size))) return FALSE;
  return DecodePictureRecord(record.data(), size, withRegions != FALSE, picture) ? TRUE : FALSE;
}

BOOL CContentDb::ReadPlainPicture(UINT item, PictureHeader& header, CString& caption, std::vector<u8>& palette,
                                  std::vector<u8>& bitmap) {
  i32 offset;
  u8 head[PictureHeaderSize];
  if (!ReadDataOffset(item, offset) || offset >= 0 || !ContentSeek(m_mediaData, -static_cast<std::int64_t>(offset)) ||
      !ContentReadExact(m_mediaData, head, sizeof head))
    return FALSE;
  ParsePictureHeader(head, header);
  if (header.type < 1 || header.type > 4 || header.size < 40 || header.size > MaxPictureRecordSize) return FALSE;
  // The caption, the 256 palette entries and the bitmap must all be there
  // before anything is allocated for them.
  if (ContentRemaining(m_mediaData) < std::int64_t{header.captionLength} + 1024 + header.size) return FALSE;
  std::vector<char> text(header.captionLength);
  palette.resize(1024);
  bitmap.resize(header.size);
  if ((header.captionLength && !ContentReadExact(m_mediaData, text.data(), header.captionLength)) ||
      !ContentReadExact(m_mediaData, palette.data(), 1024) ||
      !ContentReadExact(m_mediaData, bitmap.data(), header.size))
    return FALSE;
  caption = header.captionLength ? CString(text.data(), header.captionLength) : CString();
  return TRUE;
}
