// CDisplay: painting the runs in the article fonts and the colours of their marks.
#include <algorithm>

#include "display/display.h"

using display::Run;
using display::TextModel;

namespace {

// The colour pair of a run's marks (find hits are drawn inside the run).
int PairOf(u8 marks) {
  if (marks & display::kMarkSelected) return kColoursSelected;
  if (marks & display::kMarkHighlighted) return kColoursHighlighted;
  if (marks & display::kMarkCrossReference) return kColoursCrossReference;
  return kColoursNormal;
}

int BlankHeight(CDC* dc) {
  CFont* old = dc->SelectObject(DisplayServices().GetArticleFont(display::kStyleNormal));
  const int height = dc->GetTextExtent(" ", 1).cy;
  dc->SelectObject(old);
  return height;
}

// Moves the current position by dy.
void ShiftPosition(CDC* dc, int dy) {
  POINT at{};
  ::GetCurrentPositionEx(dc->GetSafeHdc(), &at);
  dc->MoveTo(at.x, at.y + dy);
}

}  // namespace

void CDisplay::SetColours(CDC* dc, u8 marks) {
  const DisplayColours colours = DisplayServices().GetColours(PairOf(marks));
  dc->SetTextColor(colours.text);
  dc->SetBkColor(colours.background);
}

// Draws a run at the current position (which it advances): whole, or with
// its find hit in the find colours when it is neither selected nor highlighted.
void CDisplay::DrawRun(CDC* dc, int run) {
  const Run& r = m_model.GetRun(run);
  const int skip = m_model.LeadingNewlines(run);
  const char* text = m_model.RunText(run);
  const int length = r.length;
  if (skip >= length) return;
  const bool split =
      (r.marks & display::kMarkFindHit) && !(r.marks & (display::kMarkSelected | display::kMarkHighlighted));
  if (!split) {
    dc->TextOut(0, 0, text + skip, length - skip);
    return;
  }
  const int hitStart = std::clamp(static_cast<int>(r.hitStart), skip, length);
  const int hitEnd = std::clamp(hitStart + r.hitLength, hitStart, length);
  if (hitStart > skip) dc->TextOut(0, 0, text + skip, hitStart - skip);
  const COLORREF text0 = dc->GetTextColor(), back0 = dc->GetBkColor();
  const DisplayColours hit = DisplayServices().GetColours(kColoursFindHit);
  dc->SetTextColor(hit.text);
  dc->SetBkColor(hit.background);
  if (hitEnd > hitStart) dc->TextOut(0, 0, text + hitStart, hitEnd - hitStart);
  dc->SetTextColor(text0);
  dc->SetBkColor(back0);
  if (length > hitEnd) dc->TextOut(0, 0, text + hitEnd, length - hitEnd);
}

BOOL CDisplay::OnEraseBkgnd(CDC*) { return TRUE; }

void CDisplay::OnPaint() {
  CPaintDC dc(this);
  CRect update(dc.m_ps.rcPaint);
  PaintContent(&dc, &update);
}

void CDisplay::PaintContent(CDC* dc, const CRect* update) {
  CRect rect;
  if (update != nullptr) {
    rect = *update;
  } else {
    GetClientRect(&rect);
  }
  if (rect.IsRectEmpty() || rect.right <= 0) return;
  CDC memory;
  if (!memory.CreateCompatibleDC(dc)) return;
  CBitmap bitmap;
  if (!bitmap.CreateCompatibleBitmap(dc, rect.right, rect.Height())) return;
  CBitmap* oldBitmap = memory.SelectObject(&bitmap);
  memory.FillSolidRect(0, 0, rect.right, rect.Height(), RGB(255, 255, 255));
  CRect model = rect;
  model.OffsetRect(0, GetTopOffset());
  for (int i = 0; i < m_model.ParagraphCount(); ++i) {
    const display::Paragraph& p = m_model.GetParagraph(i);
    const CRect band(p.left, p.top, p.left + p.width, p.top + p.height);
    if (band.bottom <= model.top || band.top >= model.bottom) continue;
    PaintParagraph(i, &memory, model);
  }
  dc->BitBlt(0, rect.top, rect.right, rect.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(oldBitmap);
}

void CDisplay::PaintParagraph(int index, CDC* dc, const CRect& rect) {
  const display::Paragraph& p = m_model.GetParagraph(index);
  int y = p.top - rect.top;
  CFont* oldFont = dc->SelectObject(DisplayServices().GetArticleFont(display::kStyleNormal));
  const UINT oldAlign = dc->SetTextAlign(TA_UPDATECP);
  dc->SetBkMode(OPAQUE);
  SetColours(dc, 0);
  const int quarter = BlankHeight(dc) / 4;
  int style = display::kStyleNormal;
  for (int l = p.firstLine; l < p.firstLine + p.lineCount && y < rect.Height(); ++l) {
    const display::Line& line = m_model.GetLine(l);
    if (y + line.height > 0) {
      dc->MoveTo(TextModel::TextStart(p), y + (line.raised ? quarter : 0));
      for (int r = line.firstRun; r < line.firstRun + line.runCount; ++r) {
        const Run& run = m_model.GetRun(r);
        if (run.style > 128) continue;
        if (run.style != style) {
          style = run.style;
          dc->SelectObject(DisplayServices().GetArticleFont(style));
        }
        SetColours(dc, run.marks);
        const int shift = run.style == display::kStyleRaised    ? -quarter
                          : run.style == display::kStyleLowered ? quarter
                                                                : 0;
        if (shift != 0) ShiftPosition(dc, shift);
        DrawRun(dc, r);
        if (shift != 0) ShiftPosition(dc, -shift);
      }
    }
    y += line.height;
  }
  dc->SetTextAlign(oldAlign);
  dc->SelectObject(oldFont);
}

void CDisplay::RepaintRun(int run) {
  if (m_hWnd == nullptr || run < 0 || run >= m_model.RunCount()) return;
  const Run& r = m_model.GetRun(run);
  if (r.style > 128) return;
  const int line = m_model.LineOfRun(run);
  if (line == display::kNone) return;
  const display::Line& l = m_model.GetLine(line);
  int y = m_model.LineTop(line) - GetTopOffset();
  const int x = m_model.RunLeft(line, run);
  CClientDC dc(this);
  const int quarter = BlankHeight(&dc) / 4;
  CFont* oldFont = dc.SelectObject(DisplayServices().GetArticleFont(r.style));
  dc.SetTextAlign(TA_UPDATECP);
  dc.SetBkMode(OPAQUE);
  SetColours(&dc, r.marks);
  if (l.raised && r.style != display::kStyleRaised) y += quarter;
  if (r.style == display::kStyleLowered) y += quarter;
  dc.MoveTo(x, y);
  DrawRun(&dc, run);
  dc.SelectObject(oldFont);
}

void CDisplay::RepaintRuns(const std::vector<int>& runs) {
  for (int run : runs) RepaintRun(run);
}

LRESULT CDisplay::OnColoursChanged(WPARAM, LPARAM) {
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return 0;
}
