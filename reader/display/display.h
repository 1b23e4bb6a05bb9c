// CDisplay: the formatted-text display of the encyclopedia, dictionary and
// timeline screens (control id 2089). It takes an entry's token chunks into
// its text model (text_model.h), paints the runs in the article fonts and the
// colours of their marks, selects and highlights runs with the mouse, follows
// cross references, marks find hits, keeps notes and highlights, copies and
// prints its runs, and scrolls by lines with a skinned scroll bar of its own
// in the non-client area (line_scroll_bar.h).
#pragma once

#include <vector>

#include "controls/note_icon.h"
#include "display/annotations.h"
#include "display/display_services.h"
#include "display/line_scroll_bar.h"
#include "display/text_find.h"
#include "display/text_model.h"
#include "framework.h"
#include "messages/window_messages.h"
#include "zorlre/re_blocks.h"

class CDisplay : public CWnd, public CNoteIconHost, public display::LineScrollOwner {
  DECLARE_DYNCREATE(CDisplay)
 public:
  static constexpr UINT kControlId = 2089;
  static constexpr UINT_PTR kDragTimer = 13364;
  // Width of the note strip at the right of the text.
  static constexpr int kNoteStrip = 34;
  // Cursors.
  static constexpr UINT kHighlightCursor = 2035;
  static constexpr UINT kNoteCursor = 1079;
  static constexpr UINT kNoteOutsideCursor = 1242;

  // Parts of the scroll bar and their states.
  using enum display::LineScrollBar::Button;
  using enum display::LineScrollBar::ButtonState;

  // The mouse as the bar's repeat and the drag's auto-scroll read it; tests
  // may replace both.
  static BOOL (*s_isButtonDown)();
  static POINT (*s_cursorPos)();

  CDisplay();
  ~CDisplay() override;

  // Creates the child window with the scroll-bar bitmaps of a skin type (1
  // encyclopedia, 2 dictionary, 16 timeline).
  BOOL Create(CWnd* parent, const RECT& rect, DWORD style, UINT id, int skinType);
  // The skin it was made in; its note dialog takes the same.
  int GetSkin() const { return m_skin; }

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
  void GoToHit(int step, BOOL force) override;

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
  int ScrollBy(int code, int line) override;
  void GetLineRange(int& first, int& last) const {
    first = m_bar.FirstLine();
    last = m_bar.LastLine();
  }
  int GetTopLine() const { return m_bar.TopLine(); }
  int GetTopOffset() const;
  int GetLastVisibleLine() const;
  void ScrollToRun(int run, BOOL force);
  void ScrollChildIntoView(UINT id);
  void ScrollToPosition(unsigned number);
  int GetButtonState(int button) const { return m_bar.GetButtonState(button); }
  // Parts of the bar in window coordinates.
  CRect GetButtonRect(int button) const { return m_bar.GetButtonRect(button); }
  CRect GetTrackRect() const { return m_bar.GetTrackRect(); }
  CRect GetThumbRect() const { return m_bar.GetThumbRect(); }

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

  // The scroll bar takes the messages of its own first.
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  // LineScrollOwner: the bar scrolls this window.
  CWnd& BarWindow() override { return *this; }
  BOOL MouseButtonDown() const override { return s_isButtonDown(); }
  POINT MousePosition() const override { return s_cursorPos(); }

  // Messages.
  int OnCreate(LPCREATESTRUCT create);
  void OnDestroy();
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  LRESULT OnColoursChanged(WPARAM, LPARAM);
  void OnKeyDown(UINT key, UINT repeat, UINT flags);
  UINT OnGetDlgCode();
  void OnSize(UINT type, int cx, int cy);
  void OnTimer(UINT id);
  BOOL OnToolTipText(UINT id, NMHDR* header, LRESULT* result);
  DECLARE_MESSAGE_MAP()

  display::TextModel m_model;
  display::FindState m_find;
  std::vector<Thumbnail> m_thumbnails;
  std::vector<Note> m_notes;
  display::LineScrollBar m_bar{*this};

  // Interaction.
  int m_skin = kSkinEncyclopedia;
  int m_dragMode = 0;  // 1 marking, 0 unmarking
  BOOL m_highlightMode = FALSE;
  BOOL m_noteMode = FALSE;
  int m_anchor = display::kNone;
  int m_end = display::kNone;
  BOOL m_annotationsChanged = FALSE;
  BOOL m_dragTimer = FALSE;
  CString m_tipText;

  // Cursors.
  HCURSOR m_highlightCursor = nullptr;
  HCURSOR m_arrowCursor = nullptr;
  HCURSOR m_linkCursor = nullptr;
  HCURSOR m_noteCursor = nullptr;
  HCURSOR m_noteOutsideCursor = nullptr;
};

// The display a screen's window holds (its child kControlId); nullptr when
// the window is gone or holds none.
CDisplay* DisplayOf(CWnd* screen);
