// CDisplay: the mouse on the text: selection, highlighter, notes, cross
// references and the double-click look-up.
#include <algorithm>
#include <cstdlib>

#include "display/display.h"
#include "display/text_find.h"

using display::kNone;
using display::Run;
using display::TextModel;

TextModel::Hit CDisplay::HitTestClient(CPoint point) const {
  CRect client;
  GetClientRect(&client);
  return m_model.HitTest(point.x, point.y + GetTopOffset(), client.Width(), m_noteMode != FALSE);
}

void CDisplay::ClearSelection() {
  m_model.ClearMark(display::kMarkSelected);
  if (m_hWnd != nullptr) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

LRESULT CDisplay::OnLButtonDownMessage(WPARAM wParam, LPARAM lParam) {
  const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  if (HasSelection() && !(wParam & MK_CONTROL) && !m_noteMode) {
    ClearSelection();
    return 0;
  }
  SetCapture();
  SetFocus();
  const TextModel::Hit hit = HitTestClient(point);
  if (hit.paragraph == kNone || hit.line == kNone) {
    ::ReleaseCapture();
    return 0;
  }
  const display::Line& line = m_model.GetLine(hit.line);
  int run = hit.run;
  if (run == kNone) {
    // Beside a line's text only a note can be placed: at the line's last run.
    if (!m_noteMode || line.runCount == 0) return 0;
    run = line.firstRun + line.runCount - 1;
  }
  if (m_noteMode) {
    CNoteIcon* icon = AddNote(run, nullptr, TRUE);
    SetFocus();
    ::ReleaseCapture();
    return reinterpret_cast<LRESULT>(icon);
  }
  m_anchor = m_end = run;
  Run& r = m_model.RunAt(run);
  if (m_highlightMode) {
    r.marks ^= display::kMarkHighlighted;
    m_dragMode = (r.marks & display::kMarkHighlighted) ? 1 : 0;
    m_annotationsChanged = TRUE;
  } else if (r.marks & display::kMarkSelected) {
    r.marks &= static_cast<u8>(~display::kMarkSelected);
    m_dragMode = 0;
  } else if (r.style == display::kStyleCrossReference) {
    ::ReleaseCapture();
    m_anchor = m_end = kNone;
    FollowCrossReference(run);
    return 0;
  } else {
    r.marks |= display::kMarkSelected;
    m_dragMode = 1;
  }
  RepaintRun(run);
  return 0;
}

// The article number of a cross reference stands in the first hidden runs
// after it, also past other runs (punctuation, a blank) between. A later
// cross reference met first has the number: this one then has none.
void CDisplay::FollowCrossReference(int run) {
  int r = run;
  bool pastReference = false;
  for (; r < m_model.RunCount() && m_model.GetRun(r).style != display::kStyleHidden; ++r) {
    const bool reference = m_model.GetRun(r).style == display::kStyleCrossReference;
    if (reference && pastReference) return;
    pastReference = pastReference || !reference;
  }
  std::string number;
  for (; r < m_model.RunCount() && m_model.GetRun(r).style == display::kStyleHidden; ++r) {
    number += m_model.RunString(r);
  }
  const long article = std::strtol(number.c_str(), nullptr, 10);
  CWnd* parent = GetParent();
  if (article != 0 && parent != nullptr) parent->PostMessage(WM_CROSSREF, 0, static_cast<LPARAM>(article));
}

void CDisplay::DragTo(int end) {
  if (end == m_end || m_anchor == kNone || end == kNone) return;
  const u8 mark = m_highlightMode ? display::kMarkHighlighted : display::kMarkSelected;
  const bool on = m_dragMode == 1;
  // Runs the drag covers from the anchor now, and covered before.
  const int newLow = std::min(m_anchor, end), newHigh = std::max(m_anchor, end);
  const int oldLow = std::min(m_anchor, m_end), oldHigh = std::max(m_anchor, m_end);
  std::vector<int> changed;
  for (int r = std::min(newLow, oldLow); r <= std::max(newHigh, oldHigh); ++r) {
    if (r == m_anchor) continue;
    const bool nowCovered = r >= newLow && r <= newHigh;
    const bool wasCovered = r >= oldLow && r <= oldHigh;
    if (nowCovered == wasCovered) continue;
    // Newly covered runs take the drag's state; runs it leaves take the other.
    const bool set = nowCovered ? on : !on;
    Run& run = m_model.RunAt(r);
    const u8 marks = set ? static_cast<u8>(run.marks | mark) : static_cast<u8>(run.marks & ~mark);
    if (marks == run.marks) continue;
    run.marks = marks;
    changed.push_back(r);
  }
  m_end = end;
  RepaintRuns(changed);
}

void CDisplay::SetCursorFor(const TextModel::Hit& hit, BOOL buttonDown) {
  HCURSOR cursor = m_arrowCursor;
  if (m_noteMode) {
    cursor = (hit.line != kNone || buttonDown) ? m_noteCursor : m_noteOutsideCursor;
  } else if (hit.run != kNone && m_model.GetRun(hit.run).style == display::kStyleCrossReference) {
    cursor = m_linkCursor;
  } else if (m_highlightMode && hit.run != kNone) {
    cursor = m_highlightCursor;
  }
  ::SetCursor(cursor);
}

void CDisplay::OnMouseMove(UINT flags, CPoint point) {
  if (m_dragTimer) {
    KillTimer(kDragTimer);
    m_dragTimer = FALSE;
  }
  if (flags == 0xFFFF) {
    // Posted by the auto-scroll timer: the pointer and the button as they are now.
    point = s_cursorPos();
    ScreenToClient(&point);
    flags = s_isButtonDown() ? MK_LBUTTON : 0;
  }
  if (m_bar.DragThumb(point)) return;
  CRect client;
  GetClientRect(&client);
  const BOOL buttonDown = (flags & MK_LBUTTON) != 0;
  if (buttonDown && !m_noteMode && m_anchor != kNone) {
    if (point.y < 0) {
      ScrollBy(2, 0);
      UpdateWindow();
      SetTimer(kDragTimer, 200);
      m_dragTimer = TRUE;
      point = CPoint(0, 0);
    } else if (point.y >= client.bottom) {
      ScrollBy(3, 0);
      UpdateWindow();
      SetTimer(kDragTimer, 200);
      m_dragTimer = TRUE;
      point = CPoint(client.right - 1, client.bottom - 1);
    }
  }
  if (point.x < 0 || point.x >= client.right) {
    if (m_noteMode) {
      ::SetCursor(m_noteOutsideCursor);
      return;
    }
    point.x = std::clamp(point.x, 0L, client.right - 1);
  }
  const TextModel::Hit hit = HitTestClient(point);
  if (buttonDown && !m_noteMode && m_anchor != kNone) {
    int end = hit.run;
    if (hit.paragraph == kNone || hit.line == kNone) {
      end = m_model.RunCount() - 1;
    } else if (end == kNone) {
      const display::Line& line = m_model.GetLine(hit.line);
      if (line.runCount > 0) end = hit.beforeStart ? line.firstRun : line.firstRun + line.runCount - 1;
    }
    DragTo(end);
    return;
  }
  SetCursorFor(hit, buttonDown);
}

void CDisplay::OnLButtonUp(UINT, CPoint) {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_bar.Release()) return;  // a thumb drag ended
  m_anchor = m_end = kNone;
}

void CDisplay::OnLButtonDblClk(UINT, CPoint point) {
  const TextModel::Hit hit = HitTestClient(point);
  if (hit.run == kNone) return;
  Run& run = m_model.RunAt(hit.run);
  if (run.marks & display::kMarkSelected) {
    run.marks &= static_cast<u8>(~display::kMarkSelected);
    RepaintRun(hit.run);
  }
  // The word: from the first letter or digit to the first blank, or to a
  // character that is neither letter nor digit and is not followed by one,
  // or that stands in the last two places.
  const std::string text = m_model.RunString(hit.run);
  std::size_t start = 0;
  while (start < text.size() && !display::IsLetterOrDigit(static_cast<unsigned char>(text[start]))) ++start;
  const std::string rest = text.substr(start);
  std::size_t end = 0;
  for (; end < rest.size(); ++end) {
    const unsigned char c = static_cast<unsigned char>(rest[end]);
    if (c == ' ') break;
    if (display::IsLetterOrDigit(c)) continue;
    const bool followed = end + 1 < rest.size() && display::IsLetterOrDigit(static_cast<unsigned char>(rest[end + 1]));
    if (!followed || end + 2 >= rest.size()) break;
  }
  const std::string word = rest.substr(0, end);
  if (!word.empty()) DisplayServices().LookUpWord(word.c_str());
}

BOOL CDisplay::OnSetCursor(CWnd*, UINT, UINT) { return FALSE; }
