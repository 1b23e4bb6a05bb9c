// Services of the application object: Boolean and term queries over the main
// and the update database, titles, printing of the folder list, bitmaps from
// resources, the search progress callback and the spelling hash.
#include <cstdio>
#include <cstring>

#include "main_frame.h"
#include "reader/reader_ids.h"
#include "spell_hash.h"
#include "veldrix_app.h"

CBitString& CVeldrixApp::UnionBits(CBitString& result, const CBitString& mainSet, const CBitString& updateSet) const {
  result = mainSet.Merge(updateSet, m_mainArticles);
  return result;
}

BOOL CVeldrixApp::BooleanQuery(const CString& text, CBitString& result) {
  CBitString main(static_cast<int>(GetDatabase(1).GetEntryCount()), FALSE);
  CBitString updates(static_cast<int>(GetDatabase(6).GetEntryCount()), FALSE);
  if (GetDatabase(1).BooleanSearch(text, main, "Encyclopedia") < 0) return FALSE;
  if (GetDatabase(6).BooleanSearch(text, updates, "Internet Updates") < 0) return FALSE;
  UnionBits(result, main, updates);
  if (result.GetSetCount() == 0) {
    AfxMessageBox("There are no articles matching your query.", MB_ICONEXCLAMATION | MB_OK);
    return FALSE;
  }
  return TRUE;
}

int CVeldrixApp::QueryBits(const CString& text, CBitString& result) {
  CBitString main(static_cast<int>(GetDatabase(1).GetEntryCount()), FALSE);
  CBitString updates(static_cast<int>(GetDatabase(6).GetEntryCount()), FALSE);
  if (GetDatabase(1).LookupTerm(text, main) < 0 || GetDatabase(6).LookupTerm(text, updates) < 0) return 0;
  UnionBits(result, main, updates);
  return result.GetSetCount();
}

BOOL CVeldrixApp::QuerySources(CBitString& result) {
  result.Resize(GetArticleCount());
  if (m_lastWeightedMain == -1 && m_lastWeightedUpdates == -1) return FALSE;
  // The ranked hits are article numbers by now: database 6 ranks them over
  // the whole numbering.
  ReDbBlock* updates = GetDatabase(6).GetDatabaseBlock();
  const u32 entries = updates ? updates->entryCount : 0;
  if (updates) updates->entryCount = static_cast<u32>(GetArticleCount());
  GetDatabase(6).RunConceptQuery(m_rankedQuery, result, "Encyclopedia and Internet Updates");
  m_lastWeightedMain = m_lastWeightedUpdates = -1;
  if (updates) updates->entryCount = entries;
  return result.GetSetCount() > 0;
}

int CVeldrixApp::LookupTitle(int article, char* title) {
  if (!title) return 0;
  title[0] = '\0';
  if (m_mainArticles.Test(article)) {
    int entry = ToFileArticle(article);
    return m_bMainTitlesOpen ? m_mainTitles.Lookup(nullptr, title, &entry, CTypematic::ByEntry) : 0;
  }
  int index = FindUpdateArticle(article);
  return m_bUpdateTitlesOpen && index > 0 ? m_updateTitles.Lookup(nullptr, title, &index, CTypematic::ByEntry) : 0;
}

BOOL CVeldrixApp::FindTitle(const char* text, char* title, int* article) {
  char mainTitle[TitleBufferSize] = "", updateTitle[TitleBufferSize] = "";
  int entry = 0;
  int mainArticle = -1, updateArticle = -1;
  if (m_bMainTitlesOpen && m_mainTitles.Lookup(text, mainTitle, &entry, CTypematic::ByText) == 1)
    mainArticle = ToInternalArticle(entry);
  if (m_bUpdateTitlesOpen && m_updateTitles.Lookup(text, updateTitle, &entry, CTypematic::ByText) == 1) {
    updateArticle = GetUpdateArticle(entry);
    if (updateArticle == 0) updateArticle = -1;
  }
  if (mainArticle == -1 && updateArticle == -1) return FALSE;
  // Compared unsigned, a missing candidate (-1) always loses.
  const bool takeMain = static_cast<unsigned>(mainArticle) <= static_cast<unsigned>(updateArticle);
  if (title) std::strcpy(title, takeMain ? mainTitle : updateTitle);
  if (article) *article = takeMain ? mainArticle : updateArticle;
  return TRUE;
}

namespace {

// One page of folder lines: the folder's name, then the titles of its articles.
struct ListPrinter {
  CVeldrixApp& app;
  CDC* dc;
  CRect page;
  int y;
  bool top = true;

  // Prints the line; false when it does not fit the rest of the page (a line
  // at the top of a page always prints, so every page moves on).
  bool Line(const CString& text, bool folderName) {
    dc->SelectObject(app.GetFont(folderName ? FontArticleBold : FontArticle));
    if (folderName && !top) y += dc->GetDeviceCaps(LOGPIXELSY) / 4;
    TEXTMETRIC metrics = {};
    dc->GetTextMetrics(&metrics);
    if (!top && y + metrics.tmHeight > page.bottom) return false;
    const int x = folderName ? page.left : page.left + dc->GetDeviceCaps(LOGPIXELSX) / 2;
    dc->TextOut(x, y, text);
    y += metrics.tmHeight + metrics.tmExternalLeading;
    top = false;
    return true;
  }

  CString Item(const CFolder& folder, int item) {
    if (item == 0) return folder.m_name;
    char title[TitleBufferSize] = "";
    app.LookupTitle(folder.m_articles.GetAt(item), title);
    return title;
  }
};

}  // namespace

int CVeldrixApp::PrintListPage(CDC* dc, CPrintInfo* info, int start) {
  CFont* old = dc->SelectObject(GetFont(FontList));
  dc->SetTextAlign(TA_LEFT);
  ListPrinter printer{*this, dc, info->m_rectDraw, info->m_rectDraw.top};
  const int firstFolder = (start >> 16) & 0xFFFF;
  for (int f = firstFolder; f < m_folders.GetSize(); ++f) {
    const CFolder& folder = *static_cast<const CFolder*>(m_folders[f]);
    for (int item = f == firstFolder ? (start & 0xFFFF) : 0; item <= folder.m_articles.GetSetCount(); ++item)
      if (!printer.Line(printer.Item(folder, item), item == 0)) {
        dc->SelectObject(old);
        return f << 16 | item;
      }
  }
  dc->SelectObject(old);
  return -1;
}

int CVeldrixApp::PrintListPage2(CDC* dc, CPrintInfo* info, int start) {
  if (m_printFolder < 0 || m_printFolder >= m_folders.GetSize()) return -1;
  CFont* old = dc->SelectObject(GetFont(FontList));
  dc->SetTextAlign(TA_LEFT);
  ListPrinter printer{*this, dc, info->m_rectDraw, info->m_rectDraw.top};
  const CFolder& folder = *static_cast<const CFolder*>(m_folders[m_printFolder]);
  for (int item = start < 0 ? 0 : start; item <= folder.m_articles.GetSetCount(); ++item)
    if (!printer.Line(printer.Item(folder, item), item == 0)) {
      dc->SelectObject(old);
      return item;
    }
  dc->SelectObject(old);
  return -1;
}

void CVeldrixApp::GetPrinterMargins(CDC* dc) {
  const int offsetX = dc->GetDeviceCaps(PHYSICALOFFSETX), offsetY = dc->GetDeviceCaps(PHYSICALOFFSETY);
  const int pageX = dc->GetDeviceCaps(PHYSICALWIDTH), pageY = dc->GetDeviceCaps(PHYSICALHEIGHT);
  const int right = pageX > 0 ? pageX - dc->GetDeviceCaps(HORZRES) - offsetX : 0;
  const int bottom = pageY > 0 ? pageY - dc->GetDeviceCaps(VERTRES) - offsetY : 0;
  const auto atLeast0 = [](int v) { return v < 0 ? 0 : v; };
  CRect margins(
      atLeast0(dc->GetDeviceCaps(LOGPIXELSX) - offsetX), atLeast0(dc->GetDeviceCaps(LOGPIXELSY) / 2 - offsetY),
      atLeast0(dc->GetDeviceCaps(LOGPIXELSX) / 2 - right), atLeast0(dc->GetDeviceCaps(LOGPIXELSY) / 2 - bottom));
  // Device units to the DC's logical units.
  POINT sizes[2] = {{margins.left, margins.top}, {margins.right, margins.bottom}};
  POINT origin = {0, 0};
  dc->DPtoLP(sizes, 2);
  dc->DPtoLP(&origin, 1);
  m_printMargins = CRect(sizes[0].x - origin.x, sizes[0].y - origin.y, sizes[1].x - origin.x, sizes[1].y - origin.y);
}

BOOL CVeldrixApp::LoadDIB(UINT id, CBitmap& bitmap, CPalette& palette, BOOL useAppPalette, BOOL realise) {
  HINSTANCE module = AfxGetResourceHandle();
  HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_BITMAP));
  HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
  const auto* header = loaded ? static_cast<const BITMAPINFOHEADER*>(::LockResource(loaded)) : nullptr;
  const DWORD size = resource ? ::SizeofResource(module, resource) : 0;
  if (!header || size < sizeof(BITMAPINFOHEADER) || header->biSize < sizeof(BITMAPINFOHEADER) || header->biSize > size)
    return FALSE;
  // The colour table holds 2^bits entries; deeper pictures have none.
  const DWORD colours = header->biBitCount <= 8 ? 1u << header->biBitCount : 0;
  const DWORD stride = (static_cast<DWORD>(header->biWidth) * header->biBitCount + 31) / 32 * 4;
  const DWORD height = static_cast<DWORD>(header->biHeight < 0 ? -header->biHeight : header->biHeight);
  if (static_cast<unsigned long long>(header->biSize) + 4ull * colours + 1ull * stride * height > size) return FALSE;
  const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);

  CPalette own;
  if (!useAppPalette && colours > 0) {
    std::vector<BYTE> memory(sizeof(LOGPALETTE) + colours * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(memory.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(colours);
    for (DWORD i = 0; i < colours; ++i)
      logical->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, PC_NOCOLLAPSE};
    palette.DeleteObject();
    palette.CreatePalette(logical);
  }
  CClientDC screen(nullptr);
  CPalette* selected = useAppPalette ? &m_palette : &palette;
  CPalette* old = nullptr;
  if ((useAppPalette || realise) && selected->m_hObject) {
    old = screen.SelectPalette(selected, TRUE);
    screen.RealizePalette();
  }
  HBITMAP made = ::CreateDIBitmap(screen.m_hDC, header, CBM_INIT, reinterpret_cast<const BYTE*>(table) + 4 * colours,
                                  reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
  if (old) screen.SelectPalette(old, TRUE);
  if (!made) return FALSE;
  bitmap.DeleteObject();
  bitmap.Attach(made);
  return TRUE;
}

i32 RE_CALL CVeldrixApp::SearchProgress(u32 done, u32 total) {
  CVeldrixApp& app = GetVeldrixApp();
  CSearchProgressDlg& window = app.m_progressDlg;
  if (app.m_bProgressCreated && !::IsWindow(window.m_hWnd)) {
    app.m_bSearchStopped = TRUE;  // the reader pressed Cancel
    return 1;
  }
  if (!window.m_hWnd) return 0;
  if (done != 0 && done != total && !window.IsWindowVisible()) {
    window.ShowWindow(SW_SHOW);
    window.SetActiveWindow();
  }
  window.SetProgress(total ? static_cast<int>(static_cast<unsigned long long>(done) * 100 / total) : 0);
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The program is ending: leave the quit for its loop and stop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      app.m_bSearchStopped = TRUE;
      return 1;
    }
    if (::IsWindow(window.m_hWnd) && ::IsDialogMessageA(window.m_hWnd, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  if (app.m_bProgressCreated && !::IsWindow(window.m_hWnd)) {
    app.m_bSearchStopped = TRUE;
    return 1;
  }
  return 0;
}

BOOL CVeldrixApp::LoadSpellHash() {
  if (m_spellTable) SpellHashFree(m_spellTable);
  m_spellTable = SpellHashLoad(WorkingPath("Spelhash.dat").c_str());
  return m_spellTable ? TRUE : FALSE;
}

BOOL CVeldrixApp::SpellHashFind(const char* word) const { return ::SpellHashFind(m_spellTable, word) ? TRUE : FALSE; }
