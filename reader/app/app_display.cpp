// What the formatted-text display, the note dialog, the search progress
// dialog and the print preview ask of the application (CDisplayServices):
// the shared look, titles and media items, the bookmark records, and the
// screens that own a display.
#include <algorithm>

#include "app/main_frame.h"
#include "app/veldrix_app.h"
#include "browser/browser.h"
#include "core/reader_screen.h"
#include "dictionary/dict_view.h"
#include "display/note_dlg.h"
#include "media/thumb_wnd.h"

namespace {

// The note dialog's size when a screen opens it beside a note icon.
constexpr int NoteDialogWidth = 260;
constexpr int NoteDialogHeight = 220;

}  // namespace

// --- the bookmark records ---

bool BookmarkAnnotations::FindAnnotations(int article, display::StoredAnnotations& out) {
  const int index = m_bookmarks.FindBookmark(article);
  if (index < 0) return false;
  const auto* bookmark = static_cast<const CBookmark*>(m_bookmarks.m_bookmarks[index]);
  out = display::StoredAnnotations{};
  for (int i = 0; i < bookmark->m_noteTexts.GetSize() && i < bookmark->m_notePositions.GetSize(); ++i)
    out.notes.push_back(display::StoredNote{static_cast<LPCTSTR>(bookmark->m_noteTexts[i]),
                                            static_cast<int>(bookmark->m_notePositions[i])});
  for (int i = 0; i < bookmark->m_highlightStarts.GetSize() && i < bookmark->m_highlightEnds.GetSize(); ++i)
    out.highlights.emplace_back(static_cast<int>(bookmark->m_highlightStarts[i]),
                                static_cast<int>(bookmark->m_highlightEnds[i]));
  return true;
}

void BookmarkAnnotations::RemoveBookmark(int article) { m_bookmarks.RemoveBookmark(article); }

void BookmarkAnnotations::AddBookmarkNote(int article, const std::string& text, int position) {
  m_bookmarks.AddBookmarkNote(article, CString(text.c_str()), static_cast<UINT>(position));
}

void BookmarkAnnotations::AddHighlight(int article, int first, int last) {
  m_bookmarks.AddHighlight(article, static_cast<UINT>(first), static_cast<UINT>(last));
}

// --- the shared look ---

CFont* CVeldrixApp::GetArticleFont(int style) {
  // Fonts 0-8 are the article fonts; a print job remakes them for its device
  // context (RecreateArticleFonts) and back for the screen after it.
  return &m_fonts[style >= FontArticle && style <= FontPhonetic ? style : FontArticle];
}

DisplayColours CVeldrixApp::GetColours(int pair) {
  const int at = pair >= 0 && pair < ColourPairCount ? pair : ColourNormal;
  return DisplayColours{m_colourText[at], m_colourBack[at]};
}

// --- content ---

CString CVeldrixApp::LookupTitle(int article) {
  char title[TitleBufferSize] = "";
  LookupTitle(article, title);
  return title;
}

BOOL CVeldrixApp::MediaReachable() {
  return m_bMediaAvailable && m_bMediaStarted && m_bDatabasesOpen && GetDatabase(1).OpenMediaData();
}

BOOL CVeldrixApp::ShowsPictures() { return m_bDisplayPictures && MediaReachable(); }

BOOL CVeldrixApp::ReadMediaItem(int item, CString& title, int& kind) {
  if (item < 0 || !m_bDatabasesOpen) return FALSE;
  BYTE type = 0;
  WORD sound = 0xFFFF;
  CDWordArray related;
  CString text;
  if (GetDatabase(1).ReadMediaList(static_cast<UINT>(item), type, sound, text, related) < 0) return FALSE;
  title = text;
  kind = sound != 0xFFFF ? 5 : type;
  return TRUE;
}

int CVeldrixApp::MediaItemArticle(int index) { return index >= 0 ? m_multBits.GetAt(index + 1) : -1; }

CWnd* CVeldrixApp::CreateThumbnail(CWnd* display, const CRect& rect, UINT controlId, int itemIndex) {
  // The display owns the window and deletes it; one that cannot be made is
  // left out of the block (the outline still lists the item).
  if (display == nullptr || itemIndex < 0) return nullptr;
  auto* thumbnail = new CThumbWnd;
  if (!thumbnail->Create(nullptr, "", WS_CHILD | WS_VISIBLE, rect, display, controlId, static_cast<UINT>(itemIndex),
                         nullptr)) {
    delete thumbnail;
    return nullptr;
  }
  return thumbnail;
}

// --- the screens ---

void CVeldrixApp::LookUpWord(const CString& word) {
  if (CMainFrame* frame = GetMainFrame()) frame->LookUpWord(word);
}

void CVeldrixApp::EditNote(CWnd* screen, CNoteIcon* icon) {
  if (screen == nullptr || icon == nullptr || icon->GetSafeHwnd() == nullptr) return;
  // The encyclopedia anchors the dialog to its tool windows' panel.
  if (auto* browser = dynamic_cast<CBrowser*>(screen)) {
    browser->EditNote(icon);
    return;
  }
  // The dictionary places the dialog over its left column.
  if (auto* dictionary = dynamic_cast<CDict*>(screen)) {
    dictionary->EditNote(icon);
    return;
  }
  // Beside the icon, to its left, inside the screen.
  CRect iconRect, area;
  icon->GetWindowRect(&iconRect);
  screen->GetWindowRect(&area);
  const int left = std::max<int>(iconRect.left - NoteDialogWidth, area.left);
  const int top = std::max<int>(std::min<int>(iconRect.top, area.bottom - NoteDialogHeight), area.top);
  const CRect rect(left, top, left + NoteDialogWidth, top + NoteDialogHeight);
  CNoteDlg dialog(screen);
  dialog.DoModalAt(rect, icon);
}

BOOL CVeldrixApp::IsDictionaryListMode(CWnd* screen) {
  const auto* dictionary = dynamic_cast<const CDict*>(screen);
  return dictionary != nullptr && dictionary->GetMode() >= 0 && dictionary->GetMode() <= 2;
}

int CVeldrixApp::GetShownArticle(CWnd* screen) {
  const auto* shown = dynamic_cast<const ReaderScreen*>(screen);
  return shown != nullptr ? shown->GetShownArticle() : -1;
}
