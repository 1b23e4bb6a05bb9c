// CContentDb: the reader's handle on one content database. This part holds
// its media store (the media index MMX and media data MMD files, with the
// phrase decompression of packed records) and its category index (CTX); the
// engine requests of the database join it in the same class.
#pragma once

#include "content_file.h"

class CContentDb {
 public:
  static constexpr int NameSize = 120;
  static constexpr int PhraseResourceId = 6668;

  CContentDb();
  ~CContentDb();
  CContentDb(const CContentDb&) = delete;
  CContentDb& operator=(const CContentDb&) = delete;

  // Media index: opens MultimediaPath + MMXFile and reads its 8-byte header.
  // True without a media store (MMXFile empty); false when the file does not
  // open or its header is short.
  bool OpenMediaIndex();
  // Closes the media index, media data and category index files.
  void CloseMediaFiles();

  // Opens the media data file (once) and loads the phrase tables from data
  // resource 6668. False when MMDFile or MultimediaPath is empty, the file does
  // not open, or the phrase tables are missing or damaged.
  bool OpenMediaData();
  bool IsMediaDataOpen() const { return m_mediaData != NoContentFile; }

  // Unpacks count bytes of the 9-bit phrase code that starts at code number
  // `code` of the data file. 1 when count bytes were written, 0 on any failure
  // (a read that comes back short is a failure, never old data).
  int ReadPacked(int code, u8* out, int count);

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

  u8 m_mediaHeader[8] = {};
  ContentFile m_mediaData = NoContentFile;
  ContentFile m_mediaIndex = NoContentFile;
  ContentFile m_contextFile = NoContentFile;
};
