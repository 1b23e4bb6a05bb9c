// What the main frame needs of every screen's view besides the class
// library's: which screen it is, the state of its search panels, hiding
// them, and storing the notes and highlights of what it shows, and which
// article it shows. Each view derives from this too. And ItemScreen: what
// the screens, the panels and the frame ask of a screen that shows items.
#pragma once

#include "core/screen_registry.h"
#include "framework.h"

// The search state the frame keeps across screen switches.
struct SearchState {
  CString findText;       // the contents window's search text
  BOOL filters[14] = {};  // the filter toggles of the results and contents windows
  int contentsSelection = -1, contentsTop = 0;
  int resultsSelection = -1, resultsTop = 0;
  int bookmarkSelection = -1, bookmarkTop = 0;
  int bookmark2Selection = -1, bookmark2Top = 0;
};

enum class ScreenPanel { Results, Contents, Bookmarks };

// A panel whose toggles, selection and list positions the search state keeps
// across screen switches (the results, contents and bookmark list windows).
class SearchStatePanel {
 public:
  virtual ~SearchStatePanel() = default;
  // Copies them into `state`.
  virtual void SaveState(SearchState& state) = 0;
};

class ReaderScreen {
 public:
  virtual ~ReaderScreen() = default;
  // Which screen the view is: the panels and pictures it opens take their
  // look and behaviour from the screen's entry (screen_registry.h).
  virtual Screen GetScreenKind() const = 0;
  // Copies the state of the screen's open panels into `state`.
  virtual void SaveSearchState(SearchState& state) { (void)state; }
  // Hides the screen's window of that kind, when it has one.
  virtual void HidePanel(ScreenPanel panel) { (void)panel; }
  // Stores the notes and highlights of the article shown into its bookmark.
  virtual void StoreAnnotations() {}
  // The article (entry, event) the screen shows; -1 when none.
  virtual int GetShownArticle() const { return -1; }
};

// A screen's one operation that puts an item on it: the encyclopedia's
// ShowArticle(article), the dictionary's ShowEntry(article), the timeline's
// SetCurrentArticle(event) and the media gallery's GoToItem(item index).
class ItemScreen {
 public:
  virtual ~ItemScreen() = default;
  virtual void ShowItem(int item) = 0;

  // The lists of main-database entries that another screen hands over.
  enum class EntryList { RelatedToMedia, QuizClue };
  // Shows the entries: the encyclopedia shows the first and lists them all
  // beside it (a media item's one related article alone, without a list).
  // The other screens take no lists.
  virtual void ShowEntries(const CDWordArray& entries, EntryList list) {
    (void)entries;
    (void)list;
  }
};

// The screen whose pictures bring their own palettes (the media gallery): a
// picture loaded for a window inside it hands it its palette.
class PaletteScreen {
 public:
  virtual ~PaletteScreen() = default;
  virtual void SetPalette(CPalette* palette) = 0;
};

// A view's part of a screen switch: the active view carries the frame's
// first-pane id, shows, and puts its screen's menu (loaded once into `menu`)
// on the main window; an inactive one takes its screen's child id back and
// hides.
void ActivateScreen(CView* view, BOOL activate, Screen screen, CMenu& menu);
// Paints a screen's background picture over the client area.
void PaintScreenBackground(CWnd* view, CDC* dc);
