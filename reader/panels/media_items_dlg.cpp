#include "panels/media_items_dlg.h"

#include <cstdio>

#include "controls/skin_environment.h"
#include "display/display.h"
#include "panels/panel_logic.h"
#include "panels/panel_owner.h"

const UINT CMediaItemsDlg::kImages[kImageCount][2] = {
    {4256, 1264}, {1093, 1175}, {1098, 1180}, {1096, 1179}, {1097, 1178}, {1094, 1177},
    {1095, 1176}, {1092, 1174}, {4117, 4118}, {4117, 4118}, {4184, 4185}, {1124, 1183},
};

BEGIN_MESSAGE_MAP(CMediaItemsDlg, CToolWindow)
ON_BN_CLICKED(IDC_OUTLINE_CLOSE, OnCancel)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_SETFOCUS()
END_MESSAGE_MAP()

BOOL CMediaItemsDlg::Create(const CRect& rect, CWnd* owner) {
  m_rect = rect;
  return CDialog::Create(IDD_OUTLINE, owner);
}

void CMediaItemsDlg::DoDataExchange(CDataExchange*) {}

BOOL CMediaItemsDlg::OnInitDialog() {
  CRect client = PlaceClientArea(m_rect);
  PlaceCloseButton(m_close, 1083, IDC_OUTLINE_CLOSE);

  m_images.SetSize(16, 16);
  for (const auto& pair : kImages) {
    CBitmap image, mask;
    Skin().LoadDIB(pair[0], image);
    Skin().LoadDIB(pair[1], mask);
    m_images.Add(&image, &mask);
  }
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | CTreeListBox::kHasButtons | CTreeListBox::kHasLines |
                      CTreeListBox::kLinesAtRoot;
  const int bottom = client.bottom - 10;
  m_tree.CreateTree(style, CRect(4, 33, client.right - 4, bottom > 33 ? bottom : 33), this, IDC_OUTLINE_TREE);
  m_tree.SetFont(Skin().GetFont(12));
  delete m_tree.SetImageList(&m_images);
  FillTree();
  ShowWindow(SW_SHOW);
  return TRUE;
}

void CMediaItemsDlg::FillTree() {
  m_tree.DeleteAllItems();
  m_itemCount = 0;
  CDisplay* display = GetDisplay();
  if (display != nullptr) {
    const std::vector<panels::OutlineTreeItem> tree = panels::BuildOutlineTree(display->Outline());
    std::vector<HTREEITEM> handles;
    handles.reserve(tree.size());
    for (const panels::OutlineTreeItem& item : tree) {
      HTREEITEM parent = item.parent >= 0 ? handles[static_cast<std::size_t>(item.parent)] : TVI_ROOT;
      handles.push_back(m_tree.InsertItem(item.text.c_str(), item.image, item.image, static_cast<DWORD_PTR>(item.data),
                                          parent, TVI_LAST));
    }
    m_itemCount = static_cast<int>(tree.size());
  }
  if (m_hWnd != nullptr) Invalidate();
}

BOOL CMediaItemsDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header != nullptr && header->idFrom == IDC_OUTLINE_TREE && header->code == static_cast<UINT>(NM_DBLCLK)) {
    ChooseSelected();
    if (pResult != nullptr) *pResult = 0;
    return TRUE;
  }
  return CToolWindow::OnNotify(wParam, lParam, pResult);
}

void CMediaItemsDlg::ChooseSelected() {
  HTREEITEM item = m_tree.GetRelative(nullptr, CTreeListBox::kCaret);
  if (item == nullptr) return;
  const auto index = static_cast<int>(static_cast<INT_PTR>(m_tree.GetItemData(item)));
  if (index < 0) return;
  if (auto* owner = dynamic_cast<OutlineOwner*>(m_pParentWnd)) owner->LinkOutlineEntry(index);
}

void CMediaItemsDlg::OnOK() {}

void CMediaItemsDlg::OnCancel() { DestroyWindow(); }

void CMediaItemsDlg::OnSize(UINT type, int cx, int cy) {
  CToolWindow::OnSize(type, cx, cy);
  if (m_tree.GetSafeHwnd() == nullptr) return;
  const int height = cy - 10 - 33;
  m_tree.SetWindowPos(nullptr, 4, 33, cx - 8, height > 0 ? height : 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CMediaItemsDlg::OnEraseBkgnd(CDC*) { return TRUE; }

void CMediaItemsDlg::OnPaint() {
  CPaintDC dc(this);
  CSkinPaletteScope palette(&dc);
  PaintGround(dc, 1, 2);
  CRect client;
  GetClientRect(&client);
  DrawLine(dc, 10, "Outline", CRect(4, 0, client.right, kBandHeight), DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  char count[32];
  std::snprintf(count, sizeof count, "%hu item(s)", static_cast<unsigned short>(m_itemCount));
  DrawCount(dc, count, m_close);
}

void CMediaItemsDlg::OnSetFocus(CWnd*) {
  if (m_tree.GetSafeHwnd() != nullptr) m_tree.SetFocus();
}
