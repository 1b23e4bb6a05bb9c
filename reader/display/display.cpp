// CDisplay: creation, the model's intake and emptying, media thumbnails.
#include "display/display.h"

#include <commctrl.h>

#include <algorithm>

#include "controls/skin_environment.h"

namespace {

BOOL AsyncButtonDown() { return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }

POINT CursorPosition() {
  POINT point{};
  ::GetCursorPos(&point);
  return point;
}

HCURSOR LoadOwnCursor(UINT id) {
  HCURSOR cursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCE(id));
  return cursor != nullptr ? cursor : ::LoadCursorA(nullptr, IDC_ARROW);
}

}  // namespace

BOOL (*CDisplay::s_isButtonDown)() = AsyncButtonDown;
POINT (*CDisplay::s_cursorPos)() = CursorPosition;

IMPLEMENT_DYNCREATE(CDisplay, CWnd)

BEGIN_MESSAGE_MAP(CDisplay, CWnd)
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_COLOURSCHANGED, OnColoursChanged)
ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDownMessage)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_SETCURSOR()
ON_WM_KEYDOWN()
ON_WM_GETDLGCODE()
ON_WM_SIZE()
ON_WM_TIMER()
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, OnToolTipText)
END_MESSAGE_MAP()

// Measures runs in the article fonts on the window's device context and makes
// the thumbnails of media blocks.
class CDisplay::Intake : public display::LayoutHost {
 public:
  explicit Intake(CDisplay& display) : m_display(display), m_dc(display.m_hWnd != nullptr ? &display : nullptr) {
    m_previous = m_dc.GetCurrentFont();
  }
  ~Intake() override {
    if (m_previous != nullptr) m_dc.SelectObject(m_previous);
  }
  Intake(const Intake&) = delete;
  Intake& operator=(const Intake&) = delete;

  display::Extent Measure(int style, const char* text, int length) override {
    if (style != m_style) {
      m_dc.SelectObject(DisplayServices().GetArticleFont(style));
      m_style = style;
    }
    const CSize size = m_dc.GetTextExtent(text, length);
    return display::Extent{size.cx, size.cy};
  }
  bool ShowsPictures() override { return DisplayServices().ShowsPictures() != FALSE; }
  bool MediaReachable() override { return DisplayServices().MediaReachable() != FALSE; }
  bool ReadMediaItem(unsigned item, std::string& title, u16& kind) override {
    CString text;
    int found = 0;
    if (!DisplayServices().ReadMediaItem(static_cast<int>(item), text, found)) return false;
    title = static_cast<LPCTSTR>(text);
    kind = static_cast<u16>(found);
    return true;
  }
  bool PlaceThumbnail(const CRect& rect, unsigned controlId, unsigned itemIndex) override {
    // Intake ends with the first line at the top: the model's y is the window's.
    CWnd* window = DisplayServices().CreateThumbnail(&m_display, rect, controlId, static_cast<int>(itemIndex));
    if (window == nullptr) return false;
    m_display.m_thumbnails.push_back(Thumbnail{window, static_cast<int>(itemIndex)});
    return true;
  }

 private:
  CDisplay& m_display;
  CClientDC m_dc;
  CFont* m_previous = nullptr;
  int m_style = -1;
};

CDisplay* DisplayOf(CWnd* screen) {
  if (screen == nullptr || screen->GetSafeHwnd() == nullptr) return nullptr;
  return dynamic_cast<CDisplay*>(CWnd::FromHandlePermanent(::GetDlgItem(screen->GetSafeHwnd(), CDisplay::kControlId)));
}

CDisplay::CDisplay() {
  m_model.Reset();
  m_highlightCursor = LoadOwnCursor(kHighlightCursor);
  m_arrowCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  m_linkCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCE(32516));
  if (m_linkCursor == nullptr) m_linkCursor = m_arrowCursor;
  m_noteCursor = LoadOwnCursor(kNoteCursor);
  m_noteOutsideCursor = LoadOwnCursor(kNoteOutsideCursor);
}

CDisplay::~CDisplay() {
  if (m_hWnd != nullptr) DestroyWindow();
  FreeContent();
}

BOOL CDisplay::Create(CWnd* parent, const RECT& rect, DWORD style, UINT id, int skinType) {
  m_skin = skinType;
  m_bar.LoadSkin(skinType);
  LPCTSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS, nullptr, nullptr);
  // Painting covers the whole client area; the note icons and thumbnails keep theirs.
  if (!CWnd::Create(windowClass, "", style | WS_CLIPCHILDREN, rect, parent, id)) return FALSE;
  EnableToolTips(TRUE);
  m_bar.Layout();
  return TRUE;
}

int CDisplay::LayoutWidth() const {
  if (m_hWnd == nullptr) return 0;
  CRect client;
  GetClientRect(&client);
  CWnd* parent = GetParent();
  const BOOL fullWidth = parent != nullptr && DisplayServices().IsDictionaryListMode(parent);
  return client.Width() - (fullWidth ? 0 : kNoteStrip);
}

int CDisplay::ClientHeight() const {
  if (m_hWnd == nullptr) return 0;
  CRect client;
  GetClientRect(&client);
  return client.Height();
}

void CDisplay::DestroyThumbnailsFrom(std::size_t count) {
  while (m_thumbnails.size() > count) {
    CWnd* window = m_thumbnails.back().window;
    m_thumbnails.pop_back();
    if (window->GetSafeHwnd() != nullptr) window->DestroyWindow();
    delete window;
  }
}

void CDisplay::FreeContent() {
  m_model.Free();
  DestroyThumbnailsFrom(0);
  std::vector<Note> notes;
  notes.swap(m_notes);
  for (const Note& note : notes) {
    if (note.icon->GetSafeHwnd() != nullptr) note.icon->DestroyWindow();
    delete note.icon;
  }
}

int CDisplay::ResetContent() {
  FreeContent();
  m_bar.DisableButtons();
  if (!m_model.Reset()) return 0;
  m_anchor = m_end = display::kNone;
  m_dragMode = 0;
  m_highlightMode = m_noteMode = FALSE;
  m_bar.ResetLines();
  m_find = display::FindState{};
  m_annotationsChanged = FALSE;
  if (m_hWnd != nullptr) Invalidate(FALSE);
  return 1;
}

int CDisplay::AddText(const ReTokenBlock* chunk) {
  if (chunk == nullptr) return 0;
  const u16 count = chunk->tokenCount;
  ReToken* tokens = chunk->tokens;
  if (count > 0 && tokens == nullptr) return 0;
  const std::size_t thumbnails = m_thumbnails.size();
  display::LayoutWidths widths;
  widths.clientWidth = LayoutWidth();
  widths.border = ::GetSystemMetrics(SM_CXBORDER);
  BOOL added;
  {
    Intake intake(*this);
    added = m_model.AddChunk(tokens, count, intake, widths);
  }
  if (!added) {
    DestroyThumbnailsFrom(thumbnails);
    return 0;
  }
  m_bar.SetLineRange(0, std::max(0, m_model.LineCount() - 1), TRUE);
  if (m_hWnd != nullptr) Invalidate(FALSE);
  return 1;
}

CRect CDisplay::GetObjectRect(int block, int x, int y, int width, int height) const {
  if (block < 0 || block >= m_model.ParagraphCount()) return CRect();
  return display::TextModel::ObjectRect(m_model.GetParagraph(block), x, y, width, height);
}

void CDisplay::OnDestroy() {
  if (m_dragTimer) KillTimer(kDragTimer);
  m_bar.StopRepeat();
  m_dragTimer = FALSE;
  FreeContent();
  CWnd::OnDestroy();
}

BOOL CDisplay::OnToolTipText(UINT, NMHDR* header, LRESULT* result) {
  auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
  if (!(info->uFlags & TTF_IDISHWND)) return FALSE;
  const HWND tool = reinterpret_cast<HWND>(header->idFrom);
  for (const Thumbnail& thumbnail : m_thumbnails) {
    if (thumbnail.window->GetSafeHwnd() != tool) continue;
    const int article = DisplayServices().MediaItemArticle(thumbnail.itemIndex);
    m_tipText = article > 0 ? DisplayServices().LookupTitle(article) : CString();
    info->lpszText = const_cast<LPSTR>(static_cast<LPCTSTR>(m_tipText));
    *result = 0;
    return TRUE;
  }
  return FALSE;
}
