// What the tool windows decide without a window: which screen shows an
// article, the outline tree of an article, the order and names of bookmark
// folders, and the texts of the article list's modes. Nothing here calls
// Windows, so it builds in every tree and is tested natively.
#pragma once

#include <string>
#include <vector>

#include "afx_core.h"
#include "core/bit_string.h"
#include "core/screen_registry.h"
#include "display/text_model.h"

namespace panels {

// What an article is, and so which screen shows it.
enum class ItemKind { Article, MediaItem, TimelineEvent, DictionaryEntry };

// The kind of an article by the sets it is in, tested in the order media
// (Mult), timeline (Tml), dictionary (Vorn); an article of none, or no
// article (0 or less), is the encyclopedia's.
ItemKind KindOfArticle(int article, const CBitString& media, const CBitString& timeline, const CBitString& dictionary);
// The screen that shows items of `kind`.
Screen ScreenOfKind(ItemKind kind);

// One item of the outline tree, in the order of insertion.
struct OutlineTreeItem {
  int parent;  // index of the parent item in the list; -1 for a top-level item
  std::string text;
  int image;  // the outline entry's kind (0 for the "Multimedia Items" branch)
  int data;   // the outline entry's index; -1 for the "Multimedia Items" branch
};

// The tree of an outline: every section title at the top level with the
// entries that follow it (subsections and media objects) under it; entries
// before the first section title are left out; then, when there are media
// objects, a "Multimedia Items" branch with all of them in order.
std::vector<OutlineTreeItem> BuildOutlineTree(const std::vector<display::OutlineEntry>& outline);

// Folder names in the order of the application's folder array.
// The index at which `name` goes so that a sorted list stays sorted (after
// the names that compare equal, case folded).
int SortedFolderPosition(const CStringArray& names, const CString& name);
// TRUE when a folder other than `except` (-1: none) is called `name`.
BOOL IsDuplicateFolderName(const CStringArray& names, const CString& name, int except);
// The row of the folder called `name`, or 0 when none is (an empty name
// stands for "no selection").
int RowOfFolderName(const CStringArray& names, const CString& name);
// The row to select after row `deleted` went from a list that now holds
// `remaining` rows: the same row, or the last one; -1 when the list is empty.
int RowAfterDelete(int deleted, int remaining);

// "%ld item(s)".
CString ItemCountText(long count);

// The article list panel's modes.
enum ArticleListMode { kHistoryMode, kEventMode, kMediaMode, kClueMode, kSubjectMode, kModeCount };
const char* ArticleListHeading(int mode);
const char* ArticleListDescription(int mode);

}  // namespace panels
