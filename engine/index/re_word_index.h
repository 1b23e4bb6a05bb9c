// The word index: a sorted list of the words of a database, cut into
// fixed-size blocks of compressed, front-coded word records. This header holds
// what needs no walk state: the decoded word record, the block decoder, the
// key search over the prefix table, and the case helpers.
//
// How other engine code reads the index:
//   u16 further;
//   u16 first = ReFindWordBlock(key, 0, keyLength - 1, &further, index);
//   // blocks first .. first + further may hold words equal to or starting with key
//   ReIndexBlockDecoder decoder;
//   decoder.Begin(*index, blockBytes, blockNumber, reading);
//   while (const ReIndexWord* word = decoder.Next()) { ... }
//   if (decoder.failed()) { ... the block is not decodable ... }
// or, with a walk state, ReDecodeIndex (re_index_walk.h), which reads the
// blocks, reports progress and hands every word to the walk's mode.
#pragma once

#include "re_records.h"
#include "re_types.h"

// Longest decoded word, extension text and counted list the engine handles.
constexpr u16 ReWordCapacity = 255;
// A code of a block never expands to more bytes than this, and pairs nest at
// most this deep; anything beyond makes the block undecodable.
constexpr u16 ReCodeExpansionLimit = 4096;
constexpr u16 RePairDepthLimit = 32;
// The number of a block that is not there (no block in the buffer).
constexpr u16 ReNoBlock = 0xFFFF;

// Record tail layouts ("readings").
enum : u16 {
  ReReadingWordOnly = 0,   // tail skipped
  ReReadingHits = 1,       // entries and word positions (the search index)
  ReReadingListNumber = 2  // a signed list-number delta (the main word index)
};

// Index flags and record options.
enum : u8 {
  ReIndexLongLists = 2,      // index flags: delta 0xFFFFF resets the list number (level >= 7)
  ReRecordFeatureByte = 4,   // record options: the extension carries a feature bit number
  ReRecordCountedBytes = 8,  // record options: the extension ends with a counted byte list
};
constexpr i16 ReLongListLevel = 7;
constexpr u32 ReListReset = 0xFFFFF;
// Position field bits of the hit reading as decoded.
constexpr u16 RePositionField = 0x2000;
constexpr u16 RePositionOffset = 0x1FFF;

// Case classes of a decoded word.
enum : u8 {
  ReCaseLower = 0,    // no capitals
  ReCaseInitial = 1,  // first letter capital
  ReCaseAll = 2,      // all capitals
  ReCaseMixed = 3,    // capitals at the positions of the mask
};

// One decoded word record. The word is in lower case; its capitals are kept
// as a case class and a mask of positions (position 0 = bit 31 of
// capitals[0], position 32 = bit 31 of capitals[1]).
struct ReIndexWord {
  char text[ReWordCapacity + 1];  // NUL-terminated, lower case
  u16 length;
  u8 caseClass;
  u32 capitals[2];
  u16 block;          // block it was decoded from
  u16 ordinal;        // record number within the block, from 0
  bool continuation;  // the record added no characters to the previous word
  u8 terminator;      // the record's terminator byte (0-6)

  // Reading 2: the word's list number. Reading 1: the running list number
  // after this record.
  i32 listNumber;
  // Reading 1: the entries the record names: firstEntry + k x entryStep for
  // k < entryCount, each with `position` when hasPosition.
  u32 firstEntry;
  u32 entryStep;
  u32 entryCount;
  bool hasPosition;
  u16 position;  // word offset (low 13 bits) and RePositionField

  // Extension (only when hasExtension).
  bool hasExtension;
  u8 classByte;    // low 6 bits: the word-class code
  u8 featureByte;  // a feature bit number (record option 4)
  u8 extTerminator;
  u16 extLength;
  char extText[ReWordCapacity + 1];  // NUL-terminated
  u8 countedLength;
  u8 counted[ReWordCapacity];
};

// The byte strings of an index's codes, expanded once so that decoding a
// block copies them instead of walking the phrase tables code by code. A
// code whose expansion breaks a rule keeps the bytes it gives before the
// fault and is marked; a code past the cache's room is expanded as it comes.
struct ReIndexCodeCache {
  static constexpr u32 kCodes = 8192;
  static constexpr u32 kBytes = 1u << 16;
  enum : u8 { kEmpty, kBuilt, kUnusable };
  const ReIndexDescriptor* index;  // the index it was built for
  u8 status;
  u32 codeCount;  // codes it holds (from 0)
  // Per code: bits 0-15 the length, bit 16 "fails after these bytes", bit
  // 17 "not held", bits 18-31 unused; the offset in offsets[].
  u32 entries[kCodes];
  u16 offsets[kCodes];
  u8 bytes[kBytes + 16];  // 16 to spare: short strings are copied 16 bytes at a time
};
constexpr u32 ReCachedCodeFails = 1u << 16;
constexpr u32 ReCachedCodeNotHeld = 1u << 17;

// Fills the cache for index (status kBuilt, or kUnusable when the index has
// more codes than it holds).
void ReBuildIndexCodeCache(const ReIndexDescriptor& index, ReIndexCodeCache* cache);

// Decodes one block into its word records, in order. Needs no allocation:
// the pair stack and the pending phrase live in the object. Every code,
// offset and length is checked against its table; a block that breaks a
// rule (code outside the tables, pair nesting too deep or endless, a record
// cut off by the block's end, a word longer than the index's longest word)
// ends with failed() set.
class ReIndexBlockDecoder {
 public:
  // cache: the index's built code cache, or null.
  void Begin(const ReIndexDescriptor& index, const u8* block, u16 blockNumber, u16 reading,
             const ReIndexCodeCache* cache = nullptr);
  // The next record, or null at the end of the block (or on failure).
  const ReIndexWord* Next();
  bool failed() const { return failed_; }
  // The word last returned (also the previous word of the next record).
  const ReIndexWord& word() const { return word_; }

 private:
  int NextByte();  // 0-255, or -1 at the end of the stream (failed_ tells why)
  int Byte() {     // NextByte, with the bytes of a code at hand taken inline
    if (literalLeft_) {
      --literalLeft_;
      return *literal_++;
    }
    return NextByte();
  }
  bool ReadCode(u32* code);
  bool Expand(u32 code);
  bool ReadTail(bool addedCharacters);
  bool ReadExtension();
  bool Fail();

  const ReIndexDescriptor* index_ = nullptr;
  const ReIndexCodeCache* cache_ = nullptr;
  bool failAfterLiteral_ = false;  // the cached bytes end where the code's expansion fails
  // With a code cache the whole block's bytes are expanded here at once.
  static constexpr u32 kBlockBytes = 16384;
  bool Preexpand();
  u8 bytes_[kBlockBytes + 16];
  const u8* block_ = nullptr;
  u32 bitPosition_ = 0;
  u32 bitCount_ = 0;
  u32 codeCount_ = 0;  // codes both phrase tables describe
  u16 reading_ = 0;
  u16 wordLimit_ = 0;
  bool streamEnded_ = false;
  bool failed_ = false;
  const u8* literal_ = nullptr;
  u32 literalLeft_ = 0;
  u32 budget_ = 0;  // bytes and steps left for the current top-level code
  u16 stack_[RePairDepthLimit];
  u16 depth_ = 0;
  i32 running_ = 0;  // the block's running list number
  u16 previousLength_ = 0;
  bool previousCapitals_ = false;
  u16 ordinal_ = 0;
  ReIndexWord word_;
};

// The block where a word equal to or starting with key[first..last] can first
// occur; *further gets the number of following blocks whose prefix equals the
// key (read first .. first + *further). The key is cut or space-padded to the
// prefix length and compared byte by byte (unsigned) with the prefix table.
u16 ReFindWordBlock(const char* key, i16 first, i16 last, u16* further, const ReIndexDescriptor* index);
// The block run from the first block of key `low` to the last block of key
// `high` (each of the prefix length): *first gets the first, the result is
// the last (never below the first).
u32 ReBlockRange(const char* low, const char* high, const ReIndexDescriptor* index, u16* first);
// The block run of the words that start with key[0..length): the key padded
// with byte 0 gives the first block, padded with 0xFF the last.
u32 ReKeyBlockRange(const char* key, u32 length, const ReIndexDescriptor* index, u16* first);

// Character helpers over the database's class table (null: no letters).
u32 ReCharClass(const ReIndexDescriptor& index, u8 c);
bool ReIsUpper(const ReIndexDescriptor& index, u8 c);
bool ReIsLower(const ReIndexDescriptor& index, u8 c);
bool ReIsVowel(const ReIndexDescriptor& index, u8 c);
bool ReIsLetter(const ReIndexDescriptor& index, u8 c);
// Upper-case letters get 32 added, in place.
void ReLowerWord(const ReIndexDescriptor& index, char* word);

// Writes the word with its capitals restored into `out` (same length + NUL).
// The higher of the word's class and callerClass is used; callerClass 3 does
// not count.
void ReRestoreCase(const ReIndexDescriptor& index, const ReIndexWord& word, u8 callerClass, char* out);
