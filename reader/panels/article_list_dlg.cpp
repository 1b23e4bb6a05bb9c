#include "panels/article_list_dlg.h"

#include "controls/skin_environment.h"
#include "panels/item_router.h"
#include "panels/panel_owner.h"

BEGIN_MESSAGE_MAP(CArticleListDlg, CToolWindow)
ON_BN_CLICKED(IDC_LIST_CLOSE, OnCancel)
ON_LBN_DBLCLK(IDC_ARTICLES, OnDblClkList)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_SETFOCUS()
END_MESSAGE_MAP()

BOOL CArticleListDlg::Create(const CRect& rect, UINT templateId, int mode, CWnd* owner) {
  m_rect = rect;
  m_mode = mode >= 0 && mode < panels::kModeCount ? mode : panels::kHistoryMode;
  return CDialog::Create(templateId, owner);
}

void CArticleListDlg::DoDataExchange(CDataExchange*) {}

BOOL CArticleListDlg::OnInitDialog() {
  CRect client = PlaceClientArea(m_rect);
  PlaceCloseButton(m_close, 1083, IDC_LIST_CLOSE);
  const int bottom = client.bottom - 10;
  m_list.Create(CRect(4, 56, client.right - 4, bottom > 56 ? bottom : 56), this, IDC_ARTICLES, kSkinEncyclopedia);
  ShowWindow(SW_SHOW);
  return TRUE;
}

void CArticleListDlg::SetArticles(const CBitString& set) {
  m_list.SetArticles(set);
  CRect band;
  GetClientRect(&band);
  band.bottom = kBandHeight;
  InvalidateRect(&band);
}

void CArticleListDlg::OnSize(UINT type, int cx, int cy) {
  CToolWindow::OnSize(type, cx, cy);
  if (m_list.GetSafeHwnd() == nullptr) return;
  const int height = cy - 10 - 56;
  m_list.SetWindowPos(nullptr, 4, 56, cx - 8, height > 0 ? height : 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CArticleListDlg::OpenCurrent() {
  const int article = m_list.GetCurArticle();
  if (article <= 0) return;
  auto* owner = dynamic_cast<PanelOwner*>(m_pParentWnd);
  switch (panels::KindOfArticle(article)) {
    case panels::ItemKind::MediaItem:
      if (owner != nullptr) owner->GoToMediaItem(panels::MediaItemOf(article));
      break;
    case panels::ItemKind::TimelineEvent: panels::ShowOnScreen(panels::ItemKind::TimelineEvent, article); break;
    default:
      if (owner != nullptr) owner->ShowArticle(article);
      break;
  }
}

void CArticleListDlg::OnOK() { OpenCurrent(); }

void CArticleListDlg::OnDblClkList() { OpenCurrent(); }

void CArticleListDlg::OnCancel() { DestroyWindow(); }

BOOL CArticleListDlg::OnEraseBkgnd(CDC*) { return TRUE; }

void CArticleListDlg::OnPaint() {
  CPaintDC dc(this);
  CSkinPaletteScope palette(&dc);
  PaintGround(dc, 1, 2);
  CRect client;
  GetClientRect(&client);
  DrawLine(dc, 11, panels::ArticleListDescription(m_mode), CRect(0, kBandHeight, client.right, 46),
           DT_SINGLELINE | DT_BOTTOM | DT_CENTER);
  DrawLine(dc, 10, panels::ArticleListHeading(m_mode), CRect(4, 0, client.right, kBandHeight),
           DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  const long count = m_list.GetSafeHwnd() != nullptr ? m_list.GetArticles().GetSetCount() : 0;
  DrawCount(dc, panels::ItemCountText(count), m_close);
}

void CArticleListDlg::OnSetFocus(CWnd*) {
  if (m_list.GetSafeHwnd() != nullptr) m_list.SetFocus();
}
