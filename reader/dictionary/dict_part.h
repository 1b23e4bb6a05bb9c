// CDictPart: a part of the dictionary view that takes some of its commands
// (CDict::OnCmdMsg routes them to it through the part's message map). It
// works on the view through DictPartOwner and is never copied.
#pragma once

#include "framework.h"

class CContentDb;
class CDictListBox;
class CDictPanels;
class CDictSharedWindows;
class CDictWordSearch;
class CDisplay;
class CFlatEdit;
class CFrameListBox;
class CODButton;
namespace dict {
struct ScreenLayout;
}

// What the dictionary view's parts ask of the view: the view itself, the
// mode and its database, the word edit and the screen's buttons, the windows
// that show an entry, the panels over the left column, the places of the
// layout, and the steps of the view that more than one part takes.
class DictPartOwner {
 public:
  virtual ~DictPartOwner() = default;

  // The view: the parent of the parts' windows, where the focus goes back.
  virtual CView& View() = 0;
  // The mode (dict::Mode; its owner is CDictModes) and the mode's database.
  virtual int GetMode() const = 0;
  virtual CContentDb& ModeDatabase() const = 0;

  // The word edit and its text; the word buttons' states for it.
  virtual CFlatEdit& WordEdit() = 0;
  virtual CString GetWord() const = 0;
  virtual void UpdateWordButtons() = 0;
  // A button of the screen by its control id; null for none.
  virtual CODButton* Button(UINT id) = 0;
  // Look Up, and the word searches (Enter runs one of them).
  virtual void OnLookUp() = 0;
  virtual CDictWordSearch& WordSearch() = 0;

  // The windows in the entry's place: the display, the thesaurus list and
  // the conjugation window.
  virtual CDisplay& Display() = 0;
  virtual CDictListBox& ThesaurusList() = 0;
  virtual CFrameListBox& ConjugationWindow() = 0;
  // Empties the display, keeping the notes and highlights of a main-database entry.
  virtual void ClearEntry() = 0;
  virtual void EnablePrintSave(BOOL enable) = 0;
  // The dictionary mode for an entry chosen elsewhere, and showing it.
  virtual void OnDictionaryMode() = 0;
  virtual void ShowEntry(DWORD entry) = 0;

  // The word-list panels and the shared windows of modes 5 to 8.
  virtual CDictPanels& Panels() = 0;
  virtual CDictSharedWindows& SharedWindows() = 0;
  // The places of the screen's layout, the word box and the heading.
  virtual const dict::ScreenLayout& Layout() const = 0;
  virtual const CRect& WordBox() const = 0;
  virtual const CRect& HeadingRect() const = 0;
};

class CDictPart : public CCmdTarget {
 public:
  explicit CDictPart(DictPartOwner& view) : m_view(view) {}
  CDictPart(const CDictPart&) = delete;
  CDictPart& operator=(const CDictPart&) = delete;

 protected:
  DictPartOwner& m_view;
};
