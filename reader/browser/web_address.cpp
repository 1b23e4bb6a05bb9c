#include "browser/web_address.h"

#include "core/reader_context.h"
#include "core/related_files.h"
#include "core/working_directory.h"
#include "panels/article_commands.h"
#include "reader/browser_ids.h"

// After the window headers it builds on.
// clang-format off
#include <shellapi.h>
// clang-format on

BEGIN_MESSAGE_MAP(CWebAddress, CCmdTarget)
ON_COMMAND(ID_BROWSER_CONNECT, OnConnect)
ON_COMMAND(ID_BROWSER_COPY_URL, OnCopyUrl)
ON_BN_CLICKED(IDC_BROWSER_CONNECT, OnConnect)
ON_BN_CLICKED(IDC_BROWSER_COPY_URL, OnCopyUrl)
ON_UPDATE_COMMAND_UI(ID_BROWSER_CONNECT, OnUpdateInternet)
ON_UPDATE_COMMAND_UI(ID_BROWSER_COPY_URL, OnUpdateInternet)
END_MESSAGE_MAP()

namespace {

constexpr const char* kInternetOpenFailed = "Unable to open the file Internet.dat";

}  // namespace

BOOL CWebAddress::Read(std::string& url) const {
  const ReaderContext& app = Reader();
  const std::string path = WorkingPath(links::kInternetFileName);
  const links::UrlResult result =
      links::ReadInternetUrl(path.c_str(), app.m_urlBits.IndexOf(m_browser.GetCurrentArticle()), url);
  if (result == links::UrlResult::Ok) return TRUE;
  // A damaged entry is as unusable as a missing file.
  AfxMessageBox(kInternetOpenFailed, MB_ICONSTOP | MB_OK);
  return FALSE;
}

void CWebAddress::OnConnect() {
  std::string url;
  if (!Read(url)) return;
  CWnd* main = AfxGetMainWnd();
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteA(main ? main->m_hWnd : nullptr, nullptr, url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) return;
  AfxMessageBox(result == 0 ? "Not enough memory to run the Internet browser."
                            : "Unable to run the Internet browser.\r\nCopy the URL into the clipboard and paste it "
                              "into the browser.",
                MB_ICONSTOP | MB_OK);
}

void CWebAddress::OnCopyUrl() {
  std::string url;
  if (Read(url)) panels::PutOnClipboard(m_browser.View().m_hWnd, url);
}

void CWebAddress::OnUpdateInternet(CCmdUI* ui) { ui->Enable(Reader().m_urlBits.Test(m_browser.GetCurrentArticle())); }
