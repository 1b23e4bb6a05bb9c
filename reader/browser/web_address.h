// CWebAddress: the web address of an Internet article (its line in
// Internet.dat): Connect opens it in the system's web browser, Copy URL puts
// it on the clipboard; both are enabled for Internet articles only. The
// encyclopedia view routes these commands here.
#pragma once

#include <string>

#include "browser/browser_part.h"
#include "framework.h"

class CWebAddress : public CCmdTarget {
 public:
  explicit CWebAddress(BrowserPartOwner& browser) : m_browser(browser) {}

  // The shown article's address; FALSE after its message when it cannot be read.
  BOOL Read(std::string& url) const;
  void OnConnect();
  void OnCopyUrl();

 protected:
  void OnUpdateInternet(CCmdUI* ui);
  DECLARE_MESSAGE_MAP()

 private:
  BrowserPartOwner& m_browser;
};
