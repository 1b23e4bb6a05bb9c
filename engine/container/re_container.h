// The database container: the 1024-byte header, the directory of typed
// components, and the tables of the text and index components, loaded by
// role into the database record. Every count, offset and length read from
// the file is checked against the buffer or the file it points into.
#pragma once

#include "re_records.h"
#include "re_status.h"
#include "re_types.h"

constexpr u32 ReHeaderSize = 1024;
constexpr u32 ReDirectoryEntrySize = 12;
constexpr u32 ReTableRecordSize = 16;
constexpr u32 ReComponentUnit = 512;

// Header offsets.
enum : u32 {
  ReHdrFormat = 384,      // must be 9
  ReHdrKind = 386,        // database kind
  ReHdrCheck5 = 388,      // must be 5
  ReHdrCheck2 = 390,      // must be 2
  ReHdrDatabaseId = 700,  // u32
  ReHdrVariant = 704,     // 2 text with a mode bit, 8 tagged dictionary text
  ReHdrTextFormat = 706,  // title rules: text format
  ReHdrTitleMode = 708,   // title rules: title mode
  ReHdrDotMode = 710,     // title rules: dot mode
  ReHdrWord738 = 738,     // passed through
  ReHdrLineRule = 788,    // 0, 3, 4 or other
  ReHdrDirCount = 790,    // directory entries
  ReHdrDirOffset = 792,   // u32, inside the header
  ReHdrComponentUnits = 796,
  ReHdrCapabilities = 798,
};

// Component header offsets.
enum : u32 {
  ReCompType = 0,
  ReCompSubtype = 2,
  ReCompTableCount = 80,
  ReCompTableOffset = 82,  // u32
  // Text component (type 1).
  ReTextFlags = 25,
  ReTextStart = 30,  // in 512-byte units from the component's start
  ReTextEntryCount = 104,
  ReTextWord108 = 108,
  ReTextGroupValue = 114,
  ReTextCodeWidth = 118,
  ReTextLongestEntry = 120,
  ReTextLongestLine = 122,
  ReTextRawArea = 124,  // u32
  ReTextCacheSize = 128,
  // Index component (type 2).
  ReIdxFlags = 25,
  ReIdxFormatLevel = 26,
  ReIdxRecordOptions = 93,
  ReIdxListCount = 116,
  ReIdxLongestLine = 118,
  ReIdxBlockSize = 140,
  ReIdxLongestWord = 146,
  ReIdxCodeWidth = 148,
  ReIdxStringTable = 160,
};

enum : u16 { ReComponentText = 1, ReComponentIndex = 2 };
enum : u16 { ReIndexMain1 = 1, ReIndexMain2 = 2, ReIndexSearch = 3 };

// Table ids by role.
enum : u16 {
  ReTabGroups = 10,
  ReTabCodeFirst = 20,
  ReTabCodeSecond = 30,
  ReTabSubsetDefs = 40,
  ReTabSubsetBits = 50,
  ReTabPhrases = 60,
  ReTabAutomaton = 80,
  ReTabMarkup = 90,
  ReTabIdxPool = 200,
  ReTabIdxOffsets = 210,
  ReTabIdxLengths = 220,
  ReTabIdxPrefixes = 230,
  ReTabIdxBlocks = 240,
  ReTabIdx250 = 250,
  ReTabIdx260 = 260,
  ReTabIdx270 = 270,
  ReTabIdxHash = 280,
  ReTabIdx290 = 290,
  ReTabIdx300 = 300,
  ReTabIdxBlockValues = 310,
  ReTabIdxStrings = 320,  // the string table (REstrtab)
};

// Load modes of ReLoadTable.
enum : u16 { ReLoadWhole = 1, ReLoadSmall = 3 };

// A component as the table loader sees it.
struct ReComponentView {
  u32 offset;         // file offset
  u32 length;         // bytes
  const u8* records;  // table records inside the component header
  u16 recordCount;
};

// Opens the file, reads and checks the header, loads the components into
// the record (which must be zero-filled), fills the index descriptor and
// closes the file. 0 or 8; on failure nothing stays loaded. Codes module 500
// (header) and 445 (components).
u32 ReReadDatabaseHeader(const char* directory, const char* fileName, ReDbRecord* record, ReStatusBlock* status);

// Checks the fixed header words: first byte 'C', then 384, 388, 390.
u32 ReCheckDataHeader(const u8* header, u16 format, u16 kind, u16 check5, u16 check2);

// Walks the directory and loads the components. 0 or 8 (module 445).
u32 ReReadComponents(const u8* header, ReFileHandle file, u16 kind, ReDbRecord* record, ReStatusBlock* status);

// Loads one table: 0 loaded, 4 absent or empty (destination cleared), 8
// failed (out of the component, too large for the heap, seek or read).
u32 ReLoadTable(ReFileHandle file, const ReComponentView& component, u16 id, ReTable* destination, u16 mode,
                u32* loadedBytes);

// Frees one table / everything the container and later layers hold in the
// record (tables, arrays, directory copy, subsets, the descriptor).
void ReFreeTable(ReTable* table);
void ReReleaseDatabaseContents(ReDbRecord* record);
