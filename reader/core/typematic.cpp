#include "core/typematic.h"

#include <algorithm>
#include <cstring>

#include "core/working_directory.h"
#include "zorlre/re_platform.h"

namespace {

constexpr int RamHeaderSize = 8;
constexpr int MaxCodeWidth = 16;
constexpr int MaxSharedLength = 63;  // front coding shares at most 63 characters
constexpr int PatchRowSize = 14;
constexpr int PatchPairs = 5;
constexpr int KeyBufferSize = 256;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Block key against the first 4 bytes of a key, as unsigned differences (block
// minus key); a space in the block against the key's end counts as equal.
int CompareBlockKey(const u8* blockKey, const char* key, int keyLength) {
  for (int i = 0; i < 4; ++i) {
    const int blockByte = blockKey[i];
    if (i >= keyLength) {
      if (blockByte == ' ') continue;
      return blockByte;
    }
    const int difference = blockByte - static_cast<u8>(key[i]);
    if (difference) return difference;
  }
  return 0;
}

int CompareKeys(const char* a, const char* b) {
  return std::strcmp(a, b);  // strcmp compares as unsigned char
}

}  // namespace

struct CTypematic::Record {
  char title[TitleBufferSize];
  int length;
  bool capital;
  u32 entry;
};

// Unpacks one block's codes into title records. The previous title starts
// empty and the running entry number at 0 in every block.
class CTypematic::BlockDecoder {
 public:
  explicit BlockDecoder(const CTypematic& index) : index_(index) {}

  // The next record; false at the end of the block or at a damaged record
  // (which ends the block: what follows cannot be decoded reliably).
  bool Next(Record& record) {
    const int head = NextByte();
    if (head < 0) return false;
    const int shared = std::min(previousLength_, MaxSharedLength);
    const int dropped = head & 0x3F;
    if (dropped > shared) return Damaged();
    int length = shared - dropped;
    std::memcpy(record.title, previous_, length);
    for (;;) {
      const int c = NextByte();
      if (c < 0) return Damaged();
      if (c < 8) break;
      if (length >= MaxTitleLength) return Damaged();
      record.title[length++] = static_cast<char>(c);
    }
    u8 tail[5];  // 2 unused bytes, then the 24-bit big-endian entry delta
    for (u8& byte : tail) {
      const int c = NextByte();
      if (c < 0) return Damaged();
      byte = static_cast<u8>(c);
    }
    running_ = (running_ + ContentU24be(tail + 2)) & 0xFFFFFF;
    record.title[length] = '\0';
    record.length = length;
    record.capital = (head & 0x80) != 0;
    record.entry = running_;
    std::memcpy(previous_, record.title, length + 1);
    previousLength_ = length;
    return true;
  }

 private:
  bool Damaged() {
    ended_ = true;
    phraseLeft_ = 0;
    return false;
  }

  // The next unpacked byte, or -1 at the end of the block (code 0 or no room
  // for another code).
  int NextByte() {
    const int width = index_.codeWidth_;
    while (phraseLeft_ == 0) {
      if (ended_) return -1;
      if (bit_ + width > BlockSize * 8) {
        ended_ = true;
        return -1;
      }
      u32 code = 0;
      for (int i = 0; i < width; ++i, ++bit_) code = code << 1 | ((index_.block_[bit_ >> 3] >> (7 - (bit_ & 7))) & 1);
      if (code == 0) {
        ended_ = true;
        return -1;
      }
      phrase_ = index_.pool_ + ContentU16(index_.offsets_ + 2 * code);
      phraseLeft_ = index_.lengths_[code];
    }
    --phraseLeft_;
    return *phrase_++;
  }

  const CTypematic& index_;
  int bit_ = 0;
  const u8* phrase_ = nullptr;
  int phraseLeft_ = 0;
  bool ended_ = false;
  char previous_[TitleBufferSize] = "";
  int previousLength_ = 0;
  u32 running_ = 0;
};

CTypematic::CTypematic(CString ramName, CString dskName) : ramName_(ramName), dskName_(dskName) {}

CTypematic::~CTypematic() { Close(); }

BOOL CTypematic::Open() {
  Close();
  const ContentFile ram = ContentOpen(WorkingPath(ramName_).c_str());
  if (ram == NoContentFile) return FALSE;
  const bool loaded = LoadTables(ram);
  ContentClose(ram);
  if (loaded) dsk_ = ContentOpen(WorkingPath(dskName_).c_str());
  // Start-up goes on with an index that finds no title rather than stop.
  if (!loaded || dsk_ == NoContentFile) Close();
  return TRUE;
}

bool CTypematic::LoadTables(ContentFile ram) {
  u8 header[RamHeaderSize];
  if (!ContentReadExact(ram, header, sizeof header)) return false;
  const u32 blocks = ContentU16(header);
  const u32 patches = ContentU16(header + 2);
  const u32 poolSize = ContentU16(header + 4);
  const u32 width = ContentU16(header + 6);
  if (width < 1 || width > MaxCodeWidth) return false;
  const u32 codes = 1u << width;
  const u32 total = poolSize + 3 * codes + 7 * blocks + PatchRowSize * patches;
  tables_ = static_cast<u8*>(ReHeapAlloc(total));
  if (!tables_ || !ContentReadExact(ram, tables_, total)) return false;

  pool_ = tables_;
  offsets_ = pool_ + poolSize;
  lengths_ = offsets_ + 2 * codes;
  blockKeys_ = lengths_ + codes;
  blockEntries_ = blockKeys_ + 4 * blocks;
  patches_ = blockEntries_ + 3 * blocks;
  // Every phrase must lie inside the pool (code 0 only ends a block).
  for (u32 code = 1; code < codes; ++code)
    if (ContentU16(offsets_ + 2 * code) + static_cast<u32>(lengths_[code]) > poolSize) return false;
  codeWidth_ = static_cast<u8>(width);
  blockCount_ = static_cast<u16>(blocks);
  patchCount_ = static_cast<u16>(patches);
  return true;
}

void CTypematic::Close() {
  ContentClose(dsk_);
  dsk_ = NoContentFile;
  ReHeapFree(tables_);
  tables_ = nullptr;
  pool_ = offsets_ = lengths_ = blockKeys_ = blockEntries_ = patches_ = nullptr;
  codeWidth_ = 0;
  blockCount_ = 0;
  patchCount_ = 0;
}

bool CTypematic::ReadBlock(int block) {
  return ContentSeek(dsk_, static_cast<std::int64_t>(block) * BlockSize) && ContentReadExact(dsk_, block_, BlockSize);
}

int CTypematic::Lookup(const char* text, char* title, int* entry, int mode) {
  if (!title || !entry || dsk_ == NoContentFile || blockCount_ == 0) return 0;
  if (mode == ByText) return text ? FindByText(text, title, entry) : 0;
  return FindByEntry(title, entry);
}

int CTypematic::FindByText(const char* text, char* title, int* entry) {
  char key[KeyBufferSize];
  const int keyLength = MakeTitleKey(text, key, sizeof key);
  const int blocks = blockCount_;
  int lo = 0;
  int hi = blocks;
  while (hi - lo > 1) {
    const int mid = (lo + hi) / 2;
    if (CompareBlockKey(blockKeys_ + 4 * mid, key, keyLength) >= 0)
      hi = mid;
    else
      lo = mid;
  }
  // Titles that share the key's first 4 bytes may run on over several blocks.
  int last = std::min(lo + 1, blocks - 1);
  while (last != blocks - 1 && CompareBlockKey(blockKeys_ + 4 * last, key, keyLength) == 0) ++last;

  Record record;
  char recordKey[KeyBufferSize];
  for (int block = lo; block <= last; ++block) {
    if (!ReadBlock(block)) return 0;
    BlockDecoder decoder(*this);
    while (decoder.Next(record)) {
      MakeTitleKey(record.title, recordKey, sizeof recordKey);
      if (CompareKeys(recordKey, key) >= 0) {
        for (int i = 0; i <= record.length; ++i) title[i] = LowerAscii(record.title[i]);
        *entry = static_cast<int>(record.entry);
        return 1;
      }
    }
  }
  return 0;
}

int CTypematic::FindByEntry(char* title, int* entry) {
  if (*entry < 0) return 0;
  const u32 sought = static_cast<u32>(*entry);
  const int blocks = blockCount_;
  int lo = 0;
  int hi = blocks;
  while (hi - lo > 1) {
    const int mid = (lo + hi) / 2;
    if (ContentU24be(blockEntries_ + 3 * mid) >= sought)
      hi = mid;
    else
      lo = mid;
  }
  const int last = std::min(lo + 1, blocks - 1);
  Record record;
  for (int block = lo; block <= last; ++block) {
    if (!ReadBlock(block)) return 0;
    BlockDecoder decoder(*this);
    while (decoder.Next(record)) {
      if (record.entry != sought) continue;
      std::memcpy(title, record.title, record.length + 1);
      if (record.capital) title[0] = UpperAscii(title[0]);
      ApplyPatch(sought, title);
      return 1;
    }
  }
  return 0;
}

void CTypematic::ApplyPatch(u32 entry, char* title) const {
  const int length = static_cast<int>(std::strlen(title));
  for (int row = 0; row < patchCount_; ++row) {
    const u8* patch = patches_ + PatchRowSize * row;
    if (ContentU24be(patch) != entry) continue;
    const int used = std::min<int>(patch[13], PatchPairs);
    for (int pair = 0; pair < used; ++pair) {
      const int position = patch[3 + 2 * pair];  // 1-based
      const char character = static_cast<char>(patch[4 + 2 * pair]);
      // A patch only replaces characters of the title: it neither runs past
      // it nor ends it.
      if (position >= 1 && position <= length && character != '\0') title[position - 1] = character;
    }
    return;
  }
}
