// CSearchPanel: what the search windows share. Each is a modeless (or, for
// the spelling dialog, modal) dialog skinned after the screen it belongs to:
// a 23-pixel band in the skin's band brush with the window's title, the rest
// in its background brush, controls black on white, hover messages for the
// control under the pointer, the shared palette realised, keyboard messages
// offered to the main window's accelerators first, and a drag by the band
// when the parent is the main window.
#pragma once

#include "controls/hover_tracker.h"
#include "controls/skin_environment.h"
#include "core/screen_registry.h"
#include "framework.h"

class SearchScreen;

class CSearchPanel : public CDialog {
 public:
  static constexpr int kBandHeight = 23;
  // The buttons the docked panels share; Close closes any of them.
  static constexpr UINT kClose = 1083;
  static constexpr UINT kSearch = 2024;
  static constexpr UINT kHelp = 2022;
  static constexpr UINT kClear = 4194;
  static constexpr UINT kSpellCheck = 2078;
  // Help topics of the panels.
  static constexpr DWORD kHelpAdvanced = 42;
  static constexpr DWORD kHelpBoolean = 195;
  static constexpr DWORD kHelpTuner = 30;
  static constexpr DWORD kHelpSmart = 136;

  CSearchPanel() = default;
  explicit CSearchPanel(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

  // The screen the panel belongs to (OwnerScreen: the media gallery's panels
  // are pop-ups under the main frame), and the skin it takes from it.
  Screen GetOwnerScreen() const { return m_screen; }
  int GetSkin() const { return ScreenInfo(m_screen).skin; }
  // The place of the skin in the search windows' tables of looks, which list
  // the encyclopedia's, the timeline's, the media gallery's and the
  // dictionary's.
  int LookIndex() const;
  // Band and background brushes, and the skin of the panel's lists.
  int BandBrush() const { return BrushesOf(GetSkin()).band; }
  int BackgroundBrush() const { return BrushesOf(GetSkin()).background; }
  int ListSkin() const { return GetSkin(); }

  void SetPalette(CPalette* palette);
  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // Creates the dialog under `owner` and takes the skin of the owner's
  // screen; FALSE when the dialog cannot be made.
  BOOL CreatePanel(UINT templateId, CWnd* owner);
  // Sizes the window so that its client area is `rect`, given in the
  // owner's client coordinates (also for a pop-up under the main frame);
  // without an owner, in the parent's coordinates.
  void PlaceWindow(const CRect& rect);
  // Paints the band and background; the title stands at x in the header font.
  void PaintFrame(CDC& dc, const char* title, int titleX);
  // The same with an item count right-aligned in the band, ending at
  // countRight; the title gives way to the count (shortened with "...").
  void PaintFrame(CDC& dc, const char* title, int titleX, const CString& count, int countRight);
  // Draws text centred in the small font inside `area`.
  void DrawSmallText(CDC& dc, const char* text, CRect area);
  // Moves a child to (x, y) keeping its size.
  void MoveChild(CWnd& child, int x, int y);
  CSize ChildSize(CWnd& child) const;
  // Hands the media screen the window's client rectangle in screen
  // coordinates (media owner only).
  void StoreFloatingRect();
  // TRUE when a click in the band drags the window (under the main window).
  virtual BOOL DragsByBand();
  // The application's help at a topic.
  void ShowHelp(DWORD topic);

  // A child's rectangle in client coordinates.
  CRect ChildRect(CWnd& child);

  // What each panel brings to the shared handlers below. The size, destroy
  // and focus handlers serve the panels made with CreatePanel; the modal
  // spelling dialog keeps the dialog's own handling of those messages.
  // Places the controls for the present client size.
  virtual void Layout() {}
  // Paints the window into a palette-realised paint DC.
  virtual void Paint(CDC& dc) = 0;
  // The control that takes the focus given to the panel; none by default.
  virtual CWnd* FocusTarget() { return nullptr; }
  // Saves or releases what the panel holds while its window goes.
  virtual void ReleaseOnDestroy() {}

  void OnPaint();
  void OnSize(UINT type, int cx, int cy);
  // Stores the floating rectangle, then releases; the panel is no longer made.
  void OnDestroy();
  void OnSetFocus(CWnd* old);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
  BOOL OnEraseBkgnd(CDC* dc);
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* focus);
  BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  UINT OnNcHitTest(CPoint point);
  BOOL OnToolTipText(UINT id, NMHDR* header, LRESULT* result);
  DECLARE_MESSAGE_MAP()

  Screen m_screen = Screen::Browser;  // the owner's screen (OwnerScreen), whose skin it takes
  CWnd* m_owner = nullptr;
  CPalette* m_palette = nullptr;
  CHoverTracker m_hover;
  char m_tipText[81] = "";
  // TRUE from the end of a successful Create until the window goes.
  BOOL m_created = FALSE;
  // Made by CreatePanel (not run as a modal dialog).
  BOOL m_modeless = FALSE;
};
