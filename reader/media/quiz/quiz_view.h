// CQuiz: the quiz screen (form 3006, menu 903, child id 103). It asks
// multiple-choice questions from the quiz file of the chosen language, by
// category, in random or sequential order; each question answered right at
// the first try scores a point and uncovers a tile of the sliding picture
// puzzle beside the questions.
#pragma once

#include <vector>

#include "controls/bm_button.h"
#include "controls/od_button.h"
#include "core/reader_screen.h"
#include "framework.h"
#include "media/quiz/puzzle_board.h"
#include "media/quiz/puzzle_tiles.h"
#include "media/quiz/quiz_file.h"
#include "media/quiz/quiz_sequence.h"
#include "media/screen_buttons.h"

class CQuiz : public CFormView, public ReaderScreen {
  DECLARE_DYNCREATE(CQuiz)
 public:
  static constexpr int TileSize = CPuzzleTiles::TileSize;
  static constexpr int BoardTop = 79;
  static constexpr int AnswerCount = quiz::MaxAnswers;
  static constexpr int ThumbCount = 5;

  CQuiz();
  ~CQuiz() override;

  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  Screen GetScreenKind() const override { return Screen::Quiz; }

  void LoadQuizHeader();
  // FALSE when the language's file cannot be read (the lists are then empty).
  BOOL LoadCategories();
  void NextQuestion();
  void ShowQuestion();
  void CheckAnswer(int answer);
  void NewPicture();
  void MoveTile(int tile);
  void GoToQuestion(int number);
  // Starts a new puzzle: tiles hidden, a new picture, scrambled unseen.
  void StartPuzzle();

  int GetCurrentQuestion() const { return m_question; }
  const quiz::QuizQuestion& GetRecord() const { return m_record; }
  int GetScore() const { return m_score; }
  int GetPassed() const { return m_passed; }
  int GetUncovered() const { return m_uncovered; }
  BOOL IsFirstTry() const { return m_firstTry; }
  BOOL IsSolved() const { return m_solved; }
  quiz::PuzzleBoard& GetBoard() { return m_board; }
  quiz::QuizSequence& GetSequence() { return m_sequence; }
  const quiz::QuizHeader& GetHeader() const { return m_header; }
  CBmButton& GetTile(int tile) { return m_tiles.Tile(tile); }
  CODButton& GetAnswerButton(int k) { return m_answerButtons[k]; }
  CEdit& GetQuestionText() { return m_questionText; }
  CWnd& GetAnswerText(int k) { return m_answerTexts[k]; }
  CODButton& GetHintButton() { return m_hint; }
  CODButton& GetSolveButton() { return m_solve; }
  CODButton& GetScrambleButton() { return m_scramble; }
  BOOL IsEnglish() const { return m_english; }
  BOOL IsRandom() const { return m_random; }
  CMenu& GetMenu() { return m_menu; }
  CString GetCategoryLine() const;
  // The bitmap of the last right or wrong indicator shown; 0 before the first.
  UINT GetLastIndicator() const { return m_lastIndicator; }
  // Thumbnail `slot`: 0 the question picture, 1-4 answers a-d; null when none.
  CWnd* GetThumbnail(int slot) const { return m_thumbs[slot]; }
  // Whether media (and so questions above B) can be used now.
  static BOOL MediaAvailable();
  // Where the board's top-left corner stands.
  CPoint BoardOrigin() const { return m_boardOrigin; }

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnSize(UINT nType, int cx, int cy);
  BOOL OnEraseBkgnd(CDC* pDC);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT type);
  void OnResetScore();
  void OnSound();
  void OnUpdateSound(CCmdUI* pCmdUI);
  void OnGoToQuestion();
  void OnRandom();
  void OnSequential();
  void OnUpdateRandom(CCmdUI* pCmdUI);
  void OnUpdateSequential(CCmdUI* pCmdUI);
  void OnEnglish();
  void OnFrench();
  void OnUpdateEnglish(CCmdUI* pCmdUI);
  void OnUpdateFrench(CCmdUI* pCmdUI);
  void OnAllCategories();
  void OnCategory(UINT id);
  void OnNewPicture();
  void OnNumberPieces();
  void OnUpdateNumberPieces(CCmdUI* pCmdUI);
  void OnClue();
  void OnScramble();
  void OnHint();
  void OnSolve();
  void OnHelp();
  void OnConsultants();
  LRESULT OnShowItem(WPARAM wParam, LPARAM lParam);
  LRESULT OnBitsChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CString QuizPath() const;
  void ReportUnreadableFile() const;
  void SwitchLanguage(BOOL english);
  void UpdateCategoryLine();
  void CheckCategoryItems();
  void Layout();
  void LayoutQuestion(int width, int height);
  bool GiveScrollBar(CEdit& box, bool scrolls);
  static void SelectWhole(CEdit& box);
  void OnQuestionFocus();
  LRESULT OnTextFromTop(WPARAM wParam, LPARAM lParam);
  void PlaceTiles(BOOL redraw);
  void AfterBoardChange();
  void RepaintBoard();
  void ShowIndicator(UINT bitmap);
  void EnablePuzzleButtons(BOOL hint, BOOL scramble, BOOL solve);
  void DestroyThumbnails();
  void LoadThumbnail(int slot, UINT item);
  int PanelWidth() const { return m_panelWidth; }

  CMenu m_menu;
  BOOL m_created = FALSE;
  BOOL m_english = TRUE;
  BOOL m_soundOn = TRUE;
  BOOL m_numberPieces = TRUE;
  BOOL m_random = TRUE;
  quiz::QuizHeader m_header;
  quiz::QuizSequence m_sequence;
  quiz::QuizQuestion m_record;
  BOOL m_haveRecord = FALSE;
  int m_question = 0;
  int m_passed = -1;
  int m_score = 0;
  BOOL m_firstTry = TRUE;
  int m_uncovered = 15;
  quiz::PuzzleBoard m_board;
  BOOL m_solved = FALSE;
  BOOL m_animate = TRUE;
  CBitmap m_scorePanel;
  int m_panelWidth = 294;
  int m_panelHeight = 420;
  CPoint m_boardOrigin{221, BoardTop};
  UINT m_lastIndicator = 0;

  CEdit m_questionText;
  CEdit m_answerTexts[AnswerCount];
  CODButton m_answerButtons[AnswerCount];
  CODButton m_clue, m_newQuestion, m_hint, m_scramble, m_solve, m_help;
  media::CScreenBand m_screenBand;
  CPuzzleTiles m_tiles;
  CStatic m_categoryLine;
  CWnd* m_thumbs[ThumbCount] = {};
  CFont m_textFont;
  CRect m_questionArea;
};
