// The typematic title index: the sorted article titles behind type-ahead title
// search and the title of an entry number. The RAM file (phrase tables, block
// keys, block entry numbers, patch rows) is read whole at Open; the DSK file
// stays open and is read one 512-byte block at a time. Titles are front-coded
// and packed with the RAM file's phrase code.
#pragma once

#include "afx_core.h"
#include "core/content_file.h"
#include "core/title_key.h"

class CTypematic : public CObject {
 public:
  enum { ByText = 1, ByEntry = 2 };
  static constexpr int BlockSize = 512;

  // File names within the working directory.
  CTypematic(CString ramName, CString dskName);
  ~CTypematic() override;
  CTypematic(const CTypematic&) = delete;
  CTypematic& operator=(const CTypematic&) = delete;

  // Loads the RAM tables and opens the DSK file. False only when the RAM file
  // does not open; when its tables are short or inconsistent, memory runs out
  // or the DSK file does not open, the index is open but finds nothing.
  BOOL Open();
  void Close();

  // Mode ByText: the first title at or after `text` (in lower case) and its
  // entry number. Other modes: the title of entry *entry as stored, with its
  // capital and patch. `title` holds TitleBufferSize bytes. 1 found, 0 not.
  int Lookup(const char* text, char* title, int* entry, int mode);

 private:
  struct Record;
  class BlockDecoder;

  bool LoadTables(ContentFile ram);
  bool ReadBlock(int block);
  int FindByText(const char* text, char* title, int* entry);
  int FindByEntry(char* title, int* entry);
  void ApplyPatch(u32 entry, char* title) const;

  CString ramName_;
  CString dskName_;
  ContentFile dsk_ = NoContentFile;
  u8 codeWidth_ = 0;
  u8 block_[BlockSize];
  u16 blockCount_ = 0;
  const u8* blockKeys_ = nullptr;     // 4 bytes a block
  const u8* blockEntries_ = nullptr;  // 3 bytes a block, big-endian
  const u8* pool_ = nullptr;
  const u8* offsets_ = nullptr;  // 2^b little-endian u16
  const u8* lengths_ = nullptr;  // 2^b bytes
  const u8* patches_ = nullptr;  // 14 bytes a row
  u16 patchCount_ = 0;
  u8* tables_ = nullptr;  // the one allocation that holds the parts above
};
