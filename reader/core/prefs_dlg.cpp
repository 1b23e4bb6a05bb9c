#include "prefs_dlg.h"

#include <cstdio>

#include "reader/reader_ids.h"
#include "reader_messages.h"
#include "settings.h"
#include "skin_environment.h"
#include "veldrix_app.h"

BEGIN_MESSAGE_MAP(CPrefs, CDialog)
ON_COMMAND_RANGE(IDC_PREF_SAVE_ON_EXIT, IDC_PREF_DISPLAY_PICTURES, OnToggle)
ON_BN_CLICKED(IDC_PREF_OK, OnOK)
ON_BN_CLICKED(IDC_PREF_CANCEL, OnCancel)
ON_BN_CLICKED(IDC_PREF_APPLY, OnApply)
ON_EN_SETFOCUS(IDC_PREF_SLIDE_DELAY, OnDelayFocus)
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

BOOL CPrefs::MakePicker(CDropList& picker, int id) {
  CRect place(0, 0, 0, 0);
  if (CWnd* placeholder = GetDlgItem(id)) {
    placeholder->GetWindowRect(&place);
    ScreenToClient(&place);
    ::DestroyWindow(placeholder->m_hWnd);
  }
  return picker.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, place, this, static_cast<UINT>(id));
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

  MakePicker(m_faces, IDC_PREF_FONT_NAME);
  MakePicker(m_sizes, IDC_PREF_FONT_SIZE);
  MakePicker(m_highlight, IDC_PREF_HIGHLIGHT);
  MakePicker(m_search, IDC_PREF_SEARCH);
  MakePicker(m_crossRef, IDC_PREF_CROSS_REF);
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

  CheckDlgButton(IDC_PREF_SAVE_ON_EXIT,
                 GetSettingInt(InstallationOptions, "SaveOnExit", app.m_bSaveOnExit, SettingsIniName) ? 1 : 0);
  CheckDlgButton(IDC_PREF_SHOW_INTRO,
                 GetSettingInt(InstallationOptions, "ShowIntro", app.m_bShowIntro, SettingsIniName) ? 1 : 0);
  CheckDlgButton(
      IDC_PREF_DISPLAY_PICTURES,
      GetSettingInt(InstallationOptions, "DisplayPictures", app.m_bDisplayPictures, SettingsIniName) ? 1 : 0);
  SendDlgItemMessage(IDC_PREF_SLIDE_DELAY, EM_LIMITTEXT, 4, 0);
  char delay[12];
  std::snprintf(delay, sizeof delay, "%d", GetSettingInt(InstallationOptions, "SlideShowDelay", 5, SettingsIniName));
  SetDlgItemText(IDC_PREF_SLIDE_DELAY, delay);
  FillColours(m_highlight, app.GetBackColour(ColourHighlighter));
  FillColours(m_search, app.GetBackColour(ColourSearchHit));
  FillColours(m_crossRef, app.GetTextColour(ColourCrossRef));
  CenterWindow();
  return TRUE;
}

void CPrefs::OnToggle(UINT nID) {
  CheckDlgButton(static_cast<int>(nID), IsDlgButtonChecked(static_cast<int>(nID)) ? 0 : 1);
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
  const BOOL saveOnExit = IsDlgButtonChecked(IDC_PREF_SAVE_ON_EXIT) ? 1 : 0;
  const BOOL showIntro = IsDlgButtonChecked(IDC_PREF_SHOW_INTRO) ? 1 : 0;
  const BOOL displayPictures = IsDlgButtonChecked(IDC_PREF_DISPLAY_PICTURES) ? 1 : 0;
  writeInt("SaveOnExit", saveOnExit);
  writeInt("ShowIntro", showIntro);
  writeInt("DisplayPictures", displayPictures);
  bool fonts = displayPictures != app.m_bDisplayPictures;  // the screens lay their text out again
  app.m_bSaveOnExit = saveOnExit;
  app.m_bShowIntro = showIntro;
  app.m_bDisplayPictures = displayPictures;

  CString delayText;
  GetDlgItemText(IDC_PREF_SLIDE_DELAY, delayText);
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

void CPrefs::OnDelayFocus() { SendDlgItemMessage(IDC_PREF_SLIDE_DELAY, EM_SETSEL, 0, -1); }

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
