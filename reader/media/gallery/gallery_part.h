// GalleryPartOwner: what the media gallery view's parts (its navigator, its
// tool windows and the media-by-subject panel among them) ask of the view:
// the view itself, showing and reading items, the sound, the screen's
// buttons and menu, and the tool windows' place.
#pragma once

#include "framework.h"

class CGalleryTools;
class CODButton;

class GalleryPartOwner {
 public:
  virtual ~GalleryPartOwner() = default;

  // The view: the timers' window, the owner of dialogs and where the focus goes back.
  virtual CView& View() = 0;

  // Shows item `index`: pop 0 pushes the current one on the back list, pop 1
  // drops the last back-list entry.
  virtual void GoToItem(int index, int pop) = 0;
  // Shows the navigator's current item with its buttons, menu entries and caption.
  virtual void ShowCurrentItem() = 0;
  // The media-list record of item `index`; FALSE when it cannot be read.
  virtual BOOL ReadItem(int index, BYTE& type, WORD& sound, CString& title, CDWordArray& articles) const = 0;
  virtual BOOL IsSoundPlaying() const = 0;

  // The screen's buttons and menu.
  virtual CODButton& GetButton(UINT id) = 0;
  virtual void SetButtonBitmap(UINT id, UINT bitmap) = 0;
  virtual void SetMenuText(UINT id, const char* text) = 0;
  virtual void EnableMenu(UINT id, BOOL enable) = 0;
  virtual void RebuildHistoryMenu() = 0;

  // The tool windows, and where the next one opens (screen coordinates).
  virtual CGalleryTools& GetTools() = 0;
  virtual void SetToolRect(const CRect& rect) = 0;
};
