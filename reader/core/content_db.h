// CContentDb: the reader's handle on one content database: the engine
// database named in the settings section "Database %d" with the control
// blocks every request needs, its media store (the media index MMX and media
// data MMD files, with the phrase decompression of packed records) and its
// category index (CTX).
#pragma once

#include <string>
#include <vector>

#include "afx_core.h"
#include "core/bit_string.h"
#include "core/category_list.h"
#include "core/content_db_host.h"
#include "core/content_file.h"
#include "core/picture_record.h"
#include "zorlre/zorlre32.h"

class ConceptQuery;
class CBitmap;
class CPalette;
class CWnd;

class CContentDb : public CObject {
 public:
  static constexpr int NameSize = 120;
  static constexpr int PhraseResourceId = 6668;

  CContentDb() = default;
  // Closes nothing: Close does (the application closes its databases in order).
  ~CContentDb() override;
  CContentDb(const CContentDb&) = delete;
  CContentDb& operator=(const CContentDb&) = delete;

  // --- engine database ---

  // Opens database n (1-6) under the engine session: its settings, its media
  // index, the database block and the work blocks. Leaves nothing open on
  // failure.
  BOOL Open(int n, void* session);
  // Frees the work blocks, closes the database and its media files.
  BOOL Close();
  BOOL IsOpen() const { return m_bOpen; }
  int GetNumber() const { return m_number; }
  // Entries of the open database; 0 when it is not open.
  u32 GetEntryCount() const;
  ReDbBlock* GetDatabaseBlock() const { return m_database; }

  // The next token chunk of the entry's text: the first call opens the walk,
  // the chunk with the end warning is still returned, the call after it ends
  // the walk and gives null. Hit marking is off.
  ReTokenBlock* NextToken(int entry);
  // The headword of entry `entry` (dictionary markup removed). 1, or 0 (out
  // empty) when the database is not open, the entry is outside it or its
  // text cannot be read.
  int GetHeadword(int entry, CString& out);

  // A Boolean search into `hits` (entries of this database). The set count,
  // or -1 after a parse error (its message shown), an engine failure or a
  // stop by the reader (hits then empty).
  int BooleanSearch(const CString& expr, CBitString& hits, const CString& caption);
  // The words of `text` looked up as headwords and their entry sets ANDed.
  // The set count, 0 when the first word has no entry, -1 when text has no word.
  int LookupTerm(const char* text, CBitString& hits);
  // Entries whose headword is `word`, with their titles. Returns the count.
  int FindEntries(const char* word, CDWordArray& entries, CStringArray& titles);
  // Spelling help (kinds: 12 Boolean panel, 13 Smart Search, 14 translation
  // databases, 15 encyclopedia keeping dictionary entries only): 0 known, -1
  // unknown without alternatives, -2 the alternatives differ only in accents,
  // else the number of alternatives (at most 8).
  int LookupWord(const CString& word, CStringArray& alternatives, int kind);
  // Words matching a pattern with '?' and '*', at most 100. Shows "There are
  // no words matching your wildcard pattern." when there is none.
  int ListWildcard(const CString& pattern, CStringArray& words);
  // Anagrams of `letters` of at least minLength letters (0: no minimum), at
  // most 100. Shows "There are no anagrams matching your search criteria."
  int ListAnagrams(const CString& letters, int minLength, CStringArray& words);
  // A Boolean search of a dictionary: titles and entries of at most 1000 hits.
  int DictionarySearch(const CString& expr, CStringArray& titles, CDWordArray& entries);
  // The entries of `word` parsed into senses (thesaurus and dictionaries):
  // TRUE when the word has entries. Each parsed entry has a label ("class
  // headline", or "- headline" without a class) and its sub-items.
  BOOL ParseEntries(const CString& word);
  int GetParsedCount() const { return m_parsedCount; }
  BOOL GetParsedLabel(int n, CString& label) const;
  int GetParsedItemCount(int n) const;
  // Sub-item k of parsed entry n in the form the entry's class and features
  // ask for (the word index's derived form), else as it stands.
  BOOL GetParsedItem(int n, int k, CString& out);
  // For each term with an entry, appends the further lines of its first
  // entry as terms with the term's value. Returns the new count.
  int FetchEntries(CStringArray& terms, CUIntArray& values);

  // The ranked query over this database: collects the terms' occurrences
  // (action 470 on database 6, which starts the collection, 440 on the
  // others). 1 when something was collected, 0 when nothing, -1 on failure.
  int AddConceptTerms(const CStringArray& terms, ConceptQuery& query, const float* weights);
  // Ranks what was collected and releases it: the ranked articles go into
  // `hits` in rank order with scores (per mille of the best) and positions.
  // Returns the set count.
  int RunConceptQuery(ConceptQuery& query, CBitString& hits, const CString& caption);

  // --- pictures ---

  // The picture record of media item n, decoded (packed records only: the
  // caller's media library converts plain ones). FALSE on any failure.
  BOOL ReadPictureRecord(UINT item, PictureRecord& picture, BOOL withRegions);
  // The header of item n's picture (plain or packed): TRUE for types 1-4, 8, 9.
  BOOL PeekPicture(UINT item, short& width, WORD& height);
  // The plain picture block of item n: caption and the packed bitmap that
  // follows the 1024 palette bytes. FALSE when the record is not plain.
  BOOL ReadPlainPicture(UINT item, PictureHeader& header, CString& caption, std::vector<u8>& palette,
                        std::vector<u8>& bitmap);
#if defined(_WIN32)
  // Item n's picture as a device bitmap with its own palette, its caption,
  // and, when asked, its region kind, region mask (one byte a pixel, the
  // caller frees it with free()) and hot spots (the caller owns them). With
  // `owner` inside the media screen the screen takes the palette. `select`
  // is realised for the conversion instead of the picture's own palette.
  BOOL LoadPicture(UINT item, CString& caption, CBitmap& bitmap, CPalette& palette, CPalette* select,
                   CObArray* hotSpots, WORD* regionKind, BYTE** mask, CWnd* owner);
  // Item n's picture as a packed device-independent bitmap in a movable
  // global block that the caller frees; *second is always null.
  BOOL LoadPictureDib(UINT item, HGLOBAL* dib, HGLOBAL* second);
#endif
  // The number of media categories of the media index (0 without one).
  int GetMediaCategoryCount() const { return m_mediaIndex == NoContentFile ? 0 : CategoryCount(); }

  // --- media store ---

  // Opens MultimediaPath + MMXFile and reads its 8-byte header. TRUE without a
  // media store (MMXFile empty); FALSE when the file does not open or its
  // header is short.
  BOOL OpenMediaIndex();
  // Closes the media index, media data and category index files.
  void CloseMediaFiles();

  // Opens the media data file (once) and loads the phrase tables from data
  // resource 6668. FALSE when MMDFile or MultimediaPath is empty, the file does
  // not open, or the phrase tables are missing or damaged.
  BOOL OpenMediaData();
  BOOL IsMediaDataOpen() const { return m_mediaData != NoContentFile; }

  // Unpacks count bytes of the 9-bit phrase code that starts at code number
  // `code` of the data file. 1 when count bytes were written, 0 on any failure
  // (a read that comes back short is a failure, never old data).
  int ReadPacked(int code, BYTE* out, int count);

  // Media file of item n (record types 6, 7, 10, stored plain): path =
  // MultimediaPath + file name, text = its text. 1, or 0 on any failure.
  int ReadMediaFileRecord(UINT item, CString& path, CString& text);
  // Sound file of item n (record type 5, stored plain). 1, or 0.
  int ReadSoundRecord(UINT item, CString& path);
  // Item record n of the media index: type, sound item (0xFFFF none), title,
  // related entries. Returns their count; -1 (outputs unchanged) on failure.
  int ReadMediaList(UINT item, BYTE& type, WORD& sound, CString& title, CDWordArray& related);

  // --- categories ---

  // Media categories: "All", then the listed descriptors (all but the last
  // two) with their titles. 1, or 0 (list empty) on failure.
  int ReadCategories(CCategoryList& list);
  // Sets the entry of every item record of media category n (0-based, the
  // last two included). Returns the set count; 0 (set clear) on failure.
  int ReadCategorySet(int n, CBitString& set);
  // Subject categories of the category index: "All", then its K categories.
  // 1, or 0. The index file stays open for the next read.
  int ReadContextCategories(CCategoryList& list);
  // Title and entries of subject category k (0-based); closes the index file.
  // Returns the set count; 0 on failure or for an empty category.
  int ReadContextSet(int k, CString& title, CBitString& set);
  // Category number of entry a (1-based; 0 none) and its second value;
  // closes the index file. 0 on failure.
  int GetEntryCategory(int a, WORD* second);

  // Paths and file names from the database's settings section.
  char m_path[NameSize] = "";
  char m_multimediaPath[NameSize] = "";
  char m_mmxFile[NameSize] = "";
  char m_mmdFile[NameSize] = "";
  char m_ctxFile[NameSize] = "";
  char m_datFile[NameSize] = "";

 private:
  // One engine call on a work block; false on a result of 8.
  BOOL MakeBlock(void** block, u16 type, u16 count);
  void FreeBlocks();
  // Runs REsearch 145 with the progress window up; `take` gets every hit page.
  // -1 on a parse error, an engine failure or a stop.
  template <class Take>
  int RunSearch(const CString& expr, const CString& caption, Take take, int limit);
  // The entry set of one headword (REentlst 240).
  int HeadwordEntries(const char* word, std::vector<u32>& entries, std::vector<std::string>* titles);
  // The words of REidxlst function `function` in the given block.
  void TakeResults(const ReIdxListBlock* block, CStringArray& words) const;
  BOOL ReadDataOffset(UINT item, i32& offset);

  // The media index header: u16 items, u16 categories, u32 category block size.
  u16 MediaItemCount() const { return ContentU16(m_mediaHeader); }
  u16 CategoryCount() const { return ContentU16(m_mediaHeader + 2); }
  u32 CategoryBlockSize() const { return ContentU32(m_mediaHeader + 4); }
  // The category index header: u32 entries, u16 categories, u32 record area size.
  u32 ContextEntryCount() const { return ContentU32(m_contextHeader); }
  u16 ContextCategoryCount() const { return ContentU16(m_contextHeader + 4); }
  u32 ContextAreaSize() const { return ContentU32(m_contextHeader + 6); }

  BOOL ReadPlainHeader(UINT item, BYTE header[17]);
  BOOL OpenContext();
  void CloseContext();

  ReDbBlock* m_database = nullptr;
  ReFileSpec m_fileSpec = {m_path, m_datFile};
  int m_number = 0;
  BOOL m_bOpen = FALSE;
  BOOL m_bTokenWalk = FALSE;
  ReTokenBlock* m_tokenBlock = nullptr;
  ReEntListBlock* m_entryListBlock = nullptr;
  ReEntryBlock* m_entryBlock = nullptr;
  ReSearchBlock* m_searchBlock = nullptr;
  ReIdxListBlock* m_wordBlock = nullptr;
  ReIdxListBlock* m_spareWordBlock = nullptr;

  // The entries parsed last: labels, sub-items, and per entry its slot's
  // class byte and feature mask and the index of its first sub-item (plus a
  // final bound).
  CStringArray m_parsedItems;
  CStringArray m_parsedLabels;
  CByteArray m_partBytes;
  CDWordArray m_featureMasks;
  CWordArray m_groupBounds;
  u16 m_parsedCount = 0;

  u8 m_mediaHeader[8] = {};
  u8 m_contextHeader[10] = {};
  ContentFile m_mediaData = NoContentFile;
  ContentFile m_mediaIndex = NoContentFile;
  ContentFile m_contextFile = NoContentFile;
};
