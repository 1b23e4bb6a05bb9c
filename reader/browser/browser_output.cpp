// Text that leaves the encyclopedia screen (clipboard, text file) with its
// source notices, the related articles of MAROVA.REL, and the Internet links
// and web addresses of Internet.dat.
#include <cstring>
#include <string>

#include "browser/browser.h"
#include "core/content_file.h"
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "core/related_files.h"
#include "core/title_key.h"
#include "reader/browser_ids.h"
#include "search/related_queries.h"

// After the window headers it builds on.
// clang-format off
#include <shellapi.h>
// clang-format on

namespace {

constexpr int kRelatedMenu = 5;
constexpr int kInternetLinksPosition = 3;
constexpr const char* kInternetOpenFailed = "Unable to open the file Internet.dat";

// A moveable, zero-initialised global block holding the text and a zero.
HGLOBAL GlobalCopy(const std::string& text) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  if (!block) return nullptr;
  if (void* bytes = ::GlobalLock(block)) {
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    ::GlobalUnlock(block);
    return block;
  }
  ::GlobalFree(block);
  return nullptr;
}

// The text of a display block (up to its first zero) joined with the notices;
// the block is freed.
bool TakeJoined(HGLOBAL block, int length, const std::string& notices, std::string& joined) {
  if (!block) return false;
  bool taken = false;
  if (length > 0)
    if (const char* text = static_cast<const char*>(::GlobalLock(block))) {
      joined = browser::JoinWithNotice(text, static_cast<std::size_t>(length), notices);
      ::GlobalUnlock(block);
      taken = true;
    }
  ::GlobalFree(block);
  return taken;
}

}  // namespace

browser::ArticleSource CBrowser::CurrentSource() const {
  const ReaderContext& app = Reader();
  return browser::SourceOf(app.m_tdwBits.Test(m_currentArticle) != 0, app.m_hspBits.Test(m_currentArticle) != 0);
}

BOOL CBrowser::CopyToClipboard(HGLOBAL text, int length) {
  std::string joined;
  if (!TakeJoined(text, length, browser::NoticeBlock(CurrentSource()), joined)) return FALSE;
  HGLOBAL block = GlobalCopy(joined);
  if (!block) return FALSE;
  if (!OpenClipboard()) {
    ::GlobalFree(block);
    return FALSE;
  }
  ::EmptyClipboard();
  if (!::SetClipboardData(CF_TEXT, block)) ::GlobalFree(block);
  ::CloseClipboard();
  return TRUE;
}

void CBrowser::OnCopySelection() {
  HGLOBAL text = nullptr;
  const int length = m_display.CopySelection(&text);
  CopyToClipboard(text, length);
}

void CBrowser::OnCopyArticle() {
  HGLOBAL text = nullptr;
  const int length = m_display.CopyAll(&text);
  CopyToClipboard(text, length);
}

void CBrowser::OnSaveArticle() {
  const std::string notices = browser::NoticeBlock(CurrentSource());
  CString path;
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr || !shell->AskTextFileName(path)) return;
  HGLOBAL text = nullptr;
  const int length = m_display.CopyAll(&text);
  std::string joined;
  TakeJoined(text, length, notices, joined);
  // Written whole or not at all: a file the reader chose to overwrite is
  // never left half written.
  ContentReplaceFile(path, joined.data(), static_cast<u32>(joined.size()));
}

// ---- related articles ------------------------------------------------------------------

void CBrowser::OnRelatedArticle() {
  if (!Reader().m_mainArticles.Test(m_currentArticle)) {
    AfxMessageBox("There are no related articles for the Internet Updates.\r\n", MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  search::QueryRelatedArticles(m_currentArticle);
}

// ---- Internet links --------------------------------------------------------------------

void CBrowser::RebuildInternetLinks() {
  ReaderContext& app = Reader();
  m_internetLinks.RemoveAll();
  if (app.m_linkBits.Test(m_currentArticle)) {
    std::vector<u32> links;
    const std::string path = WorkingPath(links::kInternetFileName);
    if (!links::ReadInternetLinks(path.c_str(), app.m_linkBits.IndexOf(m_currentArticle), links))
      AfxMessageBox(kInternetOpenFailed, MB_ICONSTOP | MB_OK);
    const int most = ID_INTERNET_LINK_LAST - ID_INTERNET_LINK_FIRST + 1;
    for (std::size_t i = 0; i < links.size() && static_cast<int>(i) < most; ++i) m_internetLinks.Add(links[i]);
  }
  const bool any = m_internetLinks.GetSize() > 0;

  if (CMenu* related = SubMenu(kRelatedMenu)) {
    if (CMenu* popup = related->GetSubMenu(kInternetLinksPosition)) {
      while (popup->GetMenuItemCount() > 0) popup->DeleteMenu(0, MF_BYPOSITION);
      for (int i = 0; i < m_internetLinks.GetSize(); ++i)
        ::AppendMenuA(popup->m_hMenu, MF_OWNERDRAW, ID_INTERNET_LINK_FIRST + i,
                      reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(m_internetLinks[i])));
    }
    related->EnableMenuItem(kInternetLinksPosition, MF_BYPOSITION | (any ? MF_ENABLED : MF_GRAYED));
  }

  if (auto* popup = dynamic_cast<CPopupMenu*>(m_related.Root().FindItem(kInternetLinksPosition, MF_BYPOSITION))) {
    popup->RemoveAll();
    for (int i = 0; i < m_internetLinks.GetSize(); ++i) {
      const int linked = static_cast<int>(m_internetLinks[i]);
      char title[TitleBufferSize] = "";
      app.LookupTitle(linked, title);
      UINT image = 0, mask = 0;
      if (!app.GetArticleIcons(linked, &image, &mask)) image = mask = 0;
      popup->AddItem(title, ID_INTERNET_LINK_FIRST + i, image, mask, 0);
    }
    m_related.SetItemState(kInternetLinksPosition, MF_BYPOSITION | (any ? 0 : MF_GRAYED));
  }
}

BOOL CBrowser::ReadCurrentUrl(std::string& url) const {
  const ReaderContext& app = Reader();
  const std::string path = WorkingPath(links::kInternetFileName);
  const links::UrlResult result = links::ReadInternetUrl(path.c_str(), app.m_urlBits.IndexOf(m_currentArticle), url);
  if (result == links::UrlResult::Ok) return TRUE;
  // A damaged entry is as unusable as a missing file.
  AfxMessageBox(kInternetOpenFailed, MB_ICONSTOP | MB_OK);
  return FALSE;
}

void CBrowser::OnConnect() {
  std::string url;
  if (!ReadCurrentUrl(url)) return;
  CWnd* main = AfxGetMainWnd();
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteA(main ? main->m_hWnd : nullptr, nullptr, url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) return;
  AfxMessageBox(result == 0 ? "Not enough memory to run the Internet browser."
                            : "Unable to run the Internet browser.\r\nCopy the URL into the clipboard and paste it "
                              "into the browser.",
                MB_ICONSTOP | MB_OK);
}

void CBrowser::OnCopyUrl() {
  std::string url;
  if (!ReadCurrentUrl(url)) return;
  HGLOBAL block = GlobalCopy(url);
  if (!block) return;
  if (!OpenClipboard()) {
    ::GlobalFree(block);
    return;
  }
  ::EmptyClipboard();
  if (!::SetClipboardData(CF_TEXT, block)) ::GlobalFree(block);
  ::CloseClipboard();
}
