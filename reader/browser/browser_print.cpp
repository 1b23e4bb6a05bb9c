// The encyclopedia screen's printing: the notices under the print job's
// pages (the article's source's, the product's alone under the bookmark
// lists).
#include "browser/browser.h"

std::vector<CString> CBrowser::PrintedNotices(panels::PrintKind kind) const {
  const auto lines = browser::FooterLines(kind == panels::PrintItem ? CurrentSource() : browser::ArticleSource::Other);
  return {lines[0].c_str(), lines[1].c_str(), lines[2].c_str()};
}
