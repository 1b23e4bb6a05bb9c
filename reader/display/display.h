// CDisplay: the formatted-text display of the encyclopedia, dictionary and
// timeline screens (control id 2089). It takes an entry's token chunks into
// its text model (text_model.h), paints the runs in the article fonts and the
// colours of their marks, selects and highlights runs with the mouse, follows
// cross references, marks find hits, keeps notes and highlights, copies and
// prints its runs, and scrolls by lines with a skinned scroll bar of its own
// in the non-client area (arrows, previous and next find hit, thumb).
#pragma once

#include <vector>

#include "controls/note_icon.h"
#include "display/annotations.h"
#include "display/display_services.h"
#include "display/text_find.h"
#include "display/text_model.h"
#include "framework.h"
#include "messages/window_messages.h"
#include "re_blocks.h"

class CDisplay : public CWnd, public CNoteIconHost {
  DECLARE_DYNCREATE(CDisplay)
 public:
  static constexpr UINT kControlId = 2089;
  static constexpr UINT_PTR kDragTimer = 13364;
  // Repeat timers of the bar's parts are the part + 20.
  static constexpr UINT_PTR kPartTimerBase = 20;
  // Width of the note strip at the right of the text.
  static constexpr int kNoteStrip = 34;
  static constexpr int kBarWidth = 17;
  // Cursors.
  static constexpr UINT kHighlightCursor = 2035;
  static constexpr UINT kNoteCursor = 1079;
  static constexpr UINT kNoteOutsideCursor = 1242;

  // Parts of the scroll bar and their states.
  enum BarButton { kUpArrow = 0, kDownArrow = 1, kPreviousHit = 2, kNextHit = 3 };
  enum ButtonState { kNormal = 0, kPressed = 1, kDisabled = 2 };

  // The mouse as the bar's repeat and the drag's auto-scroll read it; tests
  // may replace both.
  static BOOL (*s_isButtonDown)();
  static POINT (*s_cursorPos)();

  CDisplay();
  ~CDisplay() override;

  // Creates the child window with the scroll-bar bitmaps of a skin type (1
  // encyclopedia, 2 dictionary, 16 timeline).
  BOOL Create(CWnd* parent, const RECT& rect, DWORD style, UINT id, int skinType);

  // The model (text_model.h).
  int ResetContent();
  void FreeContent();
  int AddText(const ReTokenBlock* chunk);
  const display::TextModel& Model() const { return m_model; }
  const std::vector<display::OutlineEntry>& Outline() const { return m_model.Outline(); }
  int GetThumbnailCount() const { return static_cast<int>(m_thumbnails.size()); }
  CWnd* GetThumbnail(int i) const { return m_thumbnails[static_cast<std::size_t>(i)].window; }
  int GetNoteCount() const { return static_cast<int>(m_notes.size()); }
  // Note icons in the order of their places.
  CNoteIcon* GetNote(int i) const { return m_notes[static_cast<std::size_t>(i)].icon; }
  CRect GetObjectRect(int block, int x, int y, int width, int height) const;

  // Painting.
  void PaintContent(CDC* dc, const CRect* update);
  void PaintParagraph(int index, CDC* dc, const CRect& rect);
  void RepaintRun(int run);

  // Mouse, selection, highlighter.
  void SetHighlightMode(BOOL on) { m_highlightMode = on; }
  BOOL GetHighlightMode() const { return m_highlightMode; }
  void SetNoteMode(BOOL on) override { m_noteMode = on; }
  BOOL GetNoteMode() const { return m_noteMode; }
  BOOL HasSelection() const { return m_model.AnyMark(display::kMarkSelected); }
  void ClearSelection();

  // Finding words.
  int FindWords(LPCTSTR query, BOOL matchCase, BOOL wholeWord, BOOL goToFirst);
  void ClearFindHits();
  int HasFindHits() const { return m_find.count; }
  int GetFirstHit() const { return m_find.count > 0 ? m_find.firstHit : display::kNone; }
  int GetLastHit() const { return m_find.count > 0 ? m_find.lastHit : display::kNone; }
  void GoToHit(int step, BOOL force);

  // Notes and highlights.
  CNoteIcon* AddNote(int run, LPCTSTR text, BOOL changed);
  void RemoveChild(CWnd* child) override;
  void EditNote(CNoteIcon* icon) override;
  void StoreAnnotations(int article);
  void RestoreAnnotations(int article);
  BOOL HasHighlights() const { return m_model.AnyMark(display::kMarkHighlighted); }
  void ClearHighlights();
  BOOL AnnotationsChanged() const { return m_annotationsChanged; }
  // A note's text was edited.
  void MarkAnnotationsChanged() { m_annotationsChanged = TRUE; }

  // Copying and printing.
  int CopyAll(HGLOBAL* handle);
  int CopySelection(HGLOBAL* handle);
  int PrintRuns(CDC* dc, CPrintInfo* info, int firstRun);

  // Scrolling.
  int ScrollBy(int code, int line);
  void SetLineRange(int first, int last, BOOL redraw);
  void GetLineRange(int& first, int& last) const {
    first = m_firstLine;
    last = m_lastLine;
  }
  int GetTopLine() const { return m_topLine; }
  int GetTopOffset() const;
  int GetLastVisibleLine() const;
  int SetTopLine(int line, BOOL redraw);
  void ScrollToRun(int run, BOOL force);
  void ScrollChildIntoView(UINT id);
  void ScrollToPosition(unsigned number);
  int GetButtonState(int button) const { return m_buttonState[button]; }
  // Parts of the bar in window coordinates.
  CRect GetButtonRect(int button) const { return m_buttonRect[button]; }
  CRect GetTrackRect() const { return m_track; }
  CRect GetThumbRect() const { return m_thumb; }

 protected:
  struct Thumbnail {
    CWnd* window;
    int itemIndex;
  };
  struct Note {
    CNoteIcon* icon;
    int top;  // model coordinates
  };
  class Intake;
  class Printer;

  // The client width the text is laid out for: less the note strip.
  int LayoutWidth() const;
  int ClientHeight() const;
  void DrawRun(CDC* dc, int run);
  void SetColours(CDC* dc, u8 marks);
  void RepaintRuns(const std::vector<int>& runs);
  HGLOBAL GlobalText(const std::string& text);
  void DestroyThumbnailsFrom(std::size_t count);

  // Mouse.
  display::TextModel::Hit HitTestClient(CPoint point) const;
  LRESULT OnLButtonDownMessage(WPARAM wParam, LPARAM lParam);
  void OnMouseMove(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnLButtonDblClk(UINT flags, CPoint point);
  BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  void FollowCrossReference(int run);
  void DragTo(int end);
  void SetCursorFor(const display::TextModel::Hit& hit, BOOL buttonDown);

  // Scroll bar.
  void LoadSkin(int skinType);
  void LayoutBar();
  void PlaceThumb();
  void PaintBar(CDC* dc);
  void RedrawBar();
  CPoint WindowPoint(CPoint screen) const;
  CRect ClientInWindow() const;
  void PressBar(CPoint windowPoint);
  void EndThumbDrag();
  void DrawDragOutline();
  LRESULT OnScrollPart(WPARAM part, LPARAM first);

  // Messages.
  int OnCreate(LPCREATESTRUCT create);
  void OnDestroy();
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  LRESULT OnColoursChanged(WPARAM, LPARAM);
  void OnKeyDown(UINT key, UINT repeat, UINT flags);
  UINT OnGetDlgCode();
  void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
  void OnNcPaint();
  UINT OnNcHitTest(CPoint point);
  void OnNcLButtonDown(UINT hitTest, CPoint point);
  void OnNcLButtonDblClk(UINT hitTest, CPoint point);
  void OnSize(UINT type, int cx, int cy);
  void OnTimer(UINT id);
  BOOL OnToolTipText(UINT id, NMHDR* header, LRESULT* result);
  DECLARE_MESSAGE_MAP()

  display::TextModel m_model;
  display::FindState m_find;
  std::vector<Thumbnail> m_thumbnails;
  std::vector<Note> m_notes;
  int m_skinType = 1;

  // Interaction.
  int m_dragMode = 0;  // 1 marking, 0 unmarking
  BOOL m_highlightMode = FALSE;
  BOOL m_noteMode = FALSE;
  int m_anchor = display::kNone;
  int m_end = display::kNone;
  BOOL m_annotationsChanged = FALSE;
  BOOL m_dragTimer = FALSE;
  CString m_tipText;

  // Scrolling.
  int m_firstLine = 1;
  int m_lastLine = 1;
  int m_topLine = 1;
  int m_buttonState[4] = {kDisabled, kDisabled, kDisabled, kDisabled};
  CRect m_buttonRect[4];
  CRect m_track;
  CRect m_thumb;
  CBitmap m_buttonBitmap[4];
  CBitmap m_thumbBitmap;
  int m_partTimer = -1;  // the part whose repeat timer runs
  BOOL m_thumbDrag = FALSE;
  CRect m_dragRect;
  CRect m_dragStart;
  BOOL m_outlineShown = FALSE;

  // Cursors.
  HCURSOR m_highlightCursor = nullptr;
  HCURSOR m_arrowCursor = nullptr;
  HCURSOR m_linkCursor = nullptr;
  HCURSOR m_noteCursor = nullptr;
  HCURSOR m_noteOutsideCursor = nullptr;
};
