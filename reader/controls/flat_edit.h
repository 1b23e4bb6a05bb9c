// CFlatEdit: the common edit field with a thin two-colour border of its own.
// CHoverEdit: a read-only text field that shows its whole text in a pop-up
// strip over its parent while the mouse rests on it and the text is too long.
#pragma once

#include "controls/screen_patch.h"
#include "controls/skin_environment.h"

class CFlatEdit : public CEdit {
 public:
  // Brush index meaning "the palette is not selected".
  static constexpr int kNoPalette = 10;

  // Places the parent's edit of that id (made when there is none) in rect.
  BOOL Create(const RECT* rect, CWnd* parent, UINT id, int firstBrush, int secondBrush);
  int GetFirstBrush() const { return m_firstBrush; }
  int GetSecondBrush() const { return m_secondBrush; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PaintFrame();

  int m_firstBrush = 0;
  int m_secondBrush = 0;
};

class CHoverEdit : public CEdit {
 public:
  static constexpr UINT_PTR kHoverTimer = 100;
  static constexpr UINT kHoverDelay = 500;

  // Places the parent's edit of that id (made read-only when there is none).
  BOOL Create(const RECT& rect, CWnd* parent, UINT id, int skin);
  void SetSkin(int skin) { m_skin = skin; }
  int GetSkin() const { return m_skin; }
  BOOL IsPopupShown() const { return m_popupShown; }
  // The pop-up's rectangle on the screen (empty when none).
  CRect GetPopupRect() const { return m_popupShown ? m_popupRect : CRect(); }
  // Shows the pop-up now when the text does not fit (the timer's work).
  void ShowPopup();
  void RemovePopup();

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void DrawStrip(CDC& dc, const CRect& rect, BOOL clipText);
  void OnMouseMove(CPoint point);

  int m_skin = kSkinMedia;
  UINT_PTR m_timer = 0;
  BOOL m_popupShown = FALSE;
  CScreenPatch m_under;
  CRect m_popupRect;
};
