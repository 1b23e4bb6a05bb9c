// Bookmark.dat from untrusted bytes: loaded over a fixed numbering of ten
// articles, saved again and loaded back.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "core/bookmarks.h"
#include "core/title_key.h"
#include "fuzz_files.h"

namespace {

class Articles : public BookmarkArticles {
 public:
  Articles() {
    CBitString positions(10, FALSE);
    positions.SetBit(3, TRUE, FALSE, 0, 0);
    positions.SetBit(8, TRUE, FALSE, 0, 0);
    main_ = positions.Not();
    numbering_.Build(positions);
  }
  int ArticleCount() const override { return 10; }
  int MainEntryCount() const override { return 8; }
  int UpdateEntryCount() const override { return 2; }
  const CBitString& MainArticles() const override { return main_; }
  const ArticleNumbering& Numbering() const override { return numbering_; }
  bool UpdateTitle(int index, char* title) override {
    if (index < 1 || index > 2) return false;
    std::snprintf(title, TitleBufferSize, "%s", index == 1 ? "Mars Pathfinder" : "Sojourner");
    return true;
  }
  int FindUpdateTitle(const char* title) override {
    if (std::strcmp(title, "Mars Pathfinder") == 0) return 1;
    return std::strcmp(title, "Sojourner") == 0 ? 2 : 0;
  }

 private:
  CBitString main_;
  ArticleNumbering numbering_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteFuzzFile("B.DAT", data, size);
  Articles articles;
  CObArray folders, bookmarks;
  const std::string path = FuzzDirectory() + "B.DAT";
  if (LoadBookmarkFile(path.c_str(), folders, bookmarks, articles)) {
    const std::string copy = FuzzDirectory() + "C.DAT";
    if (SaveBookmarkFile(copy.c_str(), folders, bookmarks, articles)) {
      ResetBookmarks(folders, bookmarks);
      LoadBookmarkFile(copy.c_str(), folders, bookmarks, articles);
    }
  }
  ResetBookmarks(folders, bookmarks);
  return 0;
}
