// CNoteIcon: the 32 x 32 child window that marks a reader's note in a
// formatted-text display. A double click opens the note; it can be dragged
// to another place in the text, or deleted by dropping it on the delete
// control (id 1087) or with the Delete key.
#pragma once

#include "controls/skin_environment.h"

class CNoteIcon;

// What the note icon needs of the display it sits in; the display implements
// it (EditNote goes on to the note dialog of the screen that owns the display).
class CNoteIconHost {
 public:
  virtual ~CNoteIconHost() = default;
  virtual void SetNoteMode(BOOL on) = 0;
  virtual void RemoveChild(CWnd* child) = 0;
  virtual void EditNote(CNoteIcon* icon) = 0;
};

class CNoteIcon : public CWnd {
 public:
  static constexpr UINT kDeleteControl = 1087;
  static constexpr UINT kClosedIcon = 0x436;
  static constexpr UINT kOpenIcon = 0x435;
  static constexpr UINT kDragCursor = 0x437;
  static constexpr UINT kDeleteCursor = 0x4DA;
  static constexpr UINT kNoDropCursor = 0x4DD;
  // A drag starts past this many pixels from the press point.
  static constexpr int kDragThreshold = 5;

  CNoteIcon();
  ~CNoteIcon() override;

  BOOL Create(DWORD style, const RECT& rect, CWnd* display, UINT id);
  void SetNoteText(const CString& text) { m_text = text; }
  const CString& GetNoteText() const { return m_text; }
  void SetTextPosition(int run) { m_position = run; }
  int GetTextPosition() const { return m_position; }
  void SetShown(BOOL shown) { m_shown = shown; }
  BOOL IsDragging() const { return m_dragging; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;

 private:
  CNoteIconHost* Host() const;
  void OnMove(CPoint point);
  // Returns TRUE when the icon destroyed itself.
  BOOL OnRelease(CPoint point);
  void SetDeleteHover(HWND control);
  // The icon leaves its display: the window goes and the object with it.
  void Discard();

  CString m_text;
  HICON m_closedIcon = nullptr;
  HICON m_openIcon = nullptr;
  HCURSOR m_dragCursor = nullptr;
  HCURSOR m_arrowCursor = nullptr;
  HCURSOR m_deleteCursor = nullptr;
  HCURSOR m_noDropCursor = nullptr;
  HWND m_deleteHover = nullptr;
  BOOL m_shown = TRUE;
  BOOL m_dragging = FALSE;
  CPoint m_press;
  int m_position = 0;
  BOOL m_selfDelete = FALSE;
};
