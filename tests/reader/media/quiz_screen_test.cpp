// The quiz screen on the sample content: questions in order, answers right
// and wrong, tiles uncovered until the puzzle phase, the categories, the
// language, answer keys, the Go To Question dialog, and texts that wrap.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app_fixture.h"
#include "browser/browser.h"
#include "core/reader_messages.h"
#include "core/sound_engine.h"
#include "media/gallery/picture_view.h"
#include "media/quiz/goto_question_dlg.h"
#include "media/quiz/quiz_view.h"
#include "media/thumb_wnd.h"
#include "media/timed_popup.h"
#include "panels/article_list_dlg.h"
#include "quiz/quiz_writer.h"
#include "reader/timeline_quiz_ids.h"

namespace apptest {
namespace {

// Closes each right or wrong popup at once (as Enter does) and records the
// bitmap it showed and whether the bitmap was loaded.
class IndicatorCloser {
 public:
  struct Shown {
    UINT bitmap;
    bool loaded;
  };
  IndicatorCloser() {
    shown_.clear();
    timer_ = ::SetTimer(nullptr, 0, 10, &IndicatorCloser::Tick);
  }
  ~IndicatorCloser() { ::KillTimer(nullptr, timer_); }
  static const std::vector<Shown>& shown() { return shown_; }

 private:
  static BOOL CALLBACK Close(HWND window, LPARAM) {
    auto* popup = dynamic_cast<CTimedBitmapDlg*>(CWnd::FromHandlePermanent(window));
    if (popup == nullptr || !::IsWindowVisible(window)) return TRUE;
    shown_.push_back({popup->m_bitmapId, popup->GetBitmapWidth() > 0 && popup->GetBitmapHeight() > 0});
    popup->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return FALSE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &IndicatorCloser::Close, 0);
  }
  static inline std::vector<Shown> shown_;
  UINT_PTR timer_ = 0;
};

class QuizScreen : public ReaderApp {
 protected:
  CQuiz* Open() {
    settings.Set(InstallationOptions, "Random", "0");
    EXPECT_TRUE(Start());
    EXPECT_TRUE(Frame()->ShowQuiz());
    ui::PumpUntilIdle();
    return dynamic_cast<CQuiz*>(Frame()->GetScreen(Screen::Quiz));
  }
  void Command(CQuiz* view, UINT id) {
    Frame()->SendMessage(WM_COMMAND, id);
    ui::PumpUntilIdle();
    (void)view;
  }
  static void AnswerRight(CQuiz* view) { view->CheckAnswer(view->GetRecord().rightAnswer); }
  IndicatorCloser indicators;
};

TEST_F(QuizScreen, StartsWithTheFirstQuestionAndOnlyPlainOnesWithoutMedia) {
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Frame()->GetActiveView(), view);
  EXPECT_EQ(view->GetCurrentQuestion(), 0);
  EXPECT_EQ(view->GetPassed(), 0);
  EXPECT_EQ(view->GetScore(), 0);
  EXPECT_STREQ(view->GetRecord().text, "What does the aardvark eat?");
  const int answers = view->GetRecord().answerCount;
  for (int k = 0; k < CQuiz::AnswerCount; ++k)
    EXPECT_EQ(view->GetAnswerButton(k).IsWindowVisible() != FALSE, k < answers) << k;
  CString answer;
  view->GetAnswerText(1).GetWindowText(answer);
  EXPECT_STREQ(answer, "Ants and termites");
  EXPECT_STREQ(view->GetCategoryLine(), "Categories: All");
  // Questions 5 and 6 need media: the pool holds 1-4, Go To Question offers 1-4.
  EXPECT_EQ(view->GetSequence().GetLargestNumber(view->GetHeader().questionCount), 4);
  // The first question started a puzzle with no tile uncovered.
  EXPECT_EQ(view->GetUncovered(), 0);
  for (int t = 0; t < 15; ++t) EXPECT_FALSE(view->GetTile(t).IsWindowVisible());
  EXPECT_FALSE(view->GetHintButton().IsWindowEnabled());
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "reader_quiz_screen");
}

TEST_F(QuizScreen, ARightFirstAnswerScoresAndUncoversATileAWrongOneNeither) {
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  AnswerRight(view);
  EXPECT_EQ(view->GetScore(), 1);
  EXPECT_EQ(view->GetUncovered(), 1);
  EXPECT_TRUE(view->GetTile(0).IsWindowVisible());
  EXPECT_EQ(view->GetLastIndicator(), static_cast<UINT>(IDB_QZ_RIGHT));
  EXPECT_EQ(view->GetCurrentQuestion(), 1);
  EXPECT_EQ(view->GetPassed(), 1);

  // Question 2: b is wrong, a is right.
  view->CheckAnswer(2);
  EXPECT_EQ(view->GetLastIndicator(), static_cast<UINT>(IDB_QZ_WRONG));
  EXPECT_FALSE(view->GetAnswerButton(1).IsWindowEnabled());
  EXPECT_FALSE(view->IsFirstTry());
  EXPECT_EQ(view->GetCurrentQuestion(), 1);
  // Its letter is one click on a disabled button: taken, and nothing happens.
  MSG again = {Frame()->m_hWnd, WM_KEYDOWN, 'B', 0, 0, {0, 0}};
  EXPECT_TRUE(view->PreTranslateMessage(&again));
  EXPECT_EQ(view->GetLastIndicator(), static_cast<UINT>(IDB_QZ_WRONG));
  EXPECT_EQ(view->GetCurrentQuestion(), 1);
  view->CheckAnswer(1);
  EXPECT_EQ(view->GetScore(), 1);
  EXPECT_EQ(view->GetUncovered(), 1);
  EXPECT_EQ(view->GetCurrentQuestion(), 2);
  EXPECT_TRUE(view->IsFirstTry());

  // The letter keys answer while their button shows: question 3's answer c.
  MSG key = {view->m_hWnd, WM_KEYDOWN, 'C', 0, 0, {0, 0}};
  EXPECT_TRUE(view->PreTranslateMessage(&key));
  EXPECT_EQ(view->GetScore(), 2);
  MSG absent = {view->m_hWnd, WM_KEYDOWN, 'F', 0, 0, {0, 0}};
  view->PreTranslateMessage(&absent);
  EXPECT_EQ(view->GetScore(), 2);
  EXPECT_EQ(view->GetCurrentQuestion(), 3);

  Command(view, ID_QZ_RESET_SCORE);
  EXPECT_EQ(view->GetScore(), 0);
  EXPECT_EQ(view->GetPassed(), 0);
}

std::vector<std::pair<std::string, SystemSoundMode>> g_systemSounds;
BOOL RecordSystemSound(const char* file, SystemSoundMode mode) {
  g_systemSounds.emplace_back(file != nullptr ? file : "", mode);
  return TRUE;
}

// The applause of a right answer is the system's sound, played once: a sound
// of the streaming engine ends at the media screen, whose sound command would
// then start the gallery item's sound on the quiz screen. An end that comes
// while the gallery plays nothing starts nothing.
TEST_F(QuizScreen, TheApplauseEndsAtNoOtherScreen) {
  settings.Set(InstallationOptions, "Sound", "1");
  media.installed = true;
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  // The gallery shows the night sky, whose picture has a sound.
  ASSERT_TRUE(Frame()->ShowMedia());
  auto* gallery = dynamic_cast<CViewPicture*>(Frame()->GetScreen(Screen::Media));
  ASSERT_NE(gallery, nullptr);
  gallery->GoToItem(App().m_multBits.IndexOf(Article("Astronomy")), 0);
  ASSERT_TRUE(Frame()->ShowQuiz());
  ui::PumpUntilIdle();
  sound.calls.clear();
  g_systemSounds.clear();
  UseSystemSound(RecordSystemSound);
  AnswerRight(view);
  UseSystemSound(nullptr);
  ASSERT_EQ(g_systemSounds.size(), 1u);
  EXPECT_EQ(g_systemSounds[0].first, File("APPLAUSE.WAV"));
  EXPECT_EQ(g_systemSounds[0].second, SystemSoundMode::Once);
  EXPECT_TRUE(sound.calls.empty());
  Frame()->SendMessage(WM_RAUDIONOTIFY, SoundEnded, 77);
  ui::PumpUntilIdle();
  EXPECT_TRUE(sound.calls.empty());
  EXPECT_FALSE(gallery->IsSoundPlaying());
  EXPECT_EQ(Frame()->GetActiveView(), view);
}

TEST_F(QuizScreen, FifteenRightAnswersLeadToThePuzzleAndSolveShowsThePicture) {
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  for (int i = 0; i < 14; ++i) AnswerRight(view);
  EXPECT_EQ(view->GetUncovered(), 14);
  boxes.Clear();
  AnswerRight(view);
  EXPECT_EQ(view->GetUncovered(), 15);
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], "Now try to unscramble the puzzle to see the picture.");
  EXPECT_TRUE(view->GetHintButton().IsWindowEnabled());
  EXPECT_TRUE(view->GetSolveButton().IsWindowEnabled());
  EXPECT_TRUE(view->GetScrambleButton().IsWindowEnabled());
  for (int k = 0; k < CQuiz::AnswerCount; ++k) EXPECT_FALSE(view->GetAnswerButton(k).IsWindowEnabled());
  for (int t = 0; t < 15; ++t) EXPECT_TRUE(view->GetTile(t).IsWindowVisible());
  // Each tile stands on its board cell.
  const CPoint origin = view->BoardOrigin();
  for (int cell = 0; cell < 16; ++cell) {
    const int tile = view->GetBoard().At(cell / 4, cell % 4);
    if (tile < 0) continue;
    CRect rect;
    view->GetTile(tile).GetWindowRect(&rect);
    view->ScreenToClient(&rect);
    EXPECT_EQ(rect.TopLeft(), CPoint(origin.x + 70 * (cell % 4), origin.y + 70 * (cell / 4))) << tile;
  }
  view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QZ_SOLVE, BN_CLICKED),
                    reinterpret_cast<LPARAM>(view->GetSolveButton().m_hWnd));
  ui::PumpUntilIdle();
  EXPECT_TRUE(view->GetBoard().IsSolved());
  EXPECT_TRUE(view->IsSolved());
  EXPECT_FALSE(view->GetHintButton().IsWindowEnabled());
  for (int t = 0; t < 15; ++t) EXPECT_FALSE(view->GetTile(t).IsWindowVisible());
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "reader_quiz_solved");
  // The next question starts a new puzzle.
  view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QZ_NEW_QUESTION, BN_CLICKED),
                    reinterpret_cast<LPARAM>(view->GetHintButton().m_hWnd));
  ui::PumpUntilIdle();
  EXPECT_EQ(view->GetUncovered(), 0);
  EXPECT_FALSE(view->IsSolved());
  EXPECT_FALSE(view->GetBoard().IsSolved());
}

TEST_F(QuizScreen, ClickedTilesSlideTowardTheEmptyCell) {
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  quiz::PuzzleBoard& board = view->GetBoard();
  board.Reset();
  // Tile 12 stands three cells left of the empty cell (3, 3).
  view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QZ_TILE_FIRST + 12, BN_CLICKED),
                    reinterpret_cast<LPARAM>(view->GetTile(12).m_hWnd));
  EXPECT_EQ(board.At(3, 0), quiz::PuzzleBoard::Empty);
  CRect rect;
  view->GetTile(14).GetWindowRect(&rect);
  view->ScreenToClient(&rect);
  EXPECT_EQ(rect.TopLeft(), CPoint(view->BoardOrigin().x + 3 * 70, view->BoardOrigin().y + 3 * 70));
  EXPECT_TRUE(view->GetHintButton().IsWindowEnabled());
  // Diagonal: nothing moves.
  view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QZ_TILE_FIRST + 9, BN_CLICKED),
                    reinterpret_cast<LPARAM>(view->GetTile(9).m_hWnd));
  EXPECT_EQ(board.At(2, 1), 9);
  // Back again: solved, the picture shows and Hint goes off.
  view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QZ_TILE_FIRST + 14, BN_CLICKED),
                    reinterpret_cast<LPARAM>(view->GetTile(14).m_hWnd));
  EXPECT_TRUE(board.IsSolved());
  EXPECT_TRUE(view->IsSolved());
  EXPECT_FALSE(view->GetHintButton().IsWindowEnabled());
}

TEST_F(QuizScreen, CategoriesAndLanguageChangeTheCategoryLine) {
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  Command(view, ID_QZ_CATEGORY_FIRST + 1);  // History
  EXPECT_STREQ(view->GetCategoryLine(), "Categories: History");
  EXPECT_EQ(view->GetMenu().GetMenuState(ID_QZ_ALL, MF_BYCOMMAND) & MF_CHECKED, 0u);
  Command(view, ID_QZ_CATEGORY_FIRST + 1);  // the only one stays checked
  EXPECT_STREQ(view->GetCategoryLine(), "Categories: History");
  Command(view, ID_QZ_CATEGORY_FIRST + 2);
  EXPECT_STREQ(view->GetCategoryLine(), "Categories: History, Animals");
  Command(view, ID_QZ_ALL);
  EXPECT_STREQ(view->GetCategoryLine(), "Categories: All");

  Command(view, ID_QZ_FRENCH);
  EXPECT_FALSE(view->IsEnglish());
  EXPECT_EQ(settings.Get(InstallationOptions, "EnglishQuiz"), "0");
  EXPECT_STREQ(view->GetCategoryLine(), "Categories: Toutes");
  CMenu* categories = view->GetMenu().GetSubMenu(3);
  ASSERT_NE(categories, nullptr);
  ASSERT_EQ(categories->GetMenuItemCount(), 3);
  char text[64] = "";
  categories->GetMenuString(1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Sciences");
  EXPECT_NE(std::strstr(view->GetRecord().text, "oryct"), nullptr);

  Command(view, ID_QZ_SEQUENTIAL);
  EXPECT_FALSE(view->IsRandom());
  EXPECT_EQ(settings.Get(InstallationOptions, "Random"), "0");
  Command(view, ID_QZ_NUMBER_PIECES);
  EXPECT_EQ(settings.Get(InstallationOptions, "NumberPieces"), "0");
}

// The Go To Question dialog, driven from a timer inside its modal loop.
struct GoToDriver {
  std::vector<const char*> entries;
  std::size_t next = 0;
};
GoToDriver g_goTo;

BOOL CALLBACK EnterNumber(HWND window, LPARAM) {
  auto* dialog = dynamic_cast<CGoToQuestionDlg*>(CWnd::FromHandlePermanent(window));
  if (dialog == nullptr || !::IsWindowVisible(window) || g_goTo.next >= g_goTo.entries.size()) return TRUE;
  dialog->SetDlgItemText(IDC_GOTO_NUMBER, g_goTo.entries[g_goTo.next++]);
  dialog->PostMessage(WM_COMMAND, IDOK);
  return FALSE;
}

void CALLBACK DriveGoTo(HWND, UINT, UINT_PTR, DWORD) { ::EnumThreadWindows(::GetCurrentThreadId(), EnterNumber, 0); }

TEST_F(QuizScreen, GoToQuestionRefusesNumbersOutOfRangeAndKeepsTheCount) {
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  AnswerRight(view);
  const int passed = view->GetPassed();
  g_goTo = GoToDriver{{"0", "5", "4"}, 0};
  boxes.Clear();
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, DriveGoTo);
  Command(view, ID_QZ_GOTO);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(g_goTo.next, 3u);
  const std::vector<std::string> texts = boxes.Texts();
  ASSERT_EQ(texts.size(), 2u) << ::testing::PrintToString(texts);
  EXPECT_EQ(texts[0], "Enter a whole number between 1 and 4.");
  EXPECT_EQ(view->GetCurrentQuestion(), 3);
  EXPECT_EQ(view->GetPassed(), passed);
  EXPECT_TRUE(view->IsFirstTry());
  // After the last question of "All", sequential order starts again at the first.
  view->NextQuestion();
  EXPECT_EQ(view->GetCurrentQuestion(), 0);
  // Three digits at most.
  CGoToQuestionDlg dialog(view);
  dialog.m_largest = 4;
  ASSERT_TRUE(dialog.Create(IDD_GOTO_QUESTION, view));
  dialog.SetDlgItemText(IDC_GOTO_NUMBER, "1234");
  EXPECT_EQ(dialog.SendDlgItemMessage(IDC_GOTO_NUMBER, EM_GETLIMITTEXT), 3);
  dialog.DestroyWindow();
}

TEST_F(QuizScreen, AMissingQuizFileIsReportedAndNoQuestionShows) {
  Remove("ZORLQUIZ.DAT");
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  const std::vector<std::string> texts = boxes.Texts();
  EXPECT_NE(std::find_if(texts.begin(), texts.end(),
                         [](const std::string& t) { return t.find("ZORLQUIZ.DAT") != std::string::npos; }),
            texts.end());
  for (int k = 0; k < CQuiz::AnswerCount; ++k) EXPECT_FALSE(view->GetAnswerButton(k).IsWindowVisible());
  // French is there: its questions show.
  boxes.Clear();
  Frame()->SendMessage(WM_COMMAND, ID_QZ_FRENCH);
  ui::PumpUntilIdle();
  EXPECT_TRUE(boxes.Texts().empty());
  EXPECT_TRUE(view->GetAnswerButton(0).IsWindowVisible());
}

TEST_F(QuizScreen, ALanguageWhoseFileIsMissingIsReported) {
  Remove("ZORLQUZF.DAT");
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  boxes.Clear();
  Frame()->SendMessage(WM_COMMAND, ID_QZ_FRENCH);
  ui::PumpUntilIdle();
  const std::vector<std::string> texts = boxes.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("ZORLQUZF.DAT"), std::string::npos);
  EXPECT_FALSE(view->GetAnswerButton(0).IsWindowVisible());
}

TEST_F(QuizScreen, TheRightAndWrongIndicatorsShowInTheTimedPopup) {
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  AnswerRight(view);
  view->CheckAnswer(2);  // question 2: b is wrong
  const std::vector<IndicatorCloser::Shown>& shown = IndicatorCloser::shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].bitmap, static_cast<UINT>(IDB_QZ_RIGHT));
  EXPECT_EQ(shown[1].bitmap, static_cast<UINT>(IDB_QZ_WRONG));
  EXPECT_TRUE(shown[0].loaded);
  EXPECT_TRUE(shown[1].loaded);
}

TEST_F(QuizScreen, TheClueListOpensOnTheEncyclopediaScreen) {
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  AnswerRight(view);  // question 2 has two clues
  Frame()->SetContentsOpen();
  view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QZ_CLUE, BN_CLICKED),
                    reinterpret_cast<LPARAM>(view->GetDlgItem(IDC_QZ_CLUE)->GetSafeHwnd()));
  ui::PumpUntilIdle();
  auto* browser = dynamic_cast<CBrowser*>(Frame()->GetActiveView());
  ASSERT_NE(browser, nullptr);
  EXPECT_FALSE(Frame()->IsContentsOpen());
  ASSERT_TRUE(browser->IsToolOpen(ToolPanel::ArticleList));
  auto* list = dynamic_cast<CArticleListDlg*>(browser->GetToolWindow(ToolPanel::ArticleList));
  ASSERT_NE(list, nullptr);
  const CBitString& clues = list->ArticleList().GetArticles();
  EXPECT_EQ(clues.GetSetCount(), 2);
  EXPECT_TRUE(clues.Test(Article("Henry VIII")));
  EXPECT_TRUE(clues.Test(Article("Ancient Egypt")));
  EXPECT_EQ(browser->GetCurrentArticle(), clues.NextSet(1));
}

// Every line of a read-only text box starts at the box's left edge, the
// first line at its top, and the last one ends inside it: nothing of the
// text is scrolled out of view. The number of lines it shows.
int ExpectShownWhole(CWnd& box, const std::string& when) {
  const HWND edit = box.m_hWnd;
  EXPECT_TRUE(box.IsWindowVisible()) << when;
  RECT format = {};
  ::SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(::SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << when;
  const int lines = static_cast<int>(::SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
  const auto startOf = [&](int line) {
    const LRESULT at = ::SendMessageA(edit, EM_POSFROMCHAR, ::SendMessageA(edit, EM_LINEINDEX, line, 0), 0);
    return CPoint(static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at)));
  };
  TEXTMETRICA metrics = {};
  {
    CClientDC dc(&box);
    CFont* old = dc.SelectObject(box.GetFont());
    ::GetTextMetricsA(dc.m_hDC, &metrics);
    dc.SelectObject(old);
  }
  for (int line = 0; line < lines; ++line) {
    const CPoint start = startOf(line);
    EXPECT_EQ(start.x, format.left) << when << ", line " << line + 1 << " of " << lines;
    EXPECT_EQ(start.y, format.top + line * metrics.tmHeight) << when << ", line " << line + 1 << " of " << lines;
  }
  EXPECT_LE(format.top + lines * metrics.tmHeight, format.bottom) << when;
  return lines;
}

// A question and an answer that wrap in their boxes show whole: when the
// screen opens on the question (selected, with the focus), when New Question
// comes back to it, after resizes and after new fonts. The screen opens as
// wide as puts the question's width between the width of its box and that
// width less the box's margins: measured apart from the box the question
// takes one line, the box wraps it to two.
TEST_F(QuizScreen, AQuestionAndAnAnswerThatWrapShowWhole) {
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  CEdit& first = view->GetQuestionText();
  CRect box;
  first.GetClientRect(&box);
  const LRESULT margins = first.SendMessage(EM_GETMARGINS);
  std::string question;
  int width = 0;
  {
    CClientDC dc(&first);
    CFont* old = dc.SelectObject(first.GetFont());
    for (const char* text : {"How many times did Henry VIII marry?", "How many times did King Henry VIII marry?",
                             "How many times did King Henry VIII of England marry?"}) {
      question = text;
      width = dc.GetTextExtent(text, static_cast<int>(question.size())).cx;
      if (width >= box.Width()) break;
    }
    dc.SelectObject(old);
  }
  ASSERT_GE(width, box.Width());
  ASSERT_GT(LOWORD(margins) + HIWORD(margins), 1);
  CRect frame;
  Frame()->GetWindowRect(&frame);
  frame.right += width + (LOWORD(margins) + HIWORD(margins)) / 2 - box.Width();
  End();

  builder::quiz::Quiz quiz;
  quiz.plainCount = 2;
  quiz.questions = {
      {0,
       0,
       {},
       1,
       {},
       question,
       {"Six times; Catherine Parr, his sixth wife, outlived him and married again within the year", "Four", "Eight"}},
      {0, 0, {}, 1, {}, "Which animal has stripes?", {"Zebra", "Aardvark"}}};
  const builder::Bytes bytes = builder::quiz::QuizFile(quiz);
  dir.Write("ZORLQUIZ.DAT", std::string(bytes.begin(), bytes.end()));
  ASSERT_TRUE(Start());
  Frame()->MoveWindow(&frame);
  ASSERT_TRUE(Frame()->ShowQuiz());
  ui::PumpUntilIdle();
  view = dynamic_cast<CQuiz*>(Frame()->GetScreen(Screen::Quiz));
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(view->GetCurrentQuestion(), 0);
  CEdit& text = view->GetQuestionText();
  const auto expectWhole = [&](const std::string& when) {
    ExpectShownWhole(text, "the question " + when);
    for (int k = 0; k < 3; ++k)
      ExpectShownWhole(view->GetAnswerText(k), "answer " + std::to_string(k + 1) + " " + when);
  };
  EXPECT_EQ(::GetFocus(), text.m_hWnd);
  int start = -1, end = -1;
  text.GetSel(start, end);
  EXPECT_EQ(end - start, static_cast<int>(question.size()));
  EXPECT_EQ(text.SendMessage(EM_GETLINECOUNT), 2);
  expectWhole("as the screen opens on it");
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "reader_quiz_wrapped_question");

  const auto newQuestion = [&] {
    view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QZ_NEW_QUESTION, BN_CLICKED),
                      reinterpret_cast<LPARAM>(view->GetDlgItem(IDC_QZ_NEW_QUESTION)->m_hWnd));
    ui::PumpUntilIdle();
  };
  newQuestion();
  newQuestion();
  ASSERT_EQ(view->GetCurrentQuestion(), 0);
  expectWhole("after New Question");

  // Wider and wider: the texts wrap again at each width; back at the first
  // width, the question takes two lines again.
  for (int wider = 3; wider <= 150; wider += 3) {
    Frame()->MoveWindow(frame.left, frame.top, frame.Width() + wider, frame.Height());
    ui::PumpUntilIdle();
    expectWhole("at " + std::to_string(wider) + " pixels wider");
  }
  Frame()->MoveWindow(&frame);
  ui::PumpUntilIdle();
  EXPECT_EQ(text.SendMessage(EM_GETLINECOUNT), 2);
  expectWhole("back at the first width");

  settings.Set(InstallationOptions, "FontSize", "14");
  App().RecreateArticleFonts(TRUE, nullptr);
  ui::PumpUntilIdle();
  expectWhole("after new fonts");
}

// A question too long for the screen, and an answer long too: the texts
// share the room above the band of screen buttons, each shown from its first
// line; a text cut to its share scrolls, with a bar of its own, and every
// answer and its button stay on the screen. A short question after it shows
// whole, without a bar.
TEST_F(QuizScreen, TextsTooLongForTheScreenShareItAndScroll) {
  std::string question, answer;
  while (question.size() < 1200) question += "In what year did the long and winding road of history reach this? ";
  while (answer.size() < 400) answer += "In a year nobody remembers, long before the printing press. ";
  builder::quiz::Quiz quiz;
  quiz.plainCount = 2;
  quiz.questions = {{0, 0, {}, 1, {}, question, {answer, "1492", "1815"}},
                    {0, 0, {}, 1, {}, "Which animal has stripes?", {"Zebra", "Aardvark"}}};
  const builder::Bytes bytes = builder::quiz::QuizFile(quiz);
  dir.Write("ZORLQUIZ.DAT", std::string(bytes.begin(), bytes.end()));
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(view->GetCurrentQuestion(), 0);
  const auto scrolls = [](CWnd& box) { return (box.GetStyle() & WS_VSCROLL) != 0; };
  const auto expectOnTheScreen = [&](const std::string& when) {
    CRect client;
    view->GetClientRect(&client);
    for (int k = -1; k < 3; ++k) {
      CWnd& box = k < 0 ? static_cast<CWnd&>(view->GetQuestionText()) : view->GetAnswerText(k);
      const std::string name = (k < 0 ? "the question " : "answer " + std::to_string(k + 1) + " ") + when;
      CRect rect;
      box.GetWindowRect(&rect);
      view->ScreenToClient(&rect);
      EXPECT_GE(rect.top, client.top) << name;
      EXPECT_LE(rect.bottom, client.bottom - 20) << name << ": under the band of screen buttons";
      EXPECT_EQ(box.SendMessage(EM_GETFIRSTVISIBLELINE), 0) << name;
      RECT format = {};
      box.SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
      const LRESULT at = box.SendMessage(EM_POSFROMCHAR, 0);
      EXPECT_EQ(static_cast<short>(LOWORD(at)), format.left) << name;
      EXPECT_EQ(static_cast<short>(HIWORD(at)), format.top) << name;
      if (k < 0) continue;
      view->GetDlgItem(IDC_QZ_ANSWER_FIRST + k)->GetWindowRect(&rect);
      view->ScreenToClient(&rect);
      EXPECT_LE(rect.bottom, client.bottom - 20) << "the button of " << name;
    }
    EXPECT_TRUE(scrolls(view->GetQuestionText())) << when;
    EXPECT_TRUE(scrolls(view->GetAnswerText(0))) << when;
    for (int k = 1; k < 3; ++k) {
      EXPECT_FALSE(scrolls(view->GetAnswerText(k))) << when;
      ExpectShownWhole(view->GetAnswerText(k), "answer " + std::to_string(k + 1) + " " + when);
    }
  };
  expectOnTheScreen("as the screen opens on it");
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "reader_quiz_long_question");

  CRect frame;
  Frame()->GetWindowRect(&frame);
  Frame()->MoveWindow(frame.left, frame.top, frame.Width() + 120, frame.Height() + 40);
  ui::PumpUntilIdle();
  expectOnTheScreen("in a larger window");

  const auto newQuestion = [&] {
    view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QZ_NEW_QUESTION, BN_CLICKED),
                      reinterpret_cast<LPARAM>(view->GetDlgItem(IDC_QZ_NEW_QUESTION)->m_hWnd));
    ui::PumpUntilIdle();
  };
  newQuestion();
  ASSERT_EQ(view->GetCurrentQuestion(), 1);
  EXPECT_FALSE(scrolls(view->GetQuestionText()));
  EXPECT_FALSE(scrolls(view->GetAnswerText(0)));
  ExpectShownWhole(view->GetQuestionText(), "the short question after it");
  ExpectShownWhole(view->GetAnswerText(0), "the short answer after it");
  newQuestion();
  ASSERT_EQ(view->GetCurrentQuestion(), 0);
  expectOnTheScreen("back at it");
}

TEST_F(QuizScreen, PictureAnswersAreThumbnailsThatGoWithTheirQuestion) {
  media.installed = true;
  CQuiz* view = Open();
  ASSERT_NE(view, nullptr);
  view->GoToQuestion(6);
  ASSERT_EQ(view->GetRecord().kind, 2);
  for (int slot : {1, 2}) {
    auto* thumb = dynamic_cast<CThumbWnd*>(view->GetThumbnail(slot));
    ASSERT_NE(thumb, nullptr) << slot;
    EXPECT_EQ(thumb->GetParent(), view);
    EXPECT_TRUE(thumb->IsWindowVisible());
  }
  EXPECT_EQ(view->GetThumbnail(0), nullptr);
  // A double click on answer b's thumbnail shows its item on the media screen.
  auto* b = dynamic_cast<CThumbWnd*>(view->GetThumbnail(2));
  const int item = view->GetRecord().answerMedia[1];
  ASSERT_NE(item, 0);
  b->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(4, 4));
  ui::PumpUntilIdle();
  auto* media = dynamic_cast<CViewPicture*>(Frame()->GetScreen(Screen::Media));
  ASSERT_NE(media, nullptr);
  EXPECT_EQ(Frame()->GetActiveView(), media);
  EXPECT_EQ(media->GetCurrentItem(), item);
  ASSERT_TRUE(Frame()->ShowQuiz());
  view->GoToQuestion(1);
  for (int slot = 0; slot < CQuiz::ThumbCount; ++slot) EXPECT_EQ(view->GetThumbnail(slot), nullptr) << slot;
}

}  // namespace
}  // namespace apptest
