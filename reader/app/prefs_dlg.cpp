#include "app/prefs_dlg.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/veldrix_app.h"
#include "controls/skin_environment.h"
#include "core/reader_messages.h"
#include "reader/reader_ids.h"
#include "settings/settings.h"

BEGIN_MESSAGE_MAP(CPrefs, CDialog)
ON_COMMAND_RANGE(IDC_PREF_SAVE_ON_EXIT, IDC_PREF_DISPLAY_PICTURES, OnToggle)
ON_BN_CLICKED(IDC_PREF_OK, OnOK)
ON_BN_CLICKED(IDC_PREF_CANCEL, OnCancel)
ON_BN_CLICKED(IDC_PREF_APPLY, OnApply)
ON_EN_SETFOCUS(IDC_PREF_SLIDE_DELAY, OnDelayFocus)
ON_WM_PAINT()
ON_WM_SETCURSOR()
ON_WM_CTLCOLOR()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// The colours offered for the three text colours.
const COLORREF kColours[] = {RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
                             RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(128, 128, 128),
                             RGB(192, 192, 192), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
                             RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};

constexpr int kMargin = 12;
constexpr int kGap = 8;
constexpr int kButtonGap = 10;
constexpr UINT kCheckStrip = 6127;  // normal and checked frames
constexpr int kCheckSize = 14;

struct CheckRow {
  UINT id;
  const char* text;
};
const CheckRow kChecks[] = {
    {IDC_PREF_SAVE_ON_EXIT, "Show the last article again at the next start"},
    {IDC_PREF_SHOW_INTRO, "Show the opening animation"},
    {IDC_PREF_DISPLAY_PICTURES, "Display pictures in articles"},
};
const char* const kDelayText = "Slide show delay (seconds):";
const char* const kFaceText = "Article font:";
const char* const kSizeText = "Font size:";
const char* const kHighlightText = "Highlighter colour:";
const char* const kSearchText = "Search colour:";
const char* const kCrossRefText = "Cross-reference colour:";

struct FaceList {
  CDropList* picker;
};

int CALLBACK AddFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM list) {
  if (!(type & TRUETYPE_FONTTYPE) || font->lfFaceName[0] == '@') return 1;
  CDropList& picker = *reinterpret_cast<FaceList*>(list)->picker;
  const int current = picker.GetCurSel();
  // A face once, whatever character sets it comes in.
  if (picker.SelectString(font->lfFaceName) < 0) picker.AddString(font->lfFaceName, TRUE);
  picker.SetCurSel(current);
  return 1;
}

}  // namespace

CPrefs::CPrefs(CWnd* pParentWnd) : CDialog(IDD_PREFERENCES, pParentWnd) {}

CBmButton& CPrefs::CheckButton(UINT id) {
  if (id == IDC_PREF_SHOW_INTRO) return m_showIntro;
  if (id == IDC_PREF_DISPLAY_PICTURES) return m_displayPictures;
  return m_saveOnExit;
}

CSize CPrefs::Layout() {
  m_labels.clear();
  CClientDC dc(this);
  CFont* oldFont = dc.SelectObject(Skin().GetFont(12));
  const auto textWidth = [&](const char* text) {
    return static_cast<int>(dc.GetTextExtent(text, static_cast<int>(std::strlen(text))).cx);
  };
  const int field = Skin().GetLineHeight() + 6;  // the height of the edit and of a picker
  int right = 0;
  int y = kMargin;
  const auto label = [&](const char* text, int left) {
    m_labels.push_back(Label{text, CRect(left, y, left + textWidth(text), y + field)});
    right = std::max(right, static_cast<int>(m_labels.back().place.right));
  };

  // The check buttons, each with its text to the right.
  for (const CheckRow& row : kChecks) {
    const int top = y + (field - kCheckSize) / 2;
    CRect box(kMargin, top, kMargin + kCheckSize, top + kCheckSize);
    CBmButton& check = CheckButton(row.id);
    check.Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, box, this, row.id);
    check.SetBitmap(&box, this, kCheckStrip, CBmButton::kNormalFrame | CBmButton::kPushedFrame);
    label(row.text, kMargin + check.GetFrameSize().cx + kGap);
    y += field + 4;
  }
  y += kGap;

  // The fields, their texts in one column and the controls in the next.
  int column = 0;
  for (const char* text : {kDelayText, kFaceText, kSizeText, kHighlightText, kSearchText, kCrossRefText})
    column = std::max(column, textWidth(text));
  column += kMargin + 2 * kGap;
  const auto fieldRow = [&](const char* text, int width) {
    label(text, kMargin);
    const CRect place(column, y, column + width, y + field);
    right = std::max(right, static_cast<int>(place.right));
    y += field + 6;
    return place;
  };
  const CRect delay = fieldRow(kDelayText, 44);
  m_delay.Create(&delay, this, IDC_PREF_SLIDE_DELAY, 9, 11);
  ::SetWindowLongPtrA(m_delay.m_hWnd, GWL_STYLE, ::GetWindowLongPtrA(m_delay.m_hWnd, GWL_STYLE) | ES_NUMBER);
  m_delay.SetFont(Skin().GetFont(12));
  const DWORD picker = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  m_faces.Create(picker, fieldRow(kFaceText, 170), this, IDC_PREF_FONT_NAME);
  m_sizes.Create(picker, fieldRow(kSizeText, 50), this, IDC_PREF_FONT_SIZE);
  m_highlight.Create(picker, fieldRow(kHighlightText, 70), this, IDC_PREF_HIGHLIGHT);
  m_search.Create(picker, fieldRow(kSearchText, 70), this, IDC_PREF_SEARCH);
  m_crossRef.Create(picker, fieldRow(kCrossRefText, 70), this, IDC_PREF_CROSS_REF);
  y += kGap;

  // Ok, Apply and Cancel in one row, centred.
  CODButton* buttons[] = {&m_ok, &m_apply, &m_cancel};
  m_ok.Create(CRect(0, 0, 0, 0), this, IDB_PREF_OK, CODButton::kUsualStyle, IDC_PREF_OK);
  m_apply.Create(CRect(0, 0, 0, 0), this, IDB_PREF_APPLY, CODButton::kUsualStyle, IDC_PREF_APPLY);
  m_cancel.Create(CRect(0, 0, 0, 0), this, IDB_PREF_CANCEL, CODButton::kUsualStyle, IDC_PREF_CANCEL);
  int rowWidth = 2 * kButtonGap;
  int rowHeight = 0;
  for (CODButton* button : buttons) {
    rowWidth += button->GetFrameSize().cx;
    rowHeight = std::max(rowHeight, static_cast<int>(button->GetFrameSize().cy));
  }
  const int width = std::max(right, kMargin + rowWidth) + kMargin;
  int x = (width - rowWidth) / 2;
  for (CODButton* button : buttons) {
    button->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    x += button->GetFrameSize().cx + kButtonGap;
  }
  dc.SelectObject(oldFont);
  return CSize(width, y + rowHeight + kMargin);
}

void CPrefs::FillColours(CDropList& picker, COLORREF current) {
  for (COLORREF colour : kColours) picker.AddNumber(colour);
  // A colour of the settings that is not among these stays on offer.
  if (picker.SelectNumber(current) < 0) {
    picker.AddNumber(current);
    picker.SelectNumber(current);
  }
}

COLORREF CPrefs::ChosenColour(const CDropList& picker, COLORREF fallback) {
  return picker.GetCurSel() < 0 ? fallback : static_cast<COLORREF>(picker.GetCurNumber());
}

BOOL CPrefs::OnInitDialog() {
  CDialog::OnInitDialog();
  CVeldrixApp& app = GetVeldrixApp();
  m_hIcon = app.LoadIcon(IDI_VELDRIX);
  if (m_hIcon) ::SetClassLongPtrA(m_hWnd, GCLP_HICON, reinterpret_cast<LONG_PTR>(m_hIcon));

  const CSize content = Layout();
  {
    CClientDC screen(nullptr);
    LOGFONTA all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    FaceList list{&m_faces};
    ::EnumFontFamiliesExA(screen.m_hDC, &all, AddFace, reinterpret_cast<LPARAM>(&list), 0);
  }
  for (int size = 8; size <= 16; ++size) {
    char text[4];
    std::snprintf(text, sizeof text, "%d", size);
    m_sizes.AddString(text, FALSE);
  }
  char face[80];
  GetSettingString(InstallationOptions, "FontName", "Arial", face, sizeof face, SettingsIniName);
  m_faces.SelectString(face);
  char size[12];
  std::snprintf(size, sizeof size, "%d", GetSettingInt(InstallationOptions, "FontSize", 9, SettingsIniName));
  m_sizes.SelectString(size);

  m_saveOnExit.SetCheck(GetSettingInt(InstallationOptions, "SaveOnExit", app.m_bSaveOnExit, SettingsIniName) != 0);
  m_showIntro.SetCheck(GetSettingInt(InstallationOptions, "ShowIntro", app.m_bShowIntro, SettingsIniName) != 0);
  m_displayPictures.SetCheck(
      GetSettingInt(InstallationOptions, "DisplayPictures", app.m_bDisplayPictures, SettingsIniName) != 0);
  m_delay.LimitText(4);
  char delay[12];
  std::snprintf(delay, sizeof delay, "%d", GetSettingInt(InstallationOptions, "SlideShowDelay", 5, SettingsIniName));
  m_delay.SetWindowText(delay);
  FillColours(m_highlight, app.GetBackColour(ColourHighlighter));
  FillColours(m_search, app.GetBackColour(ColourSearchHit));
  FillColours(m_crossRef, app.GetTextColour(ColourCrossRef));

  // The dialog's size is what its controls need.
  CRect window(0, 0, content.cx, content.cy);
  ::AdjustWindowRectEx(&window, GetStyle(), FALSE, GetExStyle());
  SetWindowPos(nullptr, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CenterWindow();
  return TRUE;
}

void CPrefs::OnToggle(UINT nID) {
  CBmButton& check = CheckButton(nID);
  check.SetCheck(!check.GetCheck());
}

void CPrefs::OnApply() { SaveSettings(); }

void CPrefs::OnOK() {
  SaveSettings();
  EndDialog(IDOK);
}

void CPrefs::OnCancel() { EndDialog(IDCANCEL); }

void CPrefs::SaveSettings() {
  CWaitCursor wait;
  CVeldrixApp& app = GetVeldrixApp();
  const auto write = [](const char* name, const char* text) {
    WriteSettingString(InstallationOptions, name, text, SettingsIniName);
  };
  const auto writeInt = [&](const char* name, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    write(name, text);
  };
  const BOOL saveOnExit = m_saveOnExit.GetCheck() ? 1 : 0;
  const BOOL showIntro = m_showIntro.GetCheck() ? 1 : 0;
  const BOOL displayPictures = m_displayPictures.GetCheck() ? 1 : 0;
  writeInt("SaveOnExit", saveOnExit);
  writeInt("ShowIntro", showIntro);
  writeInt("DisplayPictures", displayPictures);
  bool fonts = displayPictures != app.m_bDisplayPictures;  // the screens lay their text out again
  app.m_bSaveOnExit = saveOnExit;
  app.m_bShowIntro = showIntro;
  app.m_bDisplayPictures = displayPictures;

  CString delayText;
  m_delay.GetWindowText(delayText);
  int delay = 0;
  if (std::sscanf(delayText, "%d", &delay) != 1 || delay < 1 || delay > 59) delay = 1;
  writeInt("SlideShowDelay", delay);

  const COLORREF highlight = ChosenColour(m_highlight, app.GetBackColour(ColourHighlighter));
  const COLORREF search = ChosenColour(m_search, app.GetBackColour(ColourSearchHit));
  const COLORREF crossRef = ChosenColour(m_crossRef, app.GetTextColour(ColourCrossRef));
  const bool colours = highlight != app.GetBackColour(ColourHighlighter) ||
                       search != app.GetBackColour(ColourSearchHit) || crossRef != app.GetTextColour(ColourCrossRef);
  const auto writeColour = [&](const char* name, COLORREF colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%lx", static_cast<unsigned long>(colour));
    write(name, text);
  };
  writeColour("HighlightColour", highlight);
  writeColour("SearchColour", search);
  writeColour("CrossRefColour", crossRef);

  char storedFace[80];
  GetSettingString(InstallationOptions, "FontName", "Arial", storedFace, sizeof storedFace, SettingsIniName);
  const int storedSize = GetSettingInt(InstallationOptions, "FontSize", 9, SettingsIniName);
  // Nothing chosen keeps what is stored.
  CString face, sizeText;
  if (!m_faces.GetCurText(face)) face = storedFace;
  m_sizes.GetCurText(sizeText);
  int size = storedSize;
  if (!sizeText.IsEmpty()) std::sscanf(sizeText, "%d", &size);
  if (size != storedSize || face.CompareNoCase(storedFace) != 0) fonts = true;
  writeInt("FontSize", size);
  write("FontName", face);

  if (colours) app.LoadColours(fonts ? FALSE : TRUE);
  if (fonts) app.RecreateArticleFonts(TRUE, nullptr);
}

void CPrefs::OnDelayFocus() { m_delay.SetSel(0, -1); }

void CPrefs::OnPaint() {
  CPaintDC dc(this);
  CFont* oldFont = dc.SelectObject(Skin().GetFont(12));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  for (const Label& label : m_labels) {
    CRect place = label.place;
    dc.DrawText(label.text, -1, &place, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  }
  dc.SelectObject(oldFont);
}

BOOL CPrefs::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  m_hover.Track(pWnd ? pWnd->m_hWnd : nullptr);
  return CDialog::OnSetCursor(pWnd, nHitTest, message);
}

HBRUSH CPrefs::OnCtlColor(CDC* pDC, CWnd*, UINT) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetBkColor(RGB(255, 255, 255));
  return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

BOOL CPrefs::OnQueryNewPalette() {
  CVeldrixApp& app = GetVeldrixApp();
  if (!app.m_palette.m_hObject) return FALSE;
  const UINT changed = RealizeWindowPalette(this, &app.m_palette, FALSE);
  if (changed) {
    Invalidate();
    if (CWnd* parent = GetParent()) parent->Invalidate();
  }
  return changed != 0;
}

void CPrefs::OnPaletteChanged(CWnd* pFocusWnd) {
  if (pFocusWnd && pFocusWnd->m_hWnd != m_hWnd) OnQueryNewPalette();
}

void CPrefs::OnDestroy() {
  CDialog::OnDestroy();
  if (m_hIcon) ::DestroyIcon(m_hIcon);
  m_hIcon = nullptr;
}
