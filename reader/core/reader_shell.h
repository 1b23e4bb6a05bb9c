// ReaderShell: what the screens, panels and search windows ask of the
// program's main window: showing a screen or an item on it, looking a word
// up in the dictionary, playing a sound, the Preferences, the text file
// dialog, and the query session. (The panels the screens share across
// switches have their own host, panels/tool_panel_host.h.) The main frame implements it; the others reach it through
// GetReaderShell() and never name the frame.
#pragma once

#include "core/query_history.h"
#include "core/reader_screen.h"
#include "core/screen_registry.h"
#include "framework.h"

class ReaderShell {
 public:
  virtual ~ReaderShell() = default;

  // --- the screens ---
  // Makes the screen the active view (creating it on first use); FALSE after
  // its own message when it cannot be shown.
  virtual BOOL ShowScreen(Screen screen) = 0;
  // Shows the screen, then `item` on it (ItemScreen::ShowItem); FALSE when
  // the screen cannot be shown or takes no items.
  virtual BOOL ShowItem(Screen screen, int item) = 0;
  // The screen's view, or null when it was not made yet.
  virtual CView* GetScreen(Screen screen) const = 0;
  // The view shown now, or null.
  virtual CView* GetActiveScreen() const = 0;
  // Closes the panels, shows the dictionary and looks the word up there.
  virtual void LookUpWord(const CString& word) = 0;
  // Plays a sound file, or stops the sound with null. TRUE when a sound started.
  virtual BOOL PlaySound(const char* file) = 0;
  virtual void ShowPreferences() = 0;
  // The Save dialog for a text file; FALSE when the reader cancels it.
  virtual BOOL AskTextFileName(CString& path) = 0;
  // The screens store their notes and highlights, then Bookmark.dat is written.
  virtual BOOL SaveBookmarks() = 0;

  // --- the queries ---
  virtual QuerySession& Queries() = 0;
  // The query becomes the current one and the newest of the history, and its
  // results window opens at its top. `terms` may be null.
  virtual void AddQueryToHistory(const CBitString& set, const CString& text, int kind, const CStringArray* terms,
                                 BOOL plain) = 0;
  // Runs the entry `steps` back (1 = newest) again.
  virtual void RecallQuery(int steps) = 0;
};

// The shell of the running program: its main window; null before the main
// window is made and after it has gone.
ReaderShell* GetReaderShell();

// A click on screen button `id`, pressed on the screen `own`: shows the
// button's screen and returns TRUE; FALSE for an id that is no screen button
// and for `own`'s own button.
BOOL ShowScreenOfButton(UINT id, Screen own);

// The screen whose look a window's panels and dialogs take: a screen view
// says which it is, the main frame owns the media gallery's pop-up windows,
// and any other window counts as the encyclopedia's.
Screen OwnerScreen(CWnd* owner);
