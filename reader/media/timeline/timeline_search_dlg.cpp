#include "media/timeline/timeline_search_dlg.h"

#include "controls/skin_environment.h"
#include "core/reader_context.h"
#include "reader/timeline_quiz_ids.h"

namespace {

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr int kPanelHeaderBrush = 12;
constexpr int kPanelBrush = 14;

}  // namespace

BEGIN_MESSAGE_MAP(CTimeLineSearchDlg, CDialog)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_WM_SETFOCUS()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
ON_LBN_DBLCLK(IDC_TLS_EVENTS, OnEventDoubleClick)
END_MESSAGE_MAP()

BOOL CTimeLineSearchDlg::Create(const CRect& rect, TimelinePartOwner* parent) {
  m_parent = parent;
  if (!CDialog::Create(IDD_TIMELINE_SEARCH, parent != nullptr ? &parent->View() : nullptr)) return FALSE;
  MoveWindow(&rect);
  CreateControls();
  HideModeFields();
  ShowModeFields();
  FillLists();
  ShowWindow(SW_SHOW);
  return TRUE;
}

BOOL CTimeLineSearchDlg::OnInitDialog() { return FALSE; }

int CTimeLineSearchDlg::Mode() const { return m_parent != nullptr ? m_parent->GetMode() : timeline::ModeCategories; }

int CTimeLineSearchDlg::PickerHeight() const { return Reader().GetLineHeight() + 4; }

void CTimeLineSearchDlg::CreateControls() {
  CRect client;
  GetClientRect(&client);
  const int h = PickerHeight();
  const DWORD style = WS_CHILD | WS_TABSTOP;
  m_list.Create(style, CRect(3, 43, client.right - 6, 49 + h), this, IDC_TLS_LIST);
  m_fromYear.Create(CRect(4, 43, 64, 49 + h), this, IDC_TLS_FROM_YEAR, 12, 14);
  m_fromEra.Create(style, CRect(68, 43, 118, 49 + h), this, IDC_TLS_FROM_ERA);
  m_fromMonth.Create(style, CRect(122, 43, client.right - 4, 49 + h), this, IDC_TLS_FROM_MONTH);
  m_toYear.Create(CRect(4, 69 + h, 64, 75 + 2 * h), this, IDC_TLS_TO_YEAR, 12, 14);
  m_toEra.Create(style, CRect(68, 69 + h, 118, 75 + 2 * h), this, IDC_TLS_TO_ERA);
  m_toMonth.Create(style, CRect(122, 69 + h, client.right - 4, 75 + 2 * h), this, IDC_TLS_TO_MONTH);
  m_find.Create(CRect(client.right - 52, 83 + 2 * h, client.right - 4, 103 + 2 * h), this, IDB_TQ_BUTTON_FIRST + 19,
                CODButton::kUsualStyle, IDC_TLS_FIND);
  m_day.Create(style, CRect(client.right - 52, 43, client.right - 4, 49 + h), this, IDC_TLS_DAY);
  m_fromYear.LimitText(5);
  m_toYear.LimitText(5);
  for (CDropList* era : {&m_fromEra, &m_toEra}) {
    era->AddString("BC", FALSE);
    era->AddString("AD", FALSE);
  }
  for (CDropList* months : {&m_fromMonth, &m_toMonth})
    for (const char* month : kMonths) months->AddString(month, FALSE);
  m_day.AddString("All", FALSE);
  AdjustDays(0);
  m_events.Create(CRect(3, 29, client.right - 3, client.bottom - 10), this, IDC_TLS_EVENTS);
  m_events.ShowWindow(SW_SHOW);
}

void CTimeLineSearchDlg::HideModeFields() {
  for (CWnd* field : std::initializer_list<CWnd*>{&m_list, &m_fromYear, &m_fromEra, &m_fromMonth, &m_day, &m_toYear,
                                                  &m_toEra, &m_toMonth, &m_find})
    if (field->GetSafeHwnd()) field->ShowWindow(SW_HIDE);
}

void CTimeLineSearchDlg::ShowModeFields() {
  std::initializer_list<CWnd*> fields = {};
  const std::initializer_list<CWnd*> list = {&m_list};
  const std::initializer_list<CWnd*> dates = {&m_fromYear, &m_fromEra, &m_fromMonth, &m_toYear,
                                              &m_toEra,    &m_toMonth, &m_find};
  const std::initializer_list<CWnd*> day = {&m_fromMonth, &m_day, &m_find};
  switch (Mode()) {
    case timeline::ModePeriods:
    case timeline::ModeCategories:
    case timeline::ModeYearInReview: fields = list; break;
    case timeline::ModeByDate: fields = dates; break;
    case timeline::ModeOnThisDay: fields = day; break;
    default: break;
  }
  Layout();
  for (CWnd* field : fields)
    if (field->GetSafeHwnd()) field->ShowWindow(SW_SHOW);
}

void CTimeLineSearchDlg::PlaceEventList(int top) {
  if (!m_events.GetSafeHwnd()) return;
  CRect client;
  GetClientRect(&client);
  const int bottom = client.bottom - 10 > top + 20 ? client.bottom - 10 : top + 20;
  m_events.MoveWindow(3, top, client.Width() - 6, bottom - top);
}

void CTimeLineSearchDlg::Layout() {
  if (!m_list.GetSafeHwnd()) return;
  CRect client;
  GetClientRect(&client);
  const int h = PickerHeight();
  m_list.MoveWindow(3, 43, client.right - 9, 6 + h);
  CRect day(client.right - 52, 43, client.right - 4, 49 + h);
  m_day.MoveWindow(&day);
  const int monthRight = Mode() == timeline::ModeOnThisDay ? day.left - 4 : client.right - 4;
  const int monthLeft = Mode() == timeline::ModeOnThisDay ? 4 : 122;
  m_fromMonth.MoveWindow(monthLeft, 43, monthRight - monthLeft, 6 + h);
  m_toMonth.MoveWindow(122, 69 + h, client.right - 4 - 122, 6 + h);
  CRect find;
  m_find.GetWindowRect(&find);
  const int findTop = Mode() == timeline::ModeOnThisDay ? 57 + h : 83 + 2 * h;
  m_find.MoveWindow(client.right - 4 - find.Width(), findTop, find.Width(), find.Height());
  switch (Mode()) {
    case timeline::ModePeriods:
    case timeline::ModeCategories:
    case timeline::ModeYearInReview: PlaceEventList(49 + h + 6); break;
    case timeline::ModeByDate:
    case timeline::ModeOnThisDay: PlaceEventList(findTop + find.Height() + 6); break;
    default: PlaceEventList(29); break;
  }
}

void CTimeLineSearchDlg::AdjustDays(int month) {
  const int wanted = 1 + timeline::DaysInMonth(month);
  while (m_day.GetCount() > wanted) m_day.DeleteItem(m_day.GetCount() - 1);
  while (m_day.GetCount() < wanted) {
    CString number;
    number.Format("%d", m_day.GetCount());
    m_day.AddString(number, FALSE);
  }
  if (m_day.GetCurSel() < 0 || m_day.GetCurSel() >= wanted) m_day.SetCurSel(0);
}

void CTimeLineSearchDlg::FillLists() {
  if (m_parent == nullptr || !m_list.GetSafeHwnd()) return;
  const timeline::TimelineData& data = m_parent->GetData();
  switch (Mode()) {
    case timeline::ModePeriods:
    case timeline::ModeCategories:
    case timeline::ModeYearInReview: {
      const timeline::NamedList& list = Mode() == timeline::ModePeriods      ? data.periods
                                        : Mode() == timeline::ModeCategories ? data.categories
                                                                             : data.issues;
      m_list.ResetContent();
      m_list.AddString("All", FALSE);
      for (const CString& name : list.names) m_list.AddString(name, FALSE);
      m_list.SetCurSel(0);
      break;
    }
    case timeline::ModeByDate:
      m_fromYear.SetWindowText("1996");
      m_toYear.SetWindowText("1997");
      m_fromEra.SetCurSel(1);
      m_toEra.SetCurSel(1);
      m_fromMonth.SetCurSel(0);
      m_toMonth.SetCurSel(11);
      break;
    case timeline::ModeOnThisDay: {
      SYSTEMTIME today = {};
      ::GetLocalTime(&today);
      m_fromMonth.SetCurSel(today.wMonth - 1);
      AdjustDays(today.wMonth - 1);
      m_day.SetCurSel(today.wDay);
      break;
    }
    default: break;
  }
  Layout();
  FilterEvents();
  m_parent->EnableButton(FALSE);
}

timeline::FilterFields CTimeLineSearchDlg::ReadFields() const {
  timeline::FilterFields fields;
  CString from, to;
  m_fromYear.GetWindowText(from);
  m_toYear.GetWindowText(to);
  fields.fromYear = timeline::ParseYear(from, m_fromEra.GetCurSel() == 0);
  fields.toYear = timeline::ParseYear(to, m_toEra.GetCurSel() == 0);
  fields.fromMonth = m_fromMonth.GetCurSel() + 1;
  fields.toMonth = m_toMonth.GetCurSel() + 1;
  fields.listIndex = m_list.GetCurSel() < 0 ? 0 : m_list.GetCurSel();
  fields.day = m_day.GetCurSel() < 0 ? 0 : m_day.GetCurSel();
  return fields;
}

BOOL CTimeLineSearchDlg::FilterEvents() {
  if (m_parent == nullptr) return TRUE;
  const timeline::TimelineData& data = m_parent->GetData();
  CBitString set(data.eventCount, FALSE);
  for (int k : timeline::FilterEvents(data, Mode(), ReadFields())) set.SetBit(k);
  m_listed = set.GetSetCount();
  m_events.SetItems(set);
  CRect header;
  GetClientRect(&header);
  header.bottom = HeaderHeight;
  InvalidateRect(&header, FALSE);
  if (m_events.GetAnchor() >= 0) ShowAnchorEvent();
  return TRUE;
}

void CTimeLineSearchDlg::ShowAnchorEvent() {
  const int event = m_events.GetAnchor();
  if (m_parent == nullptr || event < 1 || event > m_parent->GetData().eventCount) return;
  m_parent->SetCurrentArticle(Reader().ToInternalArticle(static_cast<int>(GetEventEntry(event))));
}

void CTimeLineSearchDlg::SelectItem(int index) {
  m_list.SetCurSel(index);
  FilterEvents();
  m_parent->SelectListEntry(index);
  m_parent->EnableButton(index != 0);
}

void CTimeLineSearchDlg::OnFind() {
  const timeline::FilterFields fields = ReadFields();
  if (Mode() == timeline::ModeByDate && !timeline::IsDateRangeValid(fields)) {
    AfxMessageBox("The end date must be greater than the start date.", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  CWaitCursor wait;
  FilterEvents();
}

BOOL CTimeLineSearchDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (lParam != 0 && id == IDC_TLS_LIST && code == CDropList::kSelectionChanged) {
    CWaitCursor wait;
    const int index = m_list.GetCurSel();
    m_parent->SelectListEntry(index);
    FilterEvents();
    m_parent->EnableButton(index != 0);
    return TRUE;
  }
  if (lParam != 0 && id == IDC_TLS_FROM_MONTH && code == CDropList::kSelectionChanged) {
    if (Mode() == timeline::ModeOnThisDay) AdjustDays(m_fromMonth.GetCurSel());
    return TRUE;
  }
  if (lParam != 0 && id == IDC_TLS_FIND && code == BN_CLICKED) {
    OnFind();
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CTimeLineSearchDlg::OnOK() { ShowAnchorEvent(); }

void CTimeLineSearchDlg::OnEventDoubleClick() { ShowAnchorEvent(); }

int CTimeLineSearchDlg::GetItemTitle(int event, char* buffer) {
  buffer[0] = '\0';
  if (m_parent == nullptr || event < 1 || event > m_parent->GetData().eventCount) return 0;
  ReaderContext& app = Reader();
  return app.LookupTitle(app.ToInternalArticle(static_cast<int>(GetEventEntry(event))), buffer);
}

DWORD CTimeLineSearchDlg::GetEventEntry(int event) {
  if (m_parent == nullptr || event < 1 || event > m_parent->GetData().eventCount) return 0;
  return m_parent->GetData().Event(event).entry;
}

const char* CTimeLineSearchDlg::Prompt() const {
  switch (Mode()) {
    case timeline::ModePeriods: return "Select a period:";
    case timeline::ModeCategories: return "Select a category:";
    case timeline::ModeByDate: return "From:";
    case timeline::ModeYearInReview: return "Select an issue:";
    case timeline::ModeOnThisDay: return "Select a date:";
    default: return "";
  }
}

BOOL CTimeLineSearchDlg::OnEraseBkgnd(CDC*) { return TRUE; }

void CTimeLineSearchDlg::OnPaint() {
  CPaintDC dc(this);
  ReaderContext& app = Reader();
  CRect client;
  GetClientRect(&client);
  CRect header(0, 0, client.right, HeaderHeight);
  dc.FillRect(&header, app.GetBrush(kPanelHeaderBrush));
  CRect body(0, HeaderHeight, client.right, client.bottom);
  dc.FillRect(&body, app.GetBrush(kPanelBrush));
  CFont* old = dc.SelectObject(app.GetFont(FontCaption));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(255, 255, 255));
  CRect text(6, 0, client.right - 6, HeaderHeight);
  dc.DrawText("Events", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  CString count;
  count.Format("%d items", m_listed);
  dc.DrawText(count, &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  dc.SelectObject(app.GetFont(FontList));
  dc.SetTextColor(RGB(0, 0, 0));
  const int h = PickerHeight();
  if (*Prompt() != '\0') dc.TextOut(4, 27, Prompt());
  if (Mode() == timeline::ModeByDate) dc.TextOut(4, 53 + h, "To:");
  dc.SelectObject(old);
}

HBRUSH CTimeLineSearchDlg::OnCtlColor(CDC* dc, CWnd*, UINT) { return BlackOnWhite(dc); }

void CTimeLineSearchDlg::OnSetFocus(CWnd*) {
  if (m_events.GetSafeHwnd()) m_events.SetFocus();
}

BOOL CTimeLineSearchDlg::OnQueryNewPalette() {
  const UINT changed = RealizeWindowPalette(this, Reader().GetPalette(), FALSE);
  if (changed) Invalidate();
  return changed != 0;
}

void CTimeLineSearchDlg::OnPaletteChanged(CWnd* focus) {
  if (focus != this) Invalidate();
}
