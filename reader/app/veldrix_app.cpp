// The application object: members, start-up in its fixed order, shutdown,
// and what the content databases and the bookmark file need of it.
#include "app/veldrix_app.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "app/main_frame.h"
#include "app/veldrix_doc.h"
#include "core/media_library.h"
#include "core/program_data.h"
#include "core/reader_messages.h"
#include "core/spell_hash.h"
#include "reader/reader_ids.h"
#include "settings/settings.h"

BEGIN_MESSAGE_MAP(CVeldrixApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_HELP_INDEX, OnHelpIndex)
END_MESSAGE_MAP()

namespace {

// The program file's folder with its backslash; empty when its path has none.
void ProgramFolder(char* folder, int size) {
  char path[MAX_PATH] = "";
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* last = std::strrchr(path, '\\');
  if (last)
    last[1] = '\0';
  else
    path[0] = '\0';
  std::snprintf(folder, static_cast<size_t>(size), "%s", path);
}

}  // namespace

CVeldrixApp::CVeldrixApp() : CWinApp(MainWindowTitle) {}

CVeldrixApp::~CVeldrixApp() {
  SetContentDbHost(nullptr);
  SetDisplayServices(nullptr);
}

CVeldrixApp& GetVeldrixApp() { return *static_cast<CVeldrixApp*>(AfxGetApp()); }

CMainFrame* CVeldrixApp::GetMainFrame() const { return dynamic_cast<CMainFrame*>(m_pMainWnd); }

BOOL CVeldrixApp::FailStart(const char* message) {
  DoWaitCursor(-1);
  if (message) AfxMessageBox(message, MB_ICONEXCLAMATION | MB_OK);
  return FALSE;
}

BOOL CVeldrixApp::InitInstance() {
  DoWaitCursor(1);
  // A second start brings the running reader to the front and ends.
  if (HWND running = ::FindWindowA(nullptr, MainWindowTitle)) {
    ::BringWindowToTop(running);
    HWND popup = ::GetLastActivePopup(running);
    if (popup && popup != running) ::BringWindowToTop(popup);
    ::SetForegroundWindow(popup ? popup : running);
    DoWaitCursor(-1);
    return FALSE;
  }
  // Before any skinned control or display is made.
  SetSkinEnvironment(this);
  SetDisplayServices(this);
  m_loadingDlg.Create();
  SetContentDbHost(this);

  m_bMediaAvailable = TRUE;
  if (!TheMediaLibrary().IsInstalled()) {
    m_bMediaAvailable = FALSE;
    if (AfxMessageBox("Kinora for Windows is not installed on your system.\r\nTimeline and Multimedia will be "
                      "unavailable until\r\nKinora for Windows is installed.\r\nDo you want to continue?",
                      MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
      return FailStart(nullptr);
  }
  ::SetHandleCount(50);

  char folder[WorkingDirectorySize];
  ProgramFolder(folder, sizeof folder);
  GetSettingString(InstallationOptions, "WorkingDirectory", folder, m_strWorkingDir, WorkingDirectorySize,
                   SettingsIniName);
  // Data file names are the directory followed by the name.
  const size_t length = std::strlen(m_strWorkingDir);
  if (length > 0 && m_strWorkingDir[length - 1] != '\\' && length + 1 < WorkingDirectorySize)
    std::strcat(m_strWorkingDir, "\\");
  SetWorkingDirectory(m_strWorkingDir);
  if (m_strWorkingDir[0]) ::SetCurrentDirectoryA(m_strWorkingDir);

  if (LoadDIB(IDB_BACKGROUND, m_backgroundBitmap, m_palette, FALSE, TRUE)) {
    BITMAP size = {};
    m_backgroundBitmap.GetBitmap(&size);
    m_backgroundWidth = size.bmWidth;
    m_backgroundHeight = size.bmHeight;
  }
  if (!CreateBrushes()) return FailStart("Failed to create the brushes.");
  LoadColours(FALSE);
  LoadButtonBitmaps();
  const u8* data = nullptr;
  u32 size = 0;
  if (FindProgramData(IDR_ABBREVIATIONS, &data, &size)) {
    m_abbreviations = reinterpret_cast<const char*>(data);
    m_abbreviationList = WordList(m_abbreviations, size);
  }
  if (FindProgramData(IDR_STOP_WORDS, &data, &size)) {
    m_stopWords = reinterpret_cast<const char*>(data);
    m_stopWordList = WordList(m_stopWords, size);
  }
  m_tokenizer.SetAbbreviations(&m_abbreviationList);

  if (!LoadSpellHash()) return FailStart("Failed to load the file Spelhash.dat.");
  m_checkBitmap.LoadOEMBitmap(OBM_CHECK);

  if (m_bMediaAvailable) {
    if (!TheMediaLibrary().Start()) return FailStart("Failed to initialize the Kinora for Windows.");
    if (!TheMediaLibrary().EnterMovies()) {
      TheMediaLibrary().Stop();
      return FailStart("Failed to initialize the movies.");
    }
    m_bMediaStarted = TRUE;
  }

  if (!LoadBitSets()) return FailStart("Failed to load the bit strings.");
  if (!OpenDatabases()) return FailStart(nullptr);
  ResizeFolders(static_cast<int>(GetDatabase(1).GetEntryCount()));
  m_bDatabasesOpen = TRUE;

  while (!GetDatabase(1).OpenMediaData()) {
    const int answer = AfxMessageBox(
        "The Marovan & World Encyclopedia CD-ROM could not be located in your CD-ROM drive.\r\nTimeline and "
        "Multimedia will be unavailable until The Marovan & World Encyclopedia\r\nCD-ROM has been inserted into your "
        "CD-ROM drive.",
        MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION);
    if (answer == IDABORT) return FailStart(nullptr);
    if (answer == IDIGNORE) break;
  }

  if (!(m_bMainTitlesOpen = m_mainTitles.Open())) return FailStart("Failed to initialize the main typematic.");
  if (!(m_bUpdateTitlesOpen = m_updateTitles.Open())) return FailStart("Failed to initialize the small typematic.");

  m_bDisplayPictures = GetSettingInt(InstallationOptions, "DisplayPictures", 1, SettingsIniName);
  m_bShowIntro = GetSettingInt(InstallationOptions, "ShowIntro", 1, SettingsIniName);
  m_bSaveOnExit = GetSettingInt(InstallationOptions, "SaveOnExit", 1, SettingsIniName);

  BuildRandomPictures();
  srand(static_cast<unsigned>(time(nullptr)));
  m_lastPictureTime = time(nullptr);

  if (!CreateFonts()) return FailStart("Failed to create the fonts.");
  SetDialogBkColor(RGB(192, 192, 192));
  LoadStdProfileSettings(4);

  if (GetFirstDocTemplatePosition() == nullptr) {
    for (int i = 0; i < ScreenCount; ++i) {
      const Screen screen = static_cast<Screen>(i);
      AddDocTemplate(new CSingleDocTemplate(ScreenInfo(screen).templateId, RUNTIME_CLASS(CVeldrixDoc),
                                            RUNTIME_CLASS(CMainFrame), ScreenViewClass(screen)));
    }
  }
  OnFileNew();
  if (!m_pMainWnd) return FailStart(nullptr);
  DoWaitCursor(-1);
  m_bStarted = TRUE;
  return TRUE;
}

BOOL CVeldrixApp::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_TIMER && pMsg->hwnd == nullptr) return FALSE;
  return CWinApp::PreTranslateMessage(pMsg);
}

void CVeldrixApp::BuildRandomPictures() {
  m_randomPictures.RemoveAll();
  CContentDb& main = GetDatabase(1);
  const int categories = main.GetMediaCategoryCount();
  if (categories < 1) return;
  CBitString pool(static_cast<int>(main.GetEntryCount()), FALSE);
  main.ReadCategorySet(categories - 1, pool);
  for (int entry = pool.NextSet(1); entry > 0; entry = pool.NextSet(entry + 1))
    m_randomPictures.Add(static_cast<DWORD>(entry));
}

int CVeldrixApp::ExitInstance() {
  while (m_buttonImages.GetSize() > 0) {
    delete m_buttonImages[0];
    m_buttonImages.RemoveAt(0);
    if (m_buttonMasks.GetSize() > 0) {
      delete m_buttonMasks[0];
      m_buttonMasks.RemoveAt(0);
    }
  }
  if (m_spellTable) SpellHashFree(m_spellTable);
  m_spellTable = nullptr;
  m_backgroundBitmap.DeleteObject();
  ResetBookmarks();
  if (m_bDatabasesOpen) {
    CloseDatabases();
    REapp(m_session, 100, ReActClose);
    REmemory(&m_session, nullptr, ReBlockApp, ReActClose, 0);
    m_session = nullptr;
    m_bDatabasesOpen = FALSE;
  }
  if (m_bMainTitlesOpen) m_mainTitles.Close();
  if (m_bUpdateTitlesOpen) m_updateTitles.Close();
  m_bMainTitlesOpen = m_bUpdateTitlesOpen = FALSE;
  if (m_bMediaAvailable && m_bMediaStarted) {
    TheMediaLibrary().ExitMovies();
    TheMediaLibrary().Stop();
  }
  m_bMediaStarted = FALSE;
  // After a failed start the loading dialog is still up; the program ends here.
  if (m_loadingDlg.m_hWnd) m_loadingDlg.DestroyWindow();
  m_bStarted = FALSE;
  return 0;
}

// --- the content databases' host ---

void CVeldrixApp::ShowMessage(const char* text) { AfxMessageBox(text, MB_ICONEXCLAMATION | MB_OK); }

void CVeldrixApp::BeginSearch(const char* caption) {
  m_bSearchStopped = FALSE;
  if (m_progressDlg.m_hWnd) m_progressDlg.DestroyWindow();
  m_bProgressCreated = m_progressDlg.Create(CSearchProgressDlg::kTemplate, m_pMainWnd, caption);
}

void CVeldrixApp::EndSearch() {
  if (m_progressDlg.m_hWnd) m_progressDlg.DestroyWindow();
  m_bProgressCreated = FALSE;
}

i32 RE_CALL CVeldrixApp::SearchProgress(u32 done, u32 total) {
  CVeldrixApp& app = GetVeldrixApp();
  CSearchProgressDlg& window = app.m_progressDlg;
  if (app.m_bProgressCreated && !::IsWindow(window.m_hWnd)) {
    app.m_bSearchStopped = TRUE;  // the reader pressed Cancel
    return 1;
  }
  if (!window.m_hWnd) return 0;
  if (done != 0 && done != total && !window.IsWindowVisible()) {
    window.ShowWindow(SW_SHOW);
    window.SetActiveWindow();
  }
  window.SetProgress(total ? static_cast<int>(static_cast<unsigned long long>(done) * 100 / total) : 0);
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The program is ending: leave the quit for its loop and stop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      app.m_bSearchStopped = TRUE;
      return 1;
    }
    if (::IsWindow(window.m_hWnd) && ::IsDialogMessageA(window.m_hWnd, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  if (app.m_bProgressCreated && !::IsWindow(window.m_hWnd)) {
    app.m_bSearchStopped = TRUE;
    return 1;
  }
  return 0;
}

bool CVeldrixApp::IsDictionaryEntry(u32 mainEntry) {
  return m_vornBits.Test(ToInternalArticle(static_cast<int>(mainEntry))) != 0;
}

// --- the shell's own commands ---

void CVeldrixApp::OnAppAbout() {
  if (!m_bMediaAvailable) {
    AfxMessageBox(
        "The Kinora for Windows is not installed on your system.\r\nThe About dialog box will be "
        "unavailable until\r\nKinora for Windows will be installed.\r\nDo you want to continue?",
        MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  while (!GetDatabase(1).OpenMediaData()) {
    if (AfxMessageBox("The Marovan & World Encyclopedia CD-ROM could not be located in your CD-ROM drive.\r\nThe "
                      "About dialog box will be unavailable until\r\nThe Marovan & World Encyclopedia CD-ROM has been "
                      "inserted into your CD-ROM drive.",
                      MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY)
      return;
  }
  m_aboutDlg.DoModal();
}

void CVeldrixApp::OnHelpIndex() { WinHelp(0, HELP_FINDER); }
