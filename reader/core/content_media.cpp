// The media store of a content database: the media index and data files and
// the phrase decompression of packed data records.
#include <cstring>
#include <string>

#include "content_db.h"
#include "program_data.h"

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
  for (u32 code = 0; code < PhraseCodes; ++code) {
    const u16 offset = ContentU16(data + PhraseOffsetsAt + 2 * code);
    const u16 length = ContentU16(data + PhraseLengthsAt + 2 * code);
    if (static_cast<u32>(offset) + length > PhrasePoolSize) return false;  // every phrase lies in the pool
    g_phraseOffsets[code] = offset;
    g_phraseLengths[code] = length;
  }
  std::memcpy(g_phrasePool, data, PhrasePoolSize);
  return true;
}

}  // namespace

CContentDb::CContentDb() = default;

CContentDb::~CContentDb() { CloseMediaFiles(); }

bool CContentDb::OpenMediaIndex() {
  if (!m_mmxFile[0]) return true;
  if (m_mediaIndex != NoContentFile) return true;
  const std::string path = std::string(m_multimediaPath) + m_mmxFile;
  m_mediaIndex = ContentOpen(path.c_str());
  if (m_mediaIndex == NoContentFile) return false;
  if (!ContentReadExact(m_mediaIndex, m_mediaHeader, sizeof m_mediaHeader)) {
    ContentClose(m_mediaIndex);
    m_mediaIndex = NoContentFile;
    return false;
  }
  return true;
}

void CContentDb::CloseMediaFiles() {
  ContentClose(m_mediaIndex);
  ContentClose(m_mediaData);
  ContentClose(m_contextFile);
  m_mediaIndex = m_mediaData = m_contextFile = NoContentFile;
}

bool CContentDb::OpenMediaData() {
  if (m_mediaData != NoContentFile) return true;
  if (!m_mmdFile[0] || !m_multimediaPath[0]) return false;
  const std::string path = std::string(m_multimediaPath) + m_mmdFile;
  m_mediaData = ContentOpen(path.c_str());
  if (m_mediaData == NoContentFile) return false;
  if (!LoadPhraseTables()) {
    ContentClose(m_mediaData);
    m_mediaData = NoContentFile;
    return false;
  }
  return true;
}

int CContentDb::ReadPacked(int code, u8* out, int count) {
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
