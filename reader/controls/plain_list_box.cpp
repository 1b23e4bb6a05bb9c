#include "controls/plain_list_box.h"

BOOL CFramedListBase::Create(const RECT& rect, CWnd* parent, UINT controlId) {
  if (!SubclassDlgItem(controlId, parent)) return FALSE;
  ModifyStyle(WS_VSCROLL | WS_HSCROLL, 0);
  SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return 1;
}

LRESULT CFramedListBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCALCSIZE: {
      RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
      ::InflateRect(&r, -bar::kFrame, -bar::kFrame);
      return 0;
    }
    case WM_NCPAINT: CSkinBar::PaintFrame(this, m_edgeBrush, m_trackBrush, FALSE, TRUE); return 0;
    case WM_PAINT: {
      CPaintDC dc(this);
      Paint(dc);
      return 0;
    }
    default: break;
  }
  return CListBox::WindowProc(message, wParam, lParam);
}

void CPlainListBox::Paint(CDC& dc) {
  CRect client;
  GetClientRect(&client);
  client.DeflateRect(5, 3);
  CSkinPaletteScope palette(&dc, TRUE);
  CFont* old = dc.SelectObject(Skin().GetFont(12));
  dc.SetBkMode(TRANSPARENT);
  CRect line(0, 0, 0, 0);
  dc.DrawText("Test", 4, &line, DT_CALCRECT | DT_SINGLELINE);
  CRect box(client.left, client.top, client.right, client.top + line.Height());
  for (int row = 0; row < GetCount(); ++row) {
    CString text;
    GetText(row, text);
    dc.DrawText(text, &box, DT_SINGLELINE);
    box.OffsetRect(kStep, line.Height());
    box.right = client.right;
  }
  dc.SelectObject(old);
}

LRESULT CFrameListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;
  return CFramedListBase::WindowProc(message, wParam, lParam);
}

int CFrameListBox::DrawPairs(CDC& dc, int x, int y, int right, int line, const CStringArray& labels,
                             const CStringArray& values) {
  for (int i = 0; i < labels.GetSize(); ++i) {
    CString label = labels[i];
    if (!label.IsEmpty()) label += " ";
    const CString value = i < values.GetSize() ? values[i] : CString();
    dc.SetTextColor(RGB(0, 0, 255));
    CRect labelRect(x, y, right, y + line);
    dc.DrawText(label, &labelRect, DT_SINGLELINE | DT_NOPREFIX);
    const int width = dc.GetTextExtent(label).cx;
    dc.SetTextColor(RGB(255, 0, 0));
    CRect valueRect(x + width, y, right, y + line);
    dc.DrawText(value, &valueRect, DT_SINGLELINE | DT_NOPREFIX);
    y += line;
  }
  return y;
}

void CFrameListBox::Paint(CDC& dc) {
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, RGB(255, 255, 255));
  CSkinPaletteScope palette(&dc, TRUE);
  CFont* old = dc.SelectObject(Skin().GetFont(kFont));
  TEXTMETRIC metrics = {};
  dc.GetTextMetrics(&metrics);
  const int line = metrics.tmHeight;
  const COLORREF oldColour = dc.GetTextColor();
  dc.SetBkMode(TRANSPARENT);
  auto* source = dynamic_cast<CFramePaneSource*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
  const int row = source != nullptr ? source->GetCompanionSelection() : -1;
  if (row >= 0) {
    CStringArray commonLabels;
    CStringArray commonValues;
    CStringArray itemLabels;
    CStringArray itemValues;
    source->GetLabelledValues(row, commonLabels, commonValues, itemLabels, itemValues);
    int y = DrawPairs(dc, client.left + kMargin, client.top + kMargin, client.right - kMargin, line, commonLabels,
                      commonValues);
    y += kMargin;
    DrawPairs(dc, client.left + kMargin, y, client.right - kMargin, line, itemLabels, itemValues);
  }
  dc.SetTextColor(oldColour);
  dc.SelectObject(old);
}
