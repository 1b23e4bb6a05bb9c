#include "core/bookmarks.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/title_key.h"

namespace {

constexpr u32 MaxStoredTitle = 255;
constexpr u32 MaxCounted = 0xFFFF;

bool ReadU16(ContentFile file, u16& value) {
  u8 bytes[2];
  if (!ContentReadExact(file, bytes, 2)) return false;
  value = ContentU16(bytes);
  return true;
}

bool ReadU32(ContentFile file, u32& value) {
  u8 bytes[4];
  if (!ContentReadExact(file, bytes, 4)) return false;
  value = ContentU32(bytes);
  return true;
}

bool ReadText(ContentFile file, u32 length, CString& text) {
  if (ContentRemaining(file) < length) return false;
  std::vector<char> bytes(length);
  if (length && !ContentReadExact(file, bytes.data(), length)) return false;
  text = length ? CString(bytes.data(), static_cast<int>(length)) : CString();
  return true;
}

bool WriteU16(ContentFile file, u32 value) {
  const u8 bytes[2] = {static_cast<u8>(value), static_cast<u8>(value >> 8)};
  return ContentWrite(file, bytes, 2);
}

bool WriteU32(ContentFile file, u32 value) {
  const u8 bytes[4] = {static_cast<u8>(value), static_cast<u8>(value >> 8), static_cast<u8>(value >> 16),
                       static_cast<u8>(value >> 24)};
  return ContentWrite(file, bytes, 4);
}

// A text with its u16 length; a longer text keeps its first 65535 bytes, so
// the record stays readable.
bool WriteText(ContentFile file, const char* text) {
  const u32 length = static_cast<u32>(std::min<size_t>(std::strlen(text), MaxCounted));
  return WriteU16(file, length) && (length == 0 || ContentWrite(file, text, length));
}

std::string FoldedTitle(const char* title) {
  std::string folded(title);
  FoldAccents(folded.data());
  return std::string(folded.c_str());
}

// The update entry of a stored (accent-folded) title, 0 when there is none.
int ResolveUpdateTitle(const CString& stored, BookmarkArticles& articles) {
  if (stored.IsEmpty()) return 0;
  return articles.FindUpdateTitle(stored);
}

}  // namespace

int CBookmark::Read(ContentFile file, BookmarkArticles& articles) {
  m_article = 0;
  u8 isUpdate;
  if (!ContentReadExact(file, &isUpdate, 1) || isUpdate > 1) return Unreadable;
  int article = 0;
  if (isUpdate == 1) {
    u16 length;
    CString title;
    if (!ReadU16(file, length) || length > MaxStoredTitle || !ReadText(file, length, title)) return Unreadable;
    const int index = ResolveUpdateTitle(title, articles);
    article = index > 0 ? articles.Numbering().GetUpdateArticle(index) : 0;
  } else {
    u32 entry;
    if (!ReadU32(file, entry)) return Unreadable;
    article = entry >= 1 && entry <= static_cast<u32>(articles.MainEntryCount())
                  ? articles.Numbering().ToInternalArticle(static_cast<int>(entry))
                  : 0;
  }
  u16 notes;
  if (!ReadU16(file, notes)) return Unreadable;
  for (u16 i = 0; i < notes; ++i) {
    u16 length, position;
    CString text;
    if (!ReadU16(file, length) || !ReadText(file, length, text) || !ReadU16(file, position)) return Unreadable;
    m_noteTexts.Add(text);
    m_notePositions.Add(position);
  }
  u16 highlights;
  if (!ReadU16(file, highlights)) return Unreadable;
  for (u16 i = 0; i < highlights; ++i) {
    u16 start, end;
    if (!ReadU16(file, start) || !ReadU16(file, end)) return Unreadable;
    m_highlightStarts.Add(start);
    m_highlightEnds.Add(end);
  }
  m_article = article;
  return article;
}

BOOL CBookmark::Write(ContentFile file, BookmarkArticles& articles) const {
  bool written;
  if (articles.MainArticles().Test(m_article)) {
    const u8 zero = 0;
    written =
        ContentWrite(file, &zero, 1) && WriteU32(file, static_cast<u32>(articles.Numbering().ToFileArticle(m_article)));
  } else {
    char title[MaxStoredTitle] = "";
    const int index = articles.Numbering().FindUpdateArticle(m_article);
    if (index < 1 || !articles.UpdateTitle(index, title)) title[0] = '\0';
    const u8 one = 1;
    written = ContentWrite(file, &one, 1) && WriteText(file, FoldedTitle(title).c_str());
  }
  const int notes = std::min<int>(m_noteTexts.GetSize(), MaxCounted);
  written = written && WriteU16(file, static_cast<u32>(notes));
  for (int i = 0; i < notes && written; ++i)
    written = WriteText(file, m_noteTexts[i]) &&
              WriteU16(file, i < m_notePositions.GetSize() ? m_notePositions[i] & 0xFFFF : 0);
  const int highlights = std::min<int>(std::min(m_highlightStarts.GetSize(), m_highlightEnds.GetSize()), MaxCounted);
  written = written && WriteU16(file, static_cast<u32>(highlights));
  for (int i = 0; i < highlights && written; ++i)
    written = WriteU16(file, m_highlightStarts[i] & 0xFFFF) && WriteU16(file, m_highlightEnds[i] & 0xFFFF);
  return written ? TRUE : FALSE;
}

BOOL CFolder::Read(ContentFile file, BookmarkArticles& articles) {
  u16 length;
  u32 updates;
  if (!ReadU16(file, length) || !ReadText(file, length, m_name) || !ReadU32(file, updates)) return FALSE;
  CBitString main(articles.MainEntryCount(), FALSE);
  CBitString updateSet(articles.UpdateEntryCount(), FALSE);
  for (u32 i = 0; i < updates; ++i) {
    u16 titleLength;
    CString title;
    if (!ReadU16(file, titleLength) || !ReadText(file, titleLength, title)) return FALSE;
    const int index = ResolveUpdateTitle(title, articles);
    if (index > 0) updateSet.SetBit(index, TRUE, FALSE, 0, 0);
  }
  if (!main.Read(file)) return FALSE;
  m_articles = main.Merge(updateSet, articles.MainArticles());
  return TRUE;
}

BOOL CFolder::Write(ContentFile file, BookmarkArticles& articles) const {
  const CBitString& mainArticles = articles.MainArticles();
  int updates = 0;
  for (int a = m_articles.NextSet(1); a > 0; a = m_articles.NextSet(a + 1))
    if (!mainArticles.Test(a)) ++updates;
  if (!WriteText(file, m_name) || !WriteU32(file, static_cast<u32>(updates))) return FALSE;
  CBitString main(articles.MainEntryCount(), FALSE);
  int mainEntry = 0, updateEntry = 0;
  for (int a = 1; a <= articles.ArticleCount(); ++a) {
    const bool isMain = mainArticles.Test(a) != 0;
    isMain ? ++mainEntry : ++updateEntry;
    if (!m_articles.Test(a)) continue;
    if (isMain) {
      main.SetBit(mainEntry, TRUE, FALSE, 0, 0);
      continue;
    }
    char title[MaxStoredTitle] = "";
    if (!articles.UpdateTitle(updateEntry, title)) title[0] = '\0';
    if (!WriteText(file, FoldedTitle(title).c_str())) return FALSE;
  }
  return main.Write(file);
}

void ResetBookmarks(CObArray& folders, CObArray& bookmarks) {
  for (int i = 0; i < folders.GetSize(); ++i) delete folders[i];
  folders.RemoveAll();
  for (int i = 0; i < bookmarks.GetSize(); ++i) delete bookmarks[i];
  bookmarks.RemoveAll();
}

int FindBookmark(const CObArray& bookmarks, int article) {
  for (int i = 0; i < bookmarks.GetSize(); ++i)
    if (static_cast<const CBookmark*>(bookmarks[i])->m_article == article) return i;
  return -1;
}

int FindOrAddBookmark(CObArray& bookmarks, int article) {
  const int found = FindBookmark(bookmarks, article);
  if (found >= 0) return found;
  int at = 0;
  while (at < bookmarks.GetSize() && static_cast<const CBookmark*>(bookmarks[at])->m_article <= article) ++at;
  auto* bookmark = new CBookmark;
  bookmark->m_article = article;
  bookmarks.InsertAt(at, bookmark);
  return at;
}

void RemoveBookmark(CObArray& bookmarks, int article) {
  const int found = FindBookmark(bookmarks, article);
  if (found < 0) return;
  delete bookmarks[found];
  bookmarks.RemoveAt(found);
}

BOOL LoadBookmarkFile(const char* path, CObArray& folders, CObArray& bookmarks, BookmarkArticles& articles) {
  const ContentFile file = ContentOpen(path);
  if (file == NoContentFile) return TRUE;  // no bookmarks yet
  const ContentFileGuard closer(file);
  const auto fail = [&] {
    ResetBookmarks(folders, bookmarks);
    return FALSE;
  };
  try {
    u16 count;
    if (!ReadU16(file, count)) return fail();
    for (u16 i = 0; i < count; ++i) {
      auto folder = std::make_unique<CFolder>(articles.ArticleCount());
      if (!folder->Read(file, articles)) return fail();
      folders.Add(folder.get());
      folder.release();
    }
    if (!ReadU16(file, count)) return fail();
    for (u16 i = 0; i < count; ++i) {
      auto bookmark = std::make_unique<CBookmark>();
      const int article = bookmark->Read(file, articles);
      if (article <= 0) {
        // A record that cannot be read leaves no way to find the next one
        // (and a damaged count of 65535 must not cost 65535 reads).
        if (article == CBookmark::Unreadable) break;
        continue;
      }
      // Kept in article order, one an article, whatever order the file had:
      // after an update two records can name one article.
      const int found = FindBookmark(bookmarks, bookmark->m_article);
      if (found < 0) {
        int at = 0;
        while (at < bookmarks.GetSize() &&
               static_cast<const CBookmark*>(bookmarks[at])->m_article < bookmark->m_article)
          ++at;
        bookmarks.InsertAt(at, bookmark.get());
        bookmark.release();
        continue;
      }
      auto* kept = static_cast<CBookmark*>(bookmarks[found]);
      kept->m_noteTexts.Append(bookmark->m_noteTexts);
      kept->m_notePositions.Append(bookmark->m_notePositions);
      kept->m_highlightStarts.Append(bookmark->m_highlightStarts);
      kept->m_highlightEnds.Append(bookmark->m_highlightEnds);
    }
  } catch (CException*) {
    // Out of memory part way: nothing half loaded stays; the exception goes
    // on to the caller, as every allocation failure of the program does.
    ResetBookmarks(folders, bookmarks);
    throw;
  }
  return TRUE;
}

BOOL SaveBookmarkFile(const char* path, const CObArray& folders, const CObArray& bookmarks,
                      BookmarkArticles& articles) {
  // Written beside the old file, which it replaces only when complete.
  ContentReplacement replacement(path);
  if (!replacement.IsOpen()) return TRUE;  // nowhere to save: not an error
  const ContentFile file = replacement.File();
  const int folderCount = std::min<int>(folders.GetSize(), MaxCounted);
  const int bookmarkCount = std::min<int>(bookmarks.GetSize(), MaxCounted);
  bool written = WriteU16(file, static_cast<u32>(folderCount));
  for (int i = 0; i < folderCount && written; ++i)
    written = static_cast<const CFolder*>(folders[i])->Write(file, articles) != FALSE;
  written = written && WriteU16(file, static_cast<u32>(bookmarkCount));
  for (int i = 0; i < bookmarkCount && written; ++i)
    written = static_cast<const CBookmark*>(bookmarks[i])->Write(file, articles) != FALSE;
  return written && replacement.Commit() ? TRUE : FALSE;
}
