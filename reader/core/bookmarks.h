// The reader's own data: folders (named article lists) and bookmarks (the
// notes and highlights of an article), and their file Bookmark.dat in the
// working directory. Article numbers shift whenever update articles are
// added, so the file never stores one: main-database articles are stored by
// their entry number in database 1, update articles by their title.
//
// Bookmark.dat (little-endian, no header, no padding):
//   u16 folder count, the folder records, u16 bookmark count, the bookmark records.
//   Folder: u16 name length L, L bytes; u32 update-article count U; U times
//     u16 length T and T bytes of an accent-folded title; a .bit record over
//     the main entries of database 1.
//   Bookmark: byte is-update; u32 main entry (0) or u16 length T and T bytes
//     of the accent-folded title (1); u16 note count, each u16 length, the
//     text and u16 position; u16 highlight count, each u16 start and u16 end.
#pragma once

#include "afx_core.h"
#include "core/article_numbering.h"
#include "core/bit_string.h"
#include "core/content_file.h"

// What the records need of the application's articles.
class BookmarkArticles {
 public:
  virtual ~BookmarkArticles() = default;
  virtual int ArticleCount() const = 0;      // N, the size of the article sets
  virtual int MainEntryCount() const = 0;    // entries of database 1
  virtual int UpdateEntryCount() const = 0;  // entries of database 6
  virtual const CBitString& MainArticles() const = 0;
  virtual const ArticleNumbering& Numbering() const = 0;
  // The title of update entry i (1-based) into a buffer of 255 bytes; false
  // when the update title index has none.
  virtual bool UpdateTitle(int index, char* title) = 0;
  // The update entry whose title, accents folded, is `title`; 0 when none.
  virtual int FindUpdateTitle(const char* title) = 0;
};

class CBookmark : public CObject {
 public:
  CStringArray m_noteTexts;
  CUIntArray m_notePositions;
  CUIntArray m_highlightStarts;
  CUIntArray m_highlightEnds;
  int m_article = 0;  // 0 = not resolved

  // Read's result for a record that cannot be read: short, or an is-update
  // byte other than 0 and 1.
  static constexpr int Unreadable = -1;

  // Reads one record; returns the resolved article, 0 when its article is
  // gone, Unreadable when the record cannot be read (either way the record
  // is dropped; after an unreadable one the file's place is lost).
  int Read(ContentFile file, BookmarkArticles& articles);
  BOOL Write(ContentFile file, BookmarkArticles& articles) const;
};

class CFolder : public CObject {
 public:
  explicit CFolder(int articleCount = 0) : m_articles(articleCount, FALSE) {}
  CString m_name;
  CBitString m_articles;

  BOOL Read(ContentFile file, BookmarkArticles& articles);
  BOOL Write(ContentFile file, BookmarkArticles& articles) const;
};

// In-memory operations on the application's lists: folders in file order,
// bookmarks sorted by article, at most one an article.
void ResetBookmarks(CObArray& folders, CObArray& bookmarks);
int FindBookmark(const CObArray& bookmarks, int article);
int FindOrAddBookmark(CObArray& bookmarks, int article);
void RemoveBookmark(CObArray& bookmarks, int article);

// Reads the file into the lists. A missing file is no folders and no
// bookmarks (TRUE). A bad count or folder empties both lists (FALSE); a
// bookmark whose article is gone is dropped, and an unreadable bookmark
// record ends the bookmarks read (those before it stay). Memory running out
// empties both lists too and raises the framework's memory exception.
BOOL LoadBookmarkFile(const char* path, CObArray& folders, CObArray& bookmarks, BookmarkArticles& articles);
// Writes the lists. The new file is written beside the old one and takes its
// place only when complete (every write done, the close without error), so a
// failed save keeps the last good file. TRUE (nothing saved) when the file
// cannot be created at all; FALSE when a write, the close or the replacing
// fails.
BOOL SaveBookmarkFile(const char* path, const CObArray& folders, const CObArray& bookmarks, BookmarkArticles& articles);
