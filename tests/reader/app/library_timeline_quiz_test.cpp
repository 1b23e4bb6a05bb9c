// The timeline and the quiz on a slice of the reference library (the
// dictionary packages' headwords that begin with "ca" or "co", and every
// dated event of the calendar package): On This Day lists a date's real
// events, a category's picture and list follow a choice, and the library's
// own questions are answered right and wrong in English and in French.
#include <algorithm>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "display/text_model.h"
#include "library/dictd_file.h"
#include "library/library_set.h"
#include "media/quiz/quiz_view.h"
#include "media/timeline/timeline_view.h"
#include "reader/timeline_quiz_ids.h"

namespace apptest {
namespace {

namespace lib = builder::library;

class LibraryTimelineQuiz : public ReaderApp {
 protected:
  static void SetUpTestSuite() {
    lib::LibraryOptions options;
    options.dictdDirectory = lib::DictdDirectory();
    options.prefixes = {"ca", "co"};
    content_ = new builder::ExtraContent(lib::BuildLibraryContent(options, &figures_));
  }
  static void TearDownTestSuite() {
    delete content_;
    content_ = nullptr;
  }
  void SetUp() override {
    ReaderApp::SetUp();
    media.installed = true;
    settings.Set(InstallationOptions, "Random", "0");
    settings.Set(InstallationOptions, "Sound", "0");
    const builder::ExtraContentInUse inUse(content_);
    builder::WriteSampleSet(dir.path());
    library_ = builder::BuildContentSample();
  }
  // The title of the English question's clue, the term's own entry, is its
  // right answer.
  std::string ClueTitle(const quiz::QuizQuestion& question) const {
    return question.clues[0] ? library_.mainTitles.at(question.clues[0] - 1) : "";
  }
  CTimeLine* OpenTimeline() {
    EXPECT_TRUE(Start());
    EXPECT_TRUE(Frame()->ShowTimeline());
    ui::PumpUntilIdle();
    return dynamic_cast<CTimeLine*>(Frame()->GetScreen(Screen::Timeline));
  }
  CQuiz* OpenQuiz() {
    EXPECT_TRUE(Start());
    EXPECT_TRUE(Frame()->ShowQuiz());
    ui::PumpUntilIdle();
    return dynamic_cast<CQuiz*>(Frame()->GetScreen(Screen::Quiz));
  }
  // The titles of the events the search window lists, in its order.
  static std::vector<std::string> Listed(CTimeLine* view) {
    std::vector<std::string> titles;
    CTimeLineSearchDlg& search = view->GetSearchWindow();
    for (int k = 1; k <= view->GetData().eventCount; ++k) {
      if (!search.Events().GetItems().Test(k)) continue;
      char title[512] = "";
      search.GetItemTitle(k, title);
      titles.emplace_back(title);
    }
    return titles;
  }
  static std::string DisplayText(CTimeLine* view) {
    std::string text;
    const display::TextModel& model = view->GetDisplay().Model();
    for (int r = 0; r < model.RunCount(); ++r) text += model.RunString(r);
    return text;
  }

  static builder::ExtraContent* content_;
  static lib::LibraryFigures figures_;
  builder::ContentSample library_;
};

builder::ExtraContent* LibraryTimelineQuiz::content_ = nullptr;
lib::LibraryFigures LibraryTimelineQuiz::figures_;

// January 7 in the calendar package: a telephone call of 1927, Tesla's death
// in 1943, Poulenc's birth in 1899, and two feasts of no year, left out.
TEST_F(LibraryTimelineQuiz, OnThisDayListsTheDatesRealEvents) {
  auto* view = OpenTimeline();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->GetData().eventCount, static_cast<int>(figures_.events));
  EXPECT_GT(figures_.events, 1000u);
  view->SendMessage(WM_COMMAND, ID_TL_TODAY);
  ui::PumpUntilIdle();
  EXPECT_EQ(view->GetMode(), timeline::ModeOnThisDay);
  EXPECT_EQ(view->GetShownPicture(), view->GetData().ModePicture(timeline::ModeOnThisDay));
  CTimeLineSearchDlg& search = view->GetSearchWindow();
  search.FromMonth().SetCurSel(0);
  search.AdjustDays(0);
  search.DayPicker().SetCurSel(7);
  search.OnFind();
  ui::PumpUntilIdle();
  EXPECT_EQ(Listed(view), (std::vector<std::string>{"1899: Francis Jean Poulenc is born in Paris",
                                                    "1927: First transatlantic telephone call",
                                                    "1943: Nikola Tesla died in the Hotel New Yorker room 3327"}));
  EXPECT_EQ(search.GetListedCount(), 3);
  // The first of them is shown: its date, the source's text, its place.
  const std::string text = DisplayText(view);
  EXPECT_NE(text.find("January 7, 1899"), std::string::npos) << text;
  EXPECT_NE(text.find("Francis Jean Poulenc is born in Paris, 1899"), std::string::npos) << text;
  EXPECT_NE(text.find("Category: Music. Period: 19th Century."), std::string::npos) << text;
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "library_timeline_on_this_day");

  // A month with "All" days: every event of the month, and each one of it.
  search.DayPicker().SetCurSel(0);
  search.OnFind();
  const std::vector<std::string> january = Listed(view);
  EXPECT_GT(january.size(), 100u);
  for (int k = 1; k <= view->GetData().eventCount; ++k)
    if (search.Events().GetItems().Test(k)) {
      EXPECT_EQ(view->GetData().Event(k).startMonth, 1) << k;
    }
}

TEST_F(LibraryTimelineQuiz, ACategoryAndAPeriodShowTheirPictureAndEvents) {
  auto* view = OpenTimeline();
  ASSERT_NE(view, nullptr);
  const timeline::TimelineData& data = view->GetData();
  ASSERT_EQ(data.categories.GetCount(), static_cast<int>(figures_.timelineCategories));
  EXPECT_STREQ(data.categories.names[3], "Music");
  // Every mode's picture and every entry's is a picture of its own.
  std::vector<int> pictures;
  for (int mode = 0; mode < timeline::ModeCount; ++mode) pictures.push_back(data.ModePicture(mode));
  for (int i = 0; i < data.categories.GetCount(); ++i) pictures.push_back(data.categories.pictures[i]);
  for (int i = 0; i < data.periods.GetCount(); ++i) pictures.push_back(data.periods.pictures[i]);
  for (int i = 0; i < data.issues.GetCount(); ++i) pictures.push_back(data.issues.pictures[i]);
  std::sort(pictures.begin(), pictures.end());
  EXPECT_EQ(std::adjacent_find(pictures.begin(), pictures.end()), pictures.end());
  EXPECT_EQ(pictures.size(), figures_.timelinePictures);

  CTimeLineSearchDlg& search = view->GetSearchWindow();
  search.SelectItem(4);  // Music
  ui::PumpUntilIdle();
  EXPECT_EQ(view->GetShownPicture(), data.categories.pictures[3]);
  const std::vector<std::string> music = Listed(view);
  ASSERT_FALSE(music.empty());
  EXPECT_EQ(music.size(), static_cast<std::size_t>(search.GetListedCount()));
  EXPECT_NE(std::find(music.begin(), music.end(), "1899: Francis Jean Poulenc is born in Paris"), music.end());
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "library_timeline_category");

  view->SendMessage(WM_COMMAND, ID_TL_PERIODS);
  ui::PumpUntilIdle();
  ASSERT_GE(data.periods.GetCount(), 2);
  EXPECT_STREQ(data.periods.names[0], "Before the Common Era");
  search.SelectItem(1);
  ui::PumpUntilIdle();
  EXPECT_EQ(view->GetShownPicture(), data.periods.pictures[0]);
  const std::vector<std::string> early = Listed(view);
  ASSERT_FALSE(early.empty());
  for (const std::string& title : early) EXPECT_NE(title.find(" BC: "), std::string::npos) << title;
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "library_timeline_period");
}

TEST_F(LibraryTimelineQuiz, TheLibrarysQuestionsAnsweredRightAndWrong) {
  auto* view = OpenQuiz();
  ASSERT_NE(view, nullptr);
  std::size_t english = 0;
  for (const auto& [name, count] : figures_.englishQuestions) english += count;
  EXPECT_EQ(view->GetHeader().questionCount, static_cast<int>(english));
  EXPECT_GE(english, 4u);
  const quiz::QuizQuestion first = view->GetRecord();
  EXPECT_EQ(std::string(first.text).rfind("Which ", 0), 0u) << first.text;
  ASSERT_EQ(first.answerCount, 4);
  EXPECT_EQ(ClueTitle(first), std::string(first.answers.at(first.rightAnswer - 1u)));
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "library_quiz");
  // Right at the first try: a point and a tile.
  view->CheckAnswer(first.rightAnswer);
  EXPECT_EQ(view->GetScore(), 1);
  EXPECT_EQ(view->GetLastIndicator(), static_cast<UINT>(IDB_QZ_RIGHT));
  EXPECT_EQ(view->GetCurrentQuestion(), 1);
  // Wrong: no point, the same question, then right without a point.
  const quiz::QuizQuestion second = view->GetRecord();
  EXPECT_EQ(ClueTitle(second), std::string(second.answers.at(second.rightAnswer - 1u)));
  const int wrong = second.rightAnswer == 1 ? 2 : 1;
  view->CheckAnswer(wrong);
  EXPECT_EQ(view->GetLastIndicator(), static_cast<UINT>(IDB_QZ_WRONG));
  EXPECT_EQ(view->GetCurrentQuestion(), 1);
  view->CheckAnswer(second.rightAnswer);
  EXPECT_EQ(view->GetScore(), 1);
  EXPECT_EQ(view->GetCurrentQuestion(), 2);

  Frame()->SendMessage(WM_COMMAND, ID_QZ_FRENCH);
  ui::PumpUntilIdle();
  const quiz::QuizQuestion french = view->GetRecord();
  EXPECT_EQ(std::string(french.text).rfind("Que veut dire \xAB", 0), 0u) << french.text;
  ASSERT_EQ(french.answerCount, 4);
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "library_quiz_french");
  view->CheckAnswer(french.rightAnswer);
  EXPECT_EQ(view->GetScore(), 2);
}

}  // namespace
}  // namespace apptest
