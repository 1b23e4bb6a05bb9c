#include "display/note_dlg.h"

#include "controls/skin_environment.h"
#include "display/display.h"
#include "display/display_services.h"

namespace {

// The button bitmaps of each skin; any other skin takes the dictionary's.
struct NoteLook {
  int skin;
  UINT close, erase, ok, cancel;
};
constexpr NoteLook kLooks[] = {
    {kSkinEncyclopedia, 1083, 4194, 6125, 2131},
    {kSkinTimeline, 4274, 4275, 6126, 6112},
    {kSkinDictionary, 6074, 6096, 6124, 6110},
};

const NoteLook& LookOf(int skin) {
  for (const NoteLook& look : kLooks)
    if (look.skin == skin) return look;
  return kLooks[2];
}

CDisplay* DisplayOfIcon(CNoteIcon* icon) {
  if (icon == nullptr || icon->GetSafeHwnd() == nullptr) return nullptr;
  return dynamic_cast<CDisplay*>(CWnd::FromHandlePermanent(::GetParent(icon->GetSafeHwnd())));
}

CRect WindowRectIn(CWnd* window, CWnd* parent) {
  CRect rect;
  window->GetWindowRect(&rect);
  parent->ScreenToClient(&rect);
  return rect;
}

}  // namespace

BEGIN_MESSAGE_MAP(CNoteDlg, CDisplayDialog)
ON_BN_CLICKED(CNoteDlg::kOk, OnOK)
ON_BN_CLICKED(CNoteDlg::kCancel, OnCancel)
ON_BN_CLICKED(CNoteDlg::kClose, OnCancel)
ON_BN_CLICKED(CNoteDlg::kErase, OnErase)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CNoteDlg::CNoteDlg(CWnd* parent) : CDisplayDialog(kTemplate, parent) {}

INT_PTR CNoteDlg::DoModalAt(const CRect& rect, CNoteIcon* icon) {
  m_anchor = rect;
  m_icon = icon;
  return DoModal();
}

int CNoteDlg::SkinOf(CNoteIcon* icon) {
  const CDisplay* display = DisplayOfIcon(icon);
  return LookOf(display != nullptr ? display->GetSkin() : kSkinDictionary).skin;
}

BOOL CNoteDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_skin = SkinOf(m_icon);
  const NoteLook& look = LookOf(m_skin);
  const SkinBrushes brushes = BrushesOf(m_skin);
  CDisplayServices& services = DisplayServices();
  MoveWindow(&m_anchor);
  CRect client;
  GetClientRect(&client);
  const int width = client.Width(), height = client.Height();

  m_close.Create(CRect(0, 0, 0, 0), this, look.close, CODButton::kUsualStyle, kClose);
  const CSize close = m_close.GetFrameSize();
  m_close.SetWindowPos(nullptr, width - 4 - close.cx, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  const CRect title(10, 33, width - 10, 33 + services.GetTextLineHeight() + 6);
  CWnd* owner = m_pParentWnd;
  const int article = owner != nullptr ? services.GetShownArticle(owner) : -1;
  const CString titleText = article > 0 ? services.LookupTitle(article) : CString();
  m_title.Create(titleText, title, this, kTitle, m_skin);

  m_erase.Create(CRect(10, title.bottom + 10, 10, title.bottom + 10), this, look.erase, CODButton::kUsualStyle, kErase);
  const CRect erase = WindowRectIn(&m_erase, this);

  const CRect edit(10, erase.bottom + 20, width - 10, height - 40);
  m_edit.Create(&edit, this, kEdit, brushes.background, brushes.edge);
  m_edit.SetFont(services.GetTextFont());
  if (m_icon != nullptr) m_edit.SetWindowText(m_icon->GetNoteText());

  m_ok.Create(CRect(10, height - 30, 10, height - 30), this, look.ok, CODButton::kUsualStyle, kOk);
  const int okWidth = m_ok.GetFrameSize().cx;
  m_cancel.Create(CRect(okWidth + 20, height - 30, okWidth + 20, height - 30), this, look.cancel,
                  CODButton::kUsualStyle, kCancel);
  return TRUE;
}

void CNoteDlg::OnOK() {
  CString text;
  m_edit.GetWindowText(text);
  if (m_icon != nullptr) {
    const BOOL changed = text.Compare(m_icon->GetNoteText()) != 0;
    m_icon->SetNoteText(text);
    m_icon->RedrawWindow();
    // An edited note is a change of the entry's annotations, to be stored
    // when the entry is left.
    CDisplay* display = DisplayOfIcon(m_icon);
    if (changed && display != nullptr) display->MarkAnnotationsChanged();
  }
  EndDialog(IDOK);
}

void CNoteDlg::OnCancel() { EndDialog(IDCANCEL); }

void CNoteDlg::OnErase() {
  m_edit.SetWindowText("");
  m_edit.SetFocus();
}

BOOL CNoteDlg::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  CSkinPaletteScope palette(dc, TRUE, DisplayServices().GetPalette());
  dc->FillRect(&client, DisplayServices().GetBrush(BrushesOf(m_skin).background));
  return TRUE;
}

void CNoteDlg::OnPaint() {
  CPaintDC dc(this);
  CDisplayServices& services = DisplayServices();
  CSkinPaletteScope palette(&dc, TRUE, services.GetPalette());
  CRect client;
  GetClientRect(&client);
  CRect band(0, 0, client.Width(), kBandHeight);
  dc.FillRect(&band, services.GetBrush(BrushesOf(m_skin).band));
  CFont* old = dc.SelectObject(services.GetCaptionFont());
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  band.left += 6;
  dc.DrawText("Article Note", &band, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  dc.SelectObject(old);
}
