#include "panels/panel_logic.h"

#include <cstdio>

namespace panels {

ItemKind KindOfArticle(int article, const CBitString& media, const CBitString& timeline, const CBitString& dictionary) {
  if (article <= 0) return ItemKind::Article;
  if (media.Test(article)) return ItemKind::MediaItem;
  if (timeline.Test(article)) return ItemKind::TimelineEvent;
  if (dictionary.Test(article)) return ItemKind::DictionaryEntry;
  return ItemKind::Article;
}

Screen ScreenOfKind(ItemKind kind) {
  switch (kind) {
    case ItemKind::MediaItem: return Screen::Media;
    case ItemKind::TimelineEvent: return Screen::Timeline;
    case ItemKind::DictionaryEntry: return Screen::Dictionary;
    case ItemKind::Article: break;
  }
  return Screen::Browser;
}

std::vector<OutlineTreeItem> BuildOutlineTree(const std::vector<display::OutlineEntry>& outline) {
  std::vector<OutlineTreeItem> tree;
  int section = -1;
  bool anyMedia = false;
  for (std::size_t i = 0; i < outline.size(); ++i) {
    const display::OutlineEntry& entry = outline[i];
    const int index = static_cast<int>(i);
    if (entry.level == 0) anyMedia = true;
    if (entry.level == 1) {
      section = static_cast<int>(tree.size());
      tree.push_back({-1, entry.title, entry.kind, index});
    } else if (section >= 0) {
      tree.push_back({section, entry.title, entry.kind, index});
    }
  }
  if (anyMedia) {
    const int branch = static_cast<int>(tree.size());
    tree.push_back({-1, "Multimedia Items", 0, -1});
    for (std::size_t i = 0; i < outline.size(); ++i)
      if (outline[i].level == 0) tree.push_back({branch, outline[i].title, outline[i].kind, static_cast<int>(i)});
  }
  return tree;
}

int SortedFolderPosition(const CStringArray& names, const CString& name) {
  int position = 0;
  while (position < names.GetSize() && names[position].CompareNoCase(name) <= 0) ++position;
  return position;
}

BOOL IsDuplicateFolderName(const CStringArray& names, const CString& name, int except) {
  for (int i = 0; i < names.GetSize(); ++i)
    if (i != except && names[i].Compare(name) == 0) return TRUE;
  return FALSE;
}

int RowOfFolderName(const CStringArray& names, const CString& name) {
  if (name.IsEmpty()) return 0;
  for (int i = 0; i < names.GetSize(); ++i)
    if (names[i].Compare(name) == 0) return i;
  return 0;
}

int RowAfterDelete(int deleted, int remaining) {
  if (remaining <= 0) return -1;
  return deleted < remaining ? deleted : remaining - 1;
}

CString ItemCountText(long count) {
  char text[40];
  std::snprintf(text, sizeof text, "%ld item(s)", count);
  return CString(text);
}

namespace {
struct ModeTexts {
  const char* heading;
  const char* description;
};
constexpr ModeTexts kModes[kModeCount] = {
    {"History", "List of previously viewed articles."},        {"Related To Event", "Articles related to Timeline."},
    {"Related To Media", "Articles related to media object."}, {"Clue", "Articles related to quiz question."},
    {"Subject Links", "Articles on the same subject."},
};
const ModeTexts& Mode(int mode) { return kModes[mode >= 0 && mode < kModeCount ? mode : kHistoryMode]; }
}  // namespace

const char* ArticleListHeading(int mode) { return Mode(mode).heading; }
const char* ArticleListDescription(int mode) { return Mode(mode).description; }

}  // namespace panels
