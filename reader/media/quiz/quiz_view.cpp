#include "media/quiz/quiz_view.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "controls/skin_environment.h"
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "core/sound_engine.h"
#include "display/display_services.h"
#include "media/quiz/goto_question_dlg.h"
#include "media/timed_popup.h"
#include "panels/item_router.h"
#include "panels/tool_panel_host.h"
#include "reader/reader_ids.h"
#include "reader/timeline_quiz_ids.h"
#include "settings/settings.h"

IMPLEMENT_DYNCREATE(CQuiz, CFormView)

namespace {

constexpr int kTopBand = 49;
constexpr int kAnswerTextLeft = 48;
constexpr int kAnswerButtonLeft = 14;
constexpr int kCategoriesMenu = 3;

int Random() { return std::rand() & 0x7FFF; }

BOOL Flag(const char* name) { return GetSettingInt(InstallationOptions, name, 1, SettingsIniName) != 0; }

void WriteFlag(const char* name, BOOL on) {
  WriteSettingString(InstallationOptions, name, on ? "1" : "0", SettingsIniName);
}

}  // namespace

BEGIN_MESSAGE_MAP(CQuiz, CFormView)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_COMMAND(ID_QZ_RESET_SCORE, OnResetScore)
ON_COMMAND(ID_QZ_SOUND, OnSound)
ON_UPDATE_COMMAND_UI(ID_QZ_SOUND, OnUpdateSound)
ON_COMMAND(ID_QZ_GOTO, OnGoToQuestion)
ON_COMMAND(ID_QZ_RANDOM, OnRandom)
ON_UPDATE_COMMAND_UI(ID_QZ_RANDOM, OnUpdateRandom)
ON_COMMAND(ID_QZ_SEQUENTIAL, OnSequential)
ON_UPDATE_COMMAND_UI(ID_QZ_SEQUENTIAL, OnUpdateSequential)
ON_COMMAND(ID_QZ_ENGLISH, OnEnglish)
ON_UPDATE_COMMAND_UI(ID_QZ_ENGLISH, OnUpdateEnglish)
ON_COMMAND(ID_QZ_FRENCH, OnFrench)
ON_UPDATE_COMMAND_UI(ID_QZ_FRENCH, OnUpdateFrench)
ON_COMMAND(ID_QZ_ALL, OnAllCategories)
ON_COMMAND_RANGE(ID_QZ_CATEGORY_FIRST, ID_QZ_CATEGORY_LAST, OnCategory)
ON_COMMAND(ID_QZ_NEW_PICTURE, OnNewPicture)
ON_COMMAND(ID_QZ_NUMBER_PIECES, OnNumberPieces)
ON_UPDATE_COMMAND_UI(ID_QZ_NUMBER_PIECES, OnUpdateNumberPieces)
ON_COMMAND(ID_QZ_HELP, OnHelp)
ON_COMMAND(ID_QZ_CONSULTANTS, OnConsultants)
ON_MESSAGE(WM_SHOWITEM, OnShowItem)
ON_EN_SETFOCUS(IDC_QZ_QUESTION, OnQuestionFocus)
ON_MESSAGE(WM_TEXTFROMTOP, OnTextFromTop)
ON_MESSAGE(WM_BITSCHANGED, OnBitsChanged)
END_MESSAGE_MAP()

CQuiz::CQuiz() : CFormView(IDD_QUIZ_FORM) {}

CQuiz::~CQuiz() {
  for (CWnd* thumb : m_thumbs) delete thumb;
}

BOOL CQuiz::MediaAvailable() {
  ReaderContext& app = Reader();
  return app.m_bMediaAvailable && app.GetDatabase(1).OpenMediaData();
}

CString CQuiz::QuizPath() const {
  CString path(Reader().m_strWorkingDir);
  path += m_english ? "ZORLQUIZ.DAT" : "ZORLQUZF.DAT";
  return path;
}

// ---- start ----

void CQuiz::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  if (m_created) return;
  m_created = TRUE;
  ReaderContext& app = Reader();
  if (!m_menu.m_hMenu) m_menu.LoadMenu(IDR_QUIZ);
  if (app.LoadDIB(IDB_QZ_SCORE_PANEL, m_scorePanel)) {
    BITMAP size = {};
    m_scorePanel.GetBitmap(&size);
    m_panelWidth = size.bmWidth;
    m_panelHeight = size.bmHeight;
  }
  m_soundOn = Flag("Sound");
  m_numberPieces = Flag("NumberPieces");
  m_english = Flag("EnglishQuiz");
  m_random = Flag("Random");
  LoadQuizHeader();
  LoadCategories();

  // Buttons, tiles, texts, the category line.
  const DWORD textStyle = WS_CHILD | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
  m_questionText.Create(textStyle, CRect(10, 60, 300, 80), this, IDC_QZ_QUESTION);
  LOGFONT font = {};
  font.lfHeight = -15;
  font.lfWeight = FW_BOLD;
  lstrcpyA(font.lfFaceName, "Arial");
  m_textFont.CreateFontIndirect(&font);
  m_questionText.SetFont(&m_textFont);
  for (int k = 0; k < AnswerCount; ++k) {
    m_answerTexts[k].Create(textStyle, CRect(kAnswerTextLeft, 100, 300, 120), this, IDC_QZ_ANSWER_TEXT_FIRST + k);
    m_answerTexts[k].SetFont(&m_textFont);
    m_answerButtons[k].Create(CRect(kAnswerButtonLeft, 100, kAnswerButtonLeft + 24, 122), this,
                              IDB_TQ_BUTTON_FIRST + 20 + k, CODButton::kUsualStyle, IDC_QZ_ANSWER_FIRST + k);
    m_answerButtons[k].ShowWindow(SW_HIDE);
  }
  m_clue.Create(CRect(4, 3, 60, 23), this, IDB_TQ_BUTTON_FIRST + 26, CODButton::kUsualStyle, IDC_QZ_CLUE);
  m_newQuestion.Create(CRect(62, 3, 174, 23), this, IDB_TQ_BUTTON_FIRST + 27, CODButton::kUsualStyle,
                       IDC_QZ_NEW_QUESTION);
  m_hint.Create(CRect(176, 3, 232, 23), this, IDB_TQ_BUTTON_FIRST + 28, CODButton::kUsualStyle, IDC_QZ_HINT);
  m_scramble.Create(CRect(234, 3, 314, 23), this, IDB_TQ_BUTTON_FIRST + 29, CODButton::kUsualStyle, IDC_QZ_SCRAMBLE);
  m_solve.Create(CRect(316, 3, 372, 23), this, IDB_TQ_BUTTON_FIRST + 30, CODButton::kUsualStyle, IDC_QZ_SOLVE);
  m_help.Create(CRect(374, 3, 422, 23), this, IDB_TQ_BUTTON_FIRST + 13, CODButton::kUsualStyle, IDC_QZ_HELP);
  m_screenBand.Create(this, Screen::Quiz);
  m_tiles.Create(this, CPoint(221, BoardTop), IDC_QZ_TILE_FIRST);
  m_categoryLine.Create("", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, CRect(4, 27, 400, 45), this,
                        IDC_QZ_CATEGORY_LINE);
  m_categoryLine.SetFont(app.GetFont(FontList));
  UpdateCategoryLine();

  m_passed = -1;
  m_score = 0;
  m_question = 0;
  m_firstTry = TRUE;
  m_uncovered = 15;
  m_board.Reset();
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  Layout();
  NextQuestion();
}

void CQuiz::LoadQuizHeader() {
  std::vector<u8> image;
  quiz::QuizHeader header;
  quiz::QuizError error = quiz::LoadQuizImage(QuizPath(), image);
  if (error == quiz::QuizError::None) error = quiz::ParseQuizHeader(image.data(), image.size(), header);
  if (error != quiz::QuizError::None) {
    ReportUnreadableFile();
  }
  m_header = header;
  m_sequence.SetMediaAvailable(MediaAvailable() != FALSE);
  m_sequence.LoadFirst(header);
}

void CQuiz::ReportUnreadableFile() const {
  AfxMessageBox(m_english ? "The Marovan & World Encyclopedia is unable to open the file ZORLQUIZ.DAT.\r\nThe Quiz "
                            "will be unavailable."
                          : "The Marovan & World Encyclopedia is unable to open the file ZORLQUZF.DAT.\r\nThe Quiz "
                            "will be unavailable.",
                MB_OK | MB_ICONEXCLAMATION);
}

BOOL CQuiz::LoadCategories() {
  std::vector<u8> image;
  quiz::QuizHeader header;
  quiz::QuizError error = quiz::LoadQuizImage(QuizPath(), image);
  if (error == quiz::QuizError::None) error = quiz::ParseQuizHeader(image.data(), image.size(), header);
  m_header = header;
  m_sequence.SetMediaAvailable(MediaAvailable() != FALSE);
  m_sequence.LoadCategories(header);
  CMenu* categories = m_menu.m_hMenu ? m_menu.GetSubMenu(kCategoriesMenu) : nullptr;
  if (categories == nullptr) return error == quiz::QuizError::None;
  while (categories->GetMenuItemCount() > 0) categories->DeleteMenu(0, MF_BYPOSITION);
  categories->AppendMenu(MF_STRING, ID_QZ_ALL, m_english ? "All" : "Toutes");
  for (int k = 1; k < m_sequence.GetCategoryCount() && ID_QZ_CATEGORY_FIRST + k - 1 <= ID_QZ_CATEGORY_LAST; ++k)
    categories->AppendMenu(MF_STRING, ID_QZ_CATEGORY_FIRST + k - 1, m_sequence.GetName(k));
  CheckCategoryItems();
  return error == quiz::QuizError::None;
}

void CQuiz::CheckCategoryItems() {
  if (!m_menu.m_hMenu) return;
  for (int k = 0; k < m_sequence.GetCategoryCount(); ++k)
    m_menu.CheckMenuItem(k == 0 ? ID_QZ_ALL : ID_QZ_CATEGORY_FIRST + k - 1,
                         MF_BYCOMMAND | (m_sequence.IsSelected(k) ? MF_CHECKED : MF_UNCHECKED));
}

CString CQuiz::GetCategoryLine() const { return m_sequence.CategoryLine(m_english ? "All" : "Toutes"); }

void CQuiz::UpdateCategoryLine() {
  if (m_categoryLine.GetSafeHwnd()) m_categoryLine.SetWindowText(GetCategoryLine());
}

void CQuiz::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  if (!m_menu.m_hMenu) m_menu.LoadMenu(IDR_QUIZ);
  ActivateScreen(this, bActivate, Screen::Quiz, m_menu);
  CFormView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

// ---- questions ----

void CQuiz::NextQuestion() {
  if (m_uncovered >= 15) {
    StartPuzzle();
    m_uncovered = 0;
  }
  const int question = m_random ? m_sequence.NextRandom(Random) : m_sequence.NextSequential();
  if (question == quiz::QuizSequence::NoQuestion) {
    AfxMessageBox("The chosen categories hold no question that can be asked now.", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  m_question = question;
  ++m_passed;
  Invalidate(FALSE);
  ShowQuestion();
}

void CQuiz::ShowQuestion() {
  if (!MediaAvailable() && m_question >= m_header.plainCount) m_question = m_header.plainCount - 1;
  m_questionText.ShowWindow(SW_HIDE);
  DestroyThumbnails();
  for (int k = 0; k < AnswerCount; ++k) {
    m_answerButtons[k].ShowWindow(SW_HIDE);
    m_answerTexts[k].ShowWindow(SW_HIDE);
  }
  m_haveRecord = FALSE;
  if (m_question < 0) return;
  std::vector<u8> image;
  quiz::QuizQuestion record;
  quiz::QuizError error = quiz::LoadQuizImage(QuizPath(), image);
  if (error == quiz::QuizError::None)
    error = quiz::ParseQuizQuestion(image.data(), image.size(), m_header, m_question, record);
  if (error != quiz::QuizError::None) {
    AfxMessageBox("This question cannot be read from the quiz file.", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  m_record = record;
  m_haveRecord = TRUE;
  m_questionText.SetWindowText(record.text);
  for (int k = 0; k < AnswerCount; ++k)
    m_answerTexts[k].SetWindowText(k < static_cast<int>(record.answers.size()) ? record.answers[k] : CString());
  switch (record.kind) {
    case 1: LoadThumbnail(0, record.questionPicture); break;
    case 4: LoadThumbnail(4, record.answerMedia[3]); [[fallthrough]];
    case 3: LoadThumbnail(3, record.answerMedia[2]); [[fallthrough]];
    case 2:
      LoadThumbnail(1, record.answerMedia[0]);
      LoadThumbnail(2, record.answerMedia[1]);
      break;
    default: break;
  }
  m_questionText.ShowWindow(SW_SHOW);
  for (int k = 0; k < record.answerCount; ++k) {
    m_answerButtons[k].EnableWindow(TRUE);
    m_answerButtons[k].ShowWindow(SW_SHOW);
    if (record.kind <= 1) m_answerTexts[k].ShowWindow(SW_SHOW);
  }
  Layout();
  m_firstTry = TRUE;
  Invalidate(FALSE);
}

void CQuiz::LoadThumbnail(int slot, UINT item) {
  // The media screens' thumbnail window shows the item; without one the
  // answer stays a button without its picture.
  m_thumbs[slot] = DisplayServices().CreateThumbnail(this, CRect(0, 0, 80, 60), IDC_QZ_THUMB_QUESTION + slot,
                                                     static_cast<int>(item));
}

void CQuiz::DestroyThumbnails() {
  // The thumbnail windows are the quiz's own objects: made by the
  // application, deleted here with their windows.
  for (CWnd*& thumb : m_thumbs) {
    if (thumb != nullptr && thumb->GetSafeHwnd()) thumb->DestroyWindow();
    delete thumb;
    thumb = nullptr;
  }
}

void CQuiz::CheckAnswer(int answer) {
  if (!m_haveRecord || answer < 1 || answer > m_record.answerCount) return;
  if (answer == m_record.rightAnswer) {
    if (m_firstTry) {
      ++m_score;
      Invalidate(FALSE);
    }
    // The applause goes through the system's sound call: the end of a
    // sound of the streaming engine would reach the media screen.
    if (m_soundOn) {
      CString sound(Reader().m_strWorkingDir);
      sound += "APPLAUSE.WAV";
      PlaySystemSound(sound, SystemSoundMode::Once);
    }
    SelectWhole(m_answerTexts[answer - 1]);
    if (m_firstTry) {
      if (m_uncovered >= 15) {
        StartPuzzle();
        m_uncovered = 0;
      }
      m_tiles.Tile(m_uncovered).ShowWindow(SW_SHOW);
      ++m_uncovered;
    }
    ShowIndicator(IDB_QZ_RIGHT);
    if (m_uncovered < 15) {
      NextQuestion();
    } else {
      EnablePuzzleButtons(TRUE, TRUE, TRUE);
      for (CODButton& button : m_answerButtons) button.EnableWindow(FALSE);
      m_tiles.Enable(TRUE);
      AfxMessageBox("Now try to unscramble the puzzle to see the picture.", MB_OK | MB_ICONEXCLAMATION);
    }
    return;
  }
  m_firstTry = FALSE;
  ShowIndicator(IDB_QZ_WRONG);
  m_answerButtons[answer - 1].EnableWindow(FALSE);
  m_clue.SetFocus();
}

void CQuiz::ShowIndicator(UINT bitmap) {
  m_lastIndicator = bitmap;
  CTimedBitmapDlg popup(this);
  popup.m_bitmapId = bitmap;
  popup.DoModal();
}

void CQuiz::OnClue() {
  if (!m_haveRecord) return;
  CDWordArray entries;
  for (u32 clue : m_record.clues)
    if (clue != 0) entries.Add(clue);
  if (entries.GetSize() == 0) return;
  ReaderShell* shell = GetReaderShell();
  ToolPanelHost* host = GetToolPanelHost();
  if (shell == nullptr || host == nullptr) return;
  host->CloseContentsWindows();
  host->CloseBookmarkWindows();
  // The encyclopedia screen shows the clue articles as its clue list.
  if (!shell->ShowScreen(Screen::Browser)) return;
  if (auto* browser = dynamic_cast<ItemScreen*>(shell->GetScreen(Screen::Browser)))
    browser->ShowEntries(entries, ItemScreen::EntryList::QuizClue);
}

void CQuiz::GoToQuestion(int number) {
  m_question = m_sequence.GoTo(number);
  CheckCategoryItems();
  UpdateCategoryLine();
  ShowQuestion();
}

void CQuiz::OnGoToQuestion() {
  CGoToQuestionDlg dialog(this);
  dialog.m_largest = m_sequence.GetLargestNumber(m_header.questionCount);
  if (dialog.m_largest < 1) return;
  if (dialog.DoModal() != IDOK) return;
  GoToQuestion(dialog.m_number);
}

void CQuiz::OnResetScore() {
  m_score = 0;
  m_passed = 0;
  Invalidate(FALSE);
}

void CQuiz::OnSound() {
  m_soundOn = !m_soundOn;
  WriteFlag("Sound", m_soundOn);
}
void CQuiz::OnUpdateSound(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_soundOn); }

void CQuiz::OnRandom() {
  m_random = TRUE;
  WriteFlag("Random", TRUE);
}
void CQuiz::OnSequential() {
  m_random = FALSE;
  WriteFlag("Random", FALSE);
}
void CQuiz::OnUpdateRandom(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_random); }
void CQuiz::OnUpdateSequential(CCmdUI* pCmdUI) { pCmdUI->SetCheck(!m_random); }

void CQuiz::SwitchLanguage(BOOL english) {
  if (m_english == english) return;
  m_english = english;
  WriteFlag("EnglishQuiz", english);
  if (!LoadCategories()) ReportUnreadableFile();
  if (m_question >= m_header.questionCount) m_question = m_header.questionCount - 1;
  ShowQuestion();
  UpdateCategoryLine();
}

void CQuiz::OnEnglish() { SwitchLanguage(TRUE); }
void CQuiz::OnFrench() { SwitchLanguage(FALSE); }
void CQuiz::OnUpdateEnglish(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_english); }
void CQuiz::OnUpdateFrench(CCmdUI* pCmdUI) { pCmdUI->SetCheck(!m_english); }

void CQuiz::OnAllCategories() {
  if (!m_sequence.SelectAll()) return;
  CheckCategoryItems();
  UpdateCategoryLine();
}

void CQuiz::OnCategory(UINT id) {
  const int k = static_cast<int>(id - ID_QZ_CATEGORY_FIRST) + 1;
  if (!m_sequence.ToggleCategory(k)) return;
  CheckCategoryItems();
  UpdateCategoryLine();
}

void CQuiz::OnHelp() { AfxGetApp()->WinHelp(103, HELP_CONTEXT); }
void CQuiz::OnConsultants() { AfxGetApp()->WinHelp(206, HELP_CONTEXT); }

LRESULT CQuiz::OnShowItem(WPARAM wParam, LPARAM) {
  // A thumbnail's double click: the media screen (made on first use) shows its item.
  panels::ShowOnScreen(panels::ItemKind::MediaItem, static_cast<int>(wParam));
  return 0;
}

LRESULT CQuiz::OnBitsChanged(WPARAM, LPARAM) { return 0; }

BOOL CQuiz::PreTranslateMessage(MSG* pMsg) {
  // Enter would reach the form as IDOK, which is the French command here.
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) return FALSE;
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam >= 'A' && pMsg->wParam <= 'F') {
    // One click on a visible answer button; a disabled one takes the click
    // and does nothing.
    const int k = static_cast<int>(pMsg->wParam - 'A');
    if (m_answerButtons[k].GetSafeHwnd() && m_answerButtons[k].IsWindowVisible()) {
      if (m_answerButtons[k].IsWindowEnabled()) CheckAnswer(k + 1);
      return TRUE;
    }
  }
  return CFormView::PreTranslateMessage(pMsg);
}

BOOL CQuiz::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
    const UINT id = LOWORD(wParam);
    if (id >= IDC_QZ_ANSWER_FIRST && id <= IDC_QZ_ANSWER_LAST) {
      CheckAnswer(static_cast<int>(id - IDC_QZ_ANSWER_FIRST) + 1);
      return TRUE;
    }
    if (id >= IDC_QZ_TILE_FIRST && id <= IDC_QZ_TILE_LAST) {
      MoveTile(static_cast<int>(id - IDC_QZ_TILE_FIRST));
      return TRUE;
    }
    switch (id) {
      case IDC_QZ_NEW_QUESTION: NextQuestion(); return TRUE;
      case IDC_QZ_CLUE: OnClue(); return TRUE;
      case IDC_QZ_HINT: OnHint(); return TRUE;
      case IDC_QZ_SCRAMBLE: OnScramble(); return TRUE;
      case IDC_QZ_SOLVE: OnSolve(); return TRUE;
      case IDC_QZ_HELP: OnHelp(); return TRUE;
      default:
        if (ShowScreenOfButton(id, Screen::Quiz)) return TRUE;
        break;
    }
  }
  return CFormView::OnCommand(wParam, lParam);
}

// ---- the puzzle ----

void CQuiz::StartPuzzle() {
  m_tiles.Show(FALSE);
  m_tiles.Enable(FALSE);
  NewPicture();
  m_animate = FALSE;
  m_board.Scramble(Random);
  PlaceTiles(FALSE);
  m_animate = TRUE;
  m_solved = FALSE;
  RepaintBoard();
  m_board.ResetSolver();
  EnablePuzzleButtons(FALSE, FALSE, FALSE);
}

void CQuiz::NewPicture() { m_tiles.NewPicture(*this, MediaAvailable(), m_numberPieces, Random); }

void CQuiz::PlaceTiles(BOOL redraw) {
  m_tiles.Place(m_board, m_boardOrigin, redraw);
  if (redraw) RepaintBoard();
}

void CQuiz::RepaintBoard() {
  CRect board(m_boardOrigin.x, m_boardOrigin.y, m_boardOrigin.x + 4 * TileSize, m_boardOrigin.y + 4 * TileSize);
  InvalidateRect(&board, FALSE);
  if (m_animate) UpdateWindow();
}

void CQuiz::AfterBoardChange() {
  if (!m_board.IsSolved()) {
    EnablePuzzleButtons(TRUE, m_scramble.IsWindowEnabled(), TRUE);
    return;
  }
  EnablePuzzleButtons(FALSE, m_scramble.IsWindowEnabled(), FALSE);
  m_newQuestion.SetFocus();
  m_tiles.Show(FALSE);
  m_solved = TRUE;
  RepaintBoard();
}

void CQuiz::MoveTile(int tile) {
  const std::vector<quiz::Slide> slides = m_board.MoveTile(tile);
  if (slides.empty()) return;
  PlaceTiles(m_animate);
  AfterBoardChange();
}

void CQuiz::OnScramble() {
  m_animate = FALSE;
  m_board.Scramble(Random);
  PlaceTiles(FALSE);
  m_solved = FALSE;
  m_animate = TRUE;
  EnablePuzzleButtons(TRUE, TRUE, TRUE);
  m_tiles.Show(TRUE);
  Invalidate(FALSE);
}

void CQuiz::OnHint() {
  quiz::Slide slide;
  if (!m_board.Hint(Random, slide)) return;
  PlaceTiles(m_animate);
  if (m_board.IsSolved()) AfterBoardChange();
}

void CQuiz::OnSolve() {
  CWaitCursor wait;
  quiz::Slide slide;
  // A board the solver has not finished after this many moves is left as it
  // is rather than searched for ever.
  for (int moves = 0; moves < 5000 && m_board.Hint(Random, slide); ++moves) PlaceTiles(m_animate);
  if (m_board.IsSolved()) AfterBoardChange();
}

void CQuiz::OnNewPicture() { NewPicture(); }

void CQuiz::OnNumberPieces() {
  m_numberPieces = !m_numberPieces;
  WriteFlag("NumberPieces", m_numberPieces);
  m_tiles.CutTiles(m_numberPieces);
}

void CQuiz::OnUpdateNumberPieces(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_numberPieces); }

void CQuiz::EnablePuzzleButtons(BOOL hint, BOOL scramble, BOOL solve) {
  if (m_hint.GetSafeHwnd()) m_hint.EnableWindow(hint);
  if (m_scramble.GetSafeHwnd()) m_scramble.EnableWindow(scramble);
  if (m_solve.GetSafeHwnd()) m_solve.EnableWindow(solve);
}

// ---- layout and painting ----

void CQuiz::OnSize(UINT nType, int cx, int cy) {
  CFormView::OnSize(nType, cx, cy);
  if (m_created) Layout();
}

void CQuiz::Layout() {
  if (!m_created || !m_questionText.GetSafeHwnd()) return;
  CRect client;
  GetClientRect(&client);
  const int width = client.Width() > 10 ? client.Width() : 10;
  const int height = client.Height() > 10 ? client.Height() : 10;
  m_boardOrigin = CPoint(width - m_panelWidth + 7, BoardTop);
  PlaceTiles(FALSE);
  m_screenBand.Place(height - 20);
  LayoutQuestion(width, height);
  Invalidate(FALSE);
}

namespace {

// The lowest a text may reach: above the band of screen buttons.
constexpr int kBandMargin = 24;
// The least height of a text box that shares too little room: two lines
// beside the arrows of its scroll bar.
constexpr int kLeastLines = 2;

// The height of a line of `font` in a text box.
int LineHeight(CEdit& box, CFont* font) {
  TEXTMETRIC metrics = {};
  CClientDC dc(&box);
  CFont* old = dc.SelectObject(font);
  dc.GetTextMetrics(&metrics);
  dc.SelectObject(old);
  return metrics.tmHeight;
}

// The height a text box `width` wide needs for all the lines it wraps its
// text into, each `line` high. The box wraps inside margins of its own (and
// beside its scroll bar, when it has one), so it is asked for its lines: a
// text measured apart from it may fit one line fewer, and the box, a line
// short, would scroll when its text is selected.
int NeededHeight(CEdit& box, int width, int line) {
  CRect rect;
  box.GetWindowRect(&rect);
  box.SetWindowPos(nullptr, 0, 0, width, rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  int lines = 0;
  if (box.GetWindowTextLength() > 0) lines = static_cast<int>(box.SendMessage(EM_GETLINECOUNT));
  return lines * line + 6;
}

// Puts a text box at (x, y) and shows it from its first line and column.
void PlaceTextBox(CEdit& box, int x, int y, int width, int height) {
  box.MoveWindow(x, y, width, height);
  const LRESULT lines = box.SendMessage(EM_GETLINECOUNT);
  box.SendMessage(EM_LINESCROLL, static_cast<WPARAM>(-width), static_cast<LPARAM>(-lines));
}

// Heights for boxes that need `needs` within `room`: what each needs when all
// fit; otherwise a box that needs no more than an equal share of what the
// others leave keeps its height, and the rest share what is left equally.
std::vector<int> ShareRoom(const std::vector<int>& needs, int room) {
  int total = 0;
  for (int need : needs) total += need;
  if (total <= room) return needs;
  std::vector<int> heights(needs.size(), 0);
  int left = room;
  int open = static_cast<int>(needs.size());
  for (bool settled = true; settled && open > 0;) {
    settled = false;
    for (std::size_t i = 0; i < needs.size(); ++i) {
      if (heights[i] != 0 || needs[i] > left / open) continue;
      heights[i] = needs[i];
      left -= needs[i];
      --open;
      settled = true;
    }
  }
  for (std::size_t i = 0; i < needs.size(); ++i) {
    if (heights[i] == 0) heights[i] = left / open;
  }
  return heights;
}

}  // namespace

// Selects the whole text of a box. A box that scrolls keeps its first line
// in view: the caret, which the box scrolls to, goes to the start of the
// selection, not its end.
void CQuiz::SelectWhole(CEdit& box) {
  const int length = box.GetWindowTextLength();
  if ((box.GetStyle() & WS_VSCROLL) != 0) {
    box.SetSel(length, 0);
  } else {
    box.SetSel(0, -1);
  }
}

// The form selects the whole question when it gives it the focus, after the
// box is told: the selection is turned round once that is done.
void CQuiz::OnQuestionFocus() { PostMessage(WM_TEXTFROMTOP, IDC_QZ_QUESTION); }

LRESULT CQuiz::OnTextFromTop(WPARAM, LPARAM) {
  int start = 0, end = 0;
  m_questionText.GetSel(start, end);
  const int length = m_questionText.GetWindowTextLength();
  if (length > 0 && start == 0 && end == length) SelectWhole(m_questionText);
  return 0;
}

// An edit control reads its scroll bar style once, when it is made: a text
// box that comes to need a bar, or no longer does, is made again in its
// place, with its text, font, selection and the focus; true when it was.
bool CQuiz::GiveScrollBar(CEdit& box, bool scrolls) {
  const DWORD style = box.GetStyle();
  if (((style & WS_VSCROLL) != 0) == scrolls) return false;
  CString text;
  box.GetWindowText(text);
  CFont* font = box.GetFont();
  CRect rect;
  box.GetWindowRect(&rect);
  ScreenToClient(&rect);
  int start = 0, end = 0;
  box.GetSel(start, end);
  const bool focused = ::GetFocus() == box.m_hWnd;
  const UINT id = static_cast<UINT>(box.GetDlgCtrlID());
  const HWND before = ::GetWindow(box.m_hWnd, GW_HWNDPREV);
  box.DestroyWindow();
  box.Create((style & ~static_cast<DWORD>(WS_VSCROLL)) | (scrolls ? WS_VSCROLL : 0), rect, this, id);
  ::SetWindowPos(box.m_hWnd, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  box.SetFont(font, FALSE);
  box.SetWindowText(text);
  box.SetSel(start, end, TRUE);
  if (focused) box.SetFocus();
  return true;
}

// Each text is as high as its lines. Where the question and its answers need
// more room than the screen has above its band, they share it: a text that
// needs no more than its share keeps its height, the others are cut to the
// share and scroll, each with a scroll bar of its own, so that every answer
// stays on the screen.
void CQuiz::LayoutQuestion(int width, int height) {
  const int area = width - m_panelWidth;
  const int top = kTopBand + 10;
  const int kind = m_haveRecord ? m_record.kind : 0;
  const int answers = m_haveRecord && kind <= 1 ? m_record.answerCount : 0;
  CRect button;
  m_answerButtons[0].GetWindowRect(&button);

  // The boxes, with the width of each; the question first.
  std::vector<CEdit*> boxes = {&m_questionText};
  std::vector<int> widths = {area - 11 - 10};
  for (int k = 0; k < answers; ++k) {
    boxes.push_back(&m_answerTexts[k]);
    widths.push_back(area - kAnswerTextLeft - 12);
  }
  for (int& boxWidth : widths) boxWidth = boxWidth > 20 ? boxWidth : 20;
  // The room below the texts that is not theirs: a gap under each, the
  // question's picture at a size it can still be made out, the picture
  // answers' two rows at their buttons' height.
  int others = 12 * static_cast<int>(boxes.size());
  if (kind == 1) others += 60 + 12;
  if (kind >= 2) others += 2 * (button.Height() + 12);
  const int room = height - kBandMargin - top - others;
  const int line = LineHeight(m_questionText, &m_textFont);
  const int least = kLeastLines * line + 6;

  std::vector<int> needs;
  for (std::size_t i = 0; i < boxes.size(); ++i) needs.push_back(NeededHeight(*boxes[i], widths[i], line));
  const std::vector<int> shares = ShareRoom(needs, room);
  std::vector<int> heights;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const int share = std::max(shares[i], least);
    // A bar that came or went wraps the text at another width.
    const int need = GiveScrollBar(*boxes[i], needs[i] > share) ? NeededHeight(*boxes[i], widths[i], line) : needs[i];
    const int whole = (share - 6) / line * line + 6;  // no line cut through
    heights.push_back(need < whole ? need : whole);
  }

  int y = top;
  PlaceTextBox(m_questionText, 10, y, widths[0], heights[0]);
  y += heights[0] + 12;
  if (kind <= 1) {
    // An answer's row: its text or its button, whichever is higher, and a gap.
    const auto rowHeight = [&](int k) {
      CRect own;
      m_answerButtons[k].GetWindowRect(&own);
      return std::max(heights[k + 1], static_cast<int>(own.Height())) + 12;
    };
    int rows = 0;
    for (int k = 0; k < answers; ++k) rows += rowHeight(k);
    if (kind == 1 && m_thumbs[0] != nullptr && m_thumbs[0]->GetSafeHwnd()) {
      short pictureWidth = 0;
      WORD pictureHeight = 0;
      int w = area - 62, h = w * 3 / 4;
      if (Reader().GetDatabase(1).PeekPicture(m_record.questionPicture, pictureWidth, pictureHeight) &&
          pictureWidth > 0)
        h = w * pictureHeight / pictureWidth;
      // The answers below it, with their gaps, and 39 pixels to the bottom.
      const int pictureRoom = std::max(height - y - rows - 39, 20);
      if (h > pictureRoom) {
        w = w * pictureRoom / h;
        h = pictureRoom;
      }
      m_thumbs[0]->MoveWindow((area - w) / 2, y, w, h);
      y += h + 12;
    }
    for (int k = 0; k < answers; ++k) {
      PlaceTextBox(m_answerTexts[k], kAnswerTextLeft, y, widths[k + 1], heights[k + 1]);
      m_answerButtons[k].GetWindowRect(&button);
      m_answerButtons[k].MoveWindow(kAnswerButtonLeft, y, button.Width(), button.Height());
      y += rowHeight(k);
    }
  } else {
    const int column = (area - 2) / 2;
    const int thumbWidth = column - kAnswerTextLeft - 5;
    int thumbWidthUsed = thumbWidth;
    int thumbHeight = thumbWidth * 3 / 4;
    short pictureWidth = 0;
    WORD pictureHeight = 0;
    if (Reader().GetDatabase(1).PeekPicture(m_record.answerMedia[0], pictureWidth, pictureHeight) && pictureWidth > 0)
      thumbHeight = thumbWidth * pictureHeight / pictureWidth;
    const int limit = (height - y - 20) / 2 - 19;
    if (thumbHeight > limit && limit > 10) {
      thumbWidthUsed = thumbWidth * limit / thumbHeight;
      thumbHeight = limit;
    }
    for (int k = 0; k < m_record.answerCount && k < 4; ++k) {
      const int left = k % 2 == 0 ? 0 : column - 5;
      const int rowTop = y + (k / 2) * (thumbHeight + 12);
      if (m_thumbs[k + 1] != nullptr && m_thumbs[k + 1]->GetSafeHwnd())
        m_thumbs[k + 1]->MoveWindow(left + kAnswerTextLeft, rowTop, thumbWidthUsed, thumbHeight);
      m_answerButtons[k].GetWindowRect(&button);
      m_answerButtons[k].MoveWindow(left + kAnswerButtonLeft, rowTop, button.Width(), button.Height());
    }
    y += 2 * (thumbHeight + 12);
  }
  m_questionArea = CRect(4, top - 4, area - 4, y);
}

BOOL CQuiz::OnEraseBkgnd(CDC*) { return TRUE; }

HBRUSH CQuiz::OnCtlColor(CDC* dc, CWnd*, UINT) { return BlackOnWhite(dc); }

void CQuiz::OnDraw(CDC* pDC) {
  ReaderContext& app = Reader();
  CRect client;
  GetClientRect(&client);
  PaintScreenBackground(this, pDC);
  pDC->FillSolidRect(0, 0, client.Width(), kTopBand, RGB(255, 255, 255));
  pDC->FillSolidRect(0, client.bottom - 20, client.Width(), 20, RGB(255, 255, 255));
  // The question area on white inside a 2-pixel frame.
  if (!m_questionArea.IsRectEmpty()) {
    pDC->FillSolidRect(&m_questionArea, RGB(255, 255, 255));
    CBrush frame(RGB(0, 0, 0));
    CRect outer = m_questionArea;
    pDC->FrameRect(&outer, &frame);
    outer.DeflateRect(1, 1);
    pDC->FrameRect(&outer, &frame);
  }
  // The score panel at the top right, the puzzle's header and the counters.
  const int panelLeft = client.Width() - m_panelWidth;
  if (m_scorePanel.m_hObject) {
    CDC memory;
    memory.CreateCompatibleDC(pDC);
    CBitmap* old = memory.SelectObject(&m_scorePanel);
    pDC->BitBlt(panelLeft, kTopBand, m_panelWidth, m_panelHeight, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
  }
  CFont* oldFont = pDC->SelectObject(app.GetFont(FontHeading));
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(RGB(255, 255, 255));
  CRect header(panelLeft + 7, kTopBand + 4, client.right, BoardTop - 4);
  pDC->DrawText("Puzzle", -1, &header, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  CString passed, score;
  passed.Format("%d", m_passed < 0 ? 0 : m_passed);
  score.Format("%d", m_score);
  const int fieldTop = BoardTop + 4 * TileSize + 16;
  CRect passedField(panelLeft, fieldTop, panelLeft + m_panelWidth / 2, fieldTop + 40);
  CRect scoreField(panelLeft + m_panelWidth / 2, fieldTop, client.right, fieldTop + 40);
  pDC->DrawText("Questions", -1, &passedField, DT_SINGLELINE | DT_TOP | DT_CENTER);
  pDC->DrawText("Score", -1, &scoreField, DT_SINGLELINE | DT_TOP | DT_CENTER);
  pDC->DrawText(passed, &passedField, DT_SINGLELINE | DT_BOTTOM | DT_CENTER);
  pDC->DrawText(score, &scoreField, DT_SINGLELINE | DT_BOTTOM | DT_CENTER);
  pDC->SelectObject(oldFont);
  // The board: the whole picture once solved, else an empty dark square.
  const CRect board(m_boardOrigin.x, m_boardOrigin.y, m_boardOrigin.x + 4 * TileSize, m_boardOrigin.y + 4 * TileSize);
  if (!m_solved || !m_tiles.PaintWhole(pDC, board)) pDC->FillSolidRect(&board, RGB(32, 32, 32));
}
