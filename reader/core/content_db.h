// CContentDb: the reader's handle on one content database. This part holds
// its media store (the media index MMX and media data MMD files, with the
// phrase decompression of packed records) and its category index (CTX); the
// engine requests of the database join it in the same class.
#pragma once

#include "afx_core.h"
#include "bit_string.h"
#include "category_list.h"
#include "content_file.h"

class CContentDb : public CObject {
 public:
  static constexpr int NameSize = 120;
  static constexpr int PhraseResourceId = 6668;

  CContentDb() = default;
  ~CContentDb() override;
  CContentDb(const CContentDb&) = delete;
  CContentDb& operator=(const CContentDb&) = delete;

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

  u8 m_mediaHeader[8] = {};
  u8 m_contextHeader[10] = {};
  ContentFile m_mediaData = NoContentFile;
  ContentFile m_mediaIndex = NoContentFile;
  ContentFile m_contextFile = NoContentFile;
};
