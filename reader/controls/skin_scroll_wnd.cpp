#include "controls/skin_scroll_wnd.h"

namespace {

struct ListLook {
  UINT up, down, thumb;
  int track;
};
constexpr ListLook kListLooks[] = {
    {4034, 4031, 4033, 2},   // encyclopedia
    {4172, 4168, 4153, 14},  // timeline
    {4154, 4155, 4156, 11},  // media
    {1201, 1200, 1204, 8},   // dictionary
};

// The first window above `window` that knows the dictionary mode.
int DictionaryModeAbove(CWnd* window) {
  for (HWND up = ::GetParent(window->GetSafeHwnd()); up != nullptr; up = ::GetParent(up)) {
    if (auto* source = dynamic_cast<CDictionaryModeSource*>(CWnd::FromHandlePermanent(up))) {
      return source->GetDictionaryMode();
    }
  }
  return 0;
}

}  // namespace

// ---- CSkinScrollWnd -------------------------------------------------------------

CSkinScrollWnd::CSkinScrollWnd() : CSkinBarHost(this) {
  m_bar.m_min = m_bar.m_max = m_bar.m_pos = 0;
  m_bar.m_repeat = BarRepeat::Uniform;
  m_bar.m_handleDoubleClick = FALSE;
}

BOOL CSkinScrollWnd::Create(const RECT& rect, CWnd* parent, UINT controlId) {
  LPCTSTR windowClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
  if (!CWnd::Create(windowClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER, rect, parent, controlId)) return FALSE;
  m_bar.m_dragging = FALSE;
  m_bar.m_outlineDrawn = FALSE;
  m_bar.LoadBitmaps(1201, 1200, 1204);
  m_bar.SetBrushes(6, 7, 8);
  const int mode = DictionaryModeAbove(this);
  m_contentId = mode == 1 ? 6129 : mode == 2 ? 6130 : 6128;
  m_content.DeleteObject();
  m_content.LoadBitmap(m_contentId);
  m_contentSize = BitmapSize(m_content);
  ReframeWithBar();
  CRect client;
  GetClientRect(&client);
  SetRange(0, m_contentSize.cy - client.Height(), FALSE);
  return TRUE;
}

int CSkinScrollWnd::Scroll(int code, int position) {
  CRect client;
  GetClientRect(&client);
  const int line = client.Height() / 10;
  const int page = client.Height() * 3 / 4;
  const int pos = m_bar.m_pos;
  int next = pos;
  switch (code) {
    case bar::kLineUp: next = pos - line; break;
    case bar::kLineDown: next = pos + line; break;
    case bar::kPageUp: next = pos - page; break;
    case bar::kPageDown: next = pos + page; break;
    case bar::kThumbPosition: next = position; break;
    case bar::kTop: next = m_bar.m_min; break;
    case bar::kBottom: next = m_bar.m_max; break;
    default: break;
  }
  if (code != bar::kThumbPosition) {
    if (next < m_bar.m_min) next = m_bar.m_min;
    if (next > m_bar.m_max) next = m_bar.m_max;
  }
  if (next != pos) SetPosition(next, TRUE);
  return 0;
}

int CSkinScrollWnd::SetPosition(int newPos, BOOL redraw) {
  const int previous = m_bar.m_pos;
  if (newPos == previous) return previous;
  m_bar.m_pos = newPos;
  m_bar.MoveThumb(redraw);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return previous;
}

LRESULT CSkinScrollWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (message == WM_MOUSEMOVE) {
    m_bar.OnMessage(message, wParam, lParam, result);
    return CWnd::WindowProc(message, wParam, lParam);
  }
  const BOOL bordered = (GetStyle() & WS_BORDER) != 0;
  // The border takes its pixel first, then the bar's frame one more.
  if (bordered && message == WM_NCCALCSIZE) {
    CWnd::WindowProc(message, wParam, lParam);
    CSkinBar::CalcClient(reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam), 1);
    return 0;
  }
  if (bordered && OnBarMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_PAINT: {
      CPaintDC dc(this);
      CSkinPaletteScope palette(&dc);
      BlitBitmap(&dc, m_content, 0, 0, m_contentSize.cx, m_contentSize.cy, 0, m_bar.m_pos);
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (!ScrollByPageKey(static_cast<UINT>(wParam))) ScrollByLineKey(static_cast<UINT>(wParam));
      return 0;
    default: break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

// ---- CListWnd -------------------------------------------------------------------

CListWnd::CListWnd() : CSkinBarHost(this) {
  m_bar.m_min = m_bar.m_max = m_bar.m_pos = 0;
  m_bar.m_timerBase = 50;
  m_bar.m_palette = BarPalette::None;
}

CListWnd::~CListWnd() { DeleteSliders(); }

void CListWnd::DeleteSliders() {
  for (int i = 0; i < m_sliders.GetSize(); ++i) delete static_cast<CSliderWnd*>(m_sliders[i]);
  m_sliders.RemoveAll();
}

BOOL CListWnd::Create(const RECT& rect, CWnd* parent, UINT controlId, const CStringArray& strings, int type) {
  m_type = type >= 0 && type <= 3 ? type : 0;
  const ListLook& look = kListLooks[m_type];
  m_bar.LoadBitmaps(look.up, look.down, look.thumb);
  m_bar.SetBrushes(look.track - 2, look.track - 1, look.track);
  LPCTSTR windowClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
  if (!CWnd::Create(windowClass, "", WS_CHILD | WS_BORDER, rect, parent, controlId)) return FALSE;
  DeleteSliders();
  for (int i = 0; i < strings.GetSize(); ++i) m_sliders.Add(new CSliderWnd);
  const int line = Skin().GetLineHeight();
  const int sliderHeight = m_sliders.GetSize() > 0 ? GetSlider(0)->GetHeight() : 0;
  m_rowHeight = sliderHeight + 4 > line ? sliderHeight + 4 : line;
  if (m_rowHeight <= 0) m_rowHeight = 1;
  CRect inner = rect;
  inner.DeflateRect(2, 2);
  m_bar.m_page = inner.Height() / m_rowHeight;
  CRect window = rect;
  window.bottom = window.top + 4 + m_bar.m_page * m_rowHeight;
  const int sliderWidth = inner.Width() - bar::kBarWidth;
  for (int i = 0; i < m_sliders.GetSize(); ++i) {
    CRect place(0, 2 + i * m_rowHeight, sliderWidth, 2 + (i + 1) * m_rowHeight);
    GetSlider(i)->Create(&place, this, static_cast<UINT>(i + 1), strings[i], look.track);
  }
  PlaceWithBar(window, SWP_NOZORDER);
  SetRange(0, m_sliders.GetSize() - m_bar.m_page, FALSE);
  SetPosition(0, FALSE);
  ShowWindow(SW_SHOW);
  return TRUE;
}

int CListWnd::SetPosition(int newPos, BOOL redraw) {
  const int previous = m_bar.m_pos;
  if (newPos == previous) return previous;
  if (!redraw) SetRedraw(FALSE);
  ScrollWindow(0, (previous - newPos) * m_rowHeight);
  if (!redraw) {
    SetRedraw(TRUE);
  } else {
    UpdateWindow();
  }
  m_bar.m_pos = newPos;
  m_bar.MoveThumb(redraw);
  return previous;
}

LRESULT CListWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  const BOOL bordered = (GetStyle() & WS_BORDER) != 0;
  if (message == WM_DESTROY) {
    m_bar.StopTimer();
    DeleteSliders();
    return CWnd::WindowProc(message, wParam, lParam);
  }
  if (bordered && OnBarMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_ERASEBKGND: return EraseWhite(this, wParam);
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SIZE:
      result = CWnd::WindowProc(message, wParam, lParam);
      m_bar.Layout();
      RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
      return result;
    case WM_KEYDOWN:
      if (ScrollByPageKey(static_cast<UINT>(wParam)) || ScrollByLineKey(static_cast<UINT>(wParam))) return 0;
      break;
    default: break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
