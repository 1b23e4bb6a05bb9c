// The media store of a content database: the media index and data files and
// the phrase decompression of packed data records.
#include <cstring>
#include <string>
#include <vector>

#include "core/content_db.h"
#include "core/program_data.h"

namespace {

// The phrase tables of data resource 6668, shared by all databases: a pool of
// 1311 bytes, then 512 u16 offsets into it and 512 u16 lengths.
constexpr u32 PhrasePoolSize = 1311;
constexpr u32 PhraseCodes = 512;
constexpr u32 PhraseOffsetsAt = PhrasePoolSize;
constexpr u32 PhraseLengthsAt = PhraseOffsetsAt + 2 * PhraseCodes;
constexpr u32 PhraseTablesSize = PhraseLengthsAt + 2 * PhraseCodes;  // 3359; the resource holds 3584
constexpr int CodeBits = 9;
constexpr u32 UnpackSliceSize = 4096;

u8 g_phrasePool[PhrasePoolSize];
u16 g_phraseOffsets[PhraseCodes];
u16 g_phraseLengths[PhraseCodes];
u8 g_slice[UnpackSliceSize];  // the data file, read in slices while unpacking

bool LoadPhraseTables() {
  const u8* data = nullptr;
  u32 size = 0;
  if (!FindProgramData(CContentDb::PhraseResourceId, &data, &size) || size < PhraseTablesSize) return false;
  // Every phrase must lie in the pool; the tables are shared, so a damaged
  // resource leaves them as they were.
  for (u32 code = 0; code < PhraseCodes; ++code)
    if (ContentU16(data + PhraseOffsetsAt + 2 * code) +
            static_cast<u32>(ContentU16(data + PhraseLengthsAt + 2 * code)) >
        PhrasePoolSize)
      return false;
  for (u32 code = 0; code < PhraseCodes; ++code) {
    g_phraseOffsets[code] = ContentU16(data + PhraseOffsetsAt + 2 * code);
    g_phraseLengths[code] = ContentU16(data + PhraseLengthsAt + 2 * code);
  }
  std::memcpy(g_phrasePool, data, PhrasePoolSize);
  return true;
}

}  // namespace

CContentDb::~CContentDb() { CloseMediaFiles(); }

BOOL CContentDb::OpenMediaIndex() {
  if (!m_mmxFile[0]) return TRUE;
  if (m_mediaIndex != NoContentFile) return TRUE;
  const std::string path = std::string(m_multimediaPath) + m_mmxFile;
  m_mediaIndex = ContentOpen(path.c_str());
  if (m_mediaIndex == NoContentFile) return FALSE;
  if (!ContentReadExact(m_mediaIndex, m_mediaHeader, sizeof m_mediaHeader)) {
    ContentClose(m_mediaIndex);
    m_mediaIndex = NoContentFile;
    return FALSE;
  }
  return TRUE;
}

void CContentDb::CloseMediaFiles() {
  ContentClose(m_mediaIndex);
  ContentClose(m_mediaData);
  ContentClose(m_contextFile);
  m_mediaIndex = m_mediaData = m_contextFile = NoContentFile;
}

BOOL CContentDb::OpenMediaData() {
  if (m_mediaData != NoContentFile) return TRUE;
  if (!m_mmdFile[0] || !m_multimediaPath[0]) return FALSE;
  const std::string path = std::string(m_multimediaPath) + m_mmdFile;
  m_mediaData = ContentOpen(path.c_str());
  if (m_mediaData == NoContentFile) return FALSE;
  if (!LoadPhraseTables()) {
    ContentClose(m_mediaData);
    m_mediaData = NoContentFile;
    return FALSE;
  }
  return TRUE;
}

int CContentDb::ReadPacked(int code, BYTE* out, int count) {
  if (m_mediaData == NoContentFile || code < 0 || count < 0 || (count > 0 && !out)) return 0;
  // Bit positions in 64 bits: 9 x code overflows 32 bits for large codes.
  const std::uint64_t firstBit = static_cast<std::uint64_t>(code) * CodeBits;
  if (!ContentSeek(m_mediaData, static_cast<std::int64_t>(firstBit >> 3))) return 0;
  std::int64_t filled = ContentRead(m_mediaData, g_slice, UnpackSliceSize);
  if (filled <= 0) return 0;
  std::uint64_t bit = firstBit & 7;  // within the slice
  int written = 0;
  while (written < count) {
    u32 phrase = 0;
    for (int i = 0; i < CodeBits; ++i, ++bit) {
      if (bit >= static_cast<std::uint64_t>(filled) * 8) {
        filled = ContentRead(m_mediaData, g_slice, UnpackSliceSize);
        if (filled <= 0) return 0;  // the stream ends before count bytes
        bit = 0;
      }
      phrase = phrase << 1 | ((g_slice[bit >> 3] >> (7 - (bit & 7))) & 1);
    }
    int length = g_phraseLengths[phrase];
    if (length > count - written) length = count - written;  // a phrase may be cut
    std::memcpy(out + written, g_phrasePool + g_phraseOffsets[phrase], length);
    written += length;
  }
  return 1;
}

BOOL CContentDb::ReadPlainHeader(UINT item, BYTE header[17]) {
  if (m_mediaIndex == NoContentFile || m_mediaData == NoContentFile) return FALSE;
  const u16 n = static_cast<u16>(item);
  if (n >= MediaItemCount()) return FALSE;
  u8 offset[4];
  if (!ContentSeek(m_mediaIndex, 8 + 4 * static_cast<std::int64_t>(n)) ||
      !ContentReadExact(m_mediaIndex, offset, sizeof offset))
    return FALSE;
  // These records are stored plain, at byte d of a data offset -d.
  const std::int64_t plainAt = -static_cast<std::int64_t>(static_cast<i32>(ContentU32(offset)));
  if (plainAt <= 0) return FALSE;
  return ContentSeek(m_mediaData, plainAt) && ContentReadExact(m_mediaData, header, 17) ? TRUE : FALSE;
}

namespace {

// The file name field of a plain record: at most 13 characters, NUL-terminated
// here whatever the file holds.
CString RecordFileName(const BYTE header[17]) {
  char name[14];
  std::memcpy(name, header + 3, 13);
  name[13] = '\0';
  return CString(name);
}

}  // namespace

int CContentDb::ReadMediaFileRecord(UINT item, CString& path, CString& text) {
  BYTE header[17];
  if (!ReadPlainHeader(item, header)) return 0;
  const BYTE type = header[0];
  if (type != 6 && type != 7 && type != 10) return 0;
  const u16 length = ContentU16(header + 1);
  std::vector<char> bytes(length);
  if (length && !ContentReadExact(m_mediaData, bytes.data(), length)) return 0;
  path = CString(m_multimediaPath) + RecordFileName(header);
  text = length ? CString(bytes.data(), length) : CString();
  return 1;
}

int CContentDb::ReadSoundRecord(UINT item, CString& path) {
  BYTE header[17];
  if (!ReadPlainHeader(item, header) || header[0] != 5) return 0;
  path = CString(m_multimediaPath) + RecordFileName(header);
  return 1;
}

int CContentDb::ReadMediaList(UINT item, BYTE& type, WORD& sound, CString& title, CDWordArray& related) {
  if (m_mediaIndex == NoContentFile) return -1;
  const u16 n = static_cast<u16>(item);
  const std::int64_t items = MediaItemCount();
  if (n >= items) return -1;
  u8 offset[4];
  u8 head[10];
  if (!ContentSeek(m_mediaIndex, 8 + 4 * (items + n)) || !ContentReadExact(m_mediaIndex, offset, sizeof offset) ||
      !ContentSeek(m_mediaIndex, ContentU32(offset)) || !ContentReadExact(m_mediaIndex, head, sizeof head))
    return -1;
  const u16 titleLength = ContentU16(head + 8);
  const int count = head[7];
  std::vector<char> titleBytes(titleLength);
  std::vector<u8> entries(4 * static_cast<std::size_t>(count));
  if ((titleLength && !ContentReadExact(m_mediaIndex, titleBytes.data(), titleLength)) ||
      (count && !ContentReadExact(m_mediaIndex, entries.data(), static_cast<u32>(entries.size()))))
    return -1;
  type = head[4];
  sound = ContentU16(head + 5);
  title = titleLength ? CString(titleBytes.data(), titleLength) : CString();
  related.RemoveAll();
  for (int i = 0; i < count; ++i) related.Add(ContentU32(entries.data() + 4 * i));
  return count;
}
