// The search windows under Wine on the sample content, each on a plain
// parent window: the Boolean panel and its spelling pass, the results window
// and its filters, Smart Search, the Tuner and the contents and subjects
// window, with real queries through the application object.
#include <functional>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "core/reader_messages.h"
#include "core/weighted_terms.h"
#include "search/results_dlg.h"
#include "search/search_dlg.h"
#include "search/smart_query.h"
#include "search/smart_search_dlg.h"
#include "search/spell_alt_dlg.h"
#include "search/subjects_dlg.h"
#include "search/tuner_dlg.h"

namespace apptest {
namespace {

const CRect kPanel(0, 0, 260, 440);

// Answers the spelling dialogs that come up, one scripted step per visible
// dialog, and records what each showed.
class SpellAnswers {
 public:
  struct Step {
    UINT button;
    const char* replacement = nullptr;  // typed into the replacement box first
  };
  struct Seen {
    std::string word;
    BOOL accents;
    BOOL changeEnabled;
  };

  explicit SpellAnswers(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 20, &SpellAnswers::Tick);
  }
  ~SpellAnswers() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  const std::vector<Seen>& seen() const { return seen_; }

 private:
  static BOOL CALLBACK Find(HWND window, LPARAM found) {
    auto* dialog = dynamic_cast<CSpellAltDlg*>(CWnd::FromHandlePermanent(window));
    if (dialog == nullptr || !::IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<CSpellAltDlg**>(found) = dialog;
    return FALSE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    SpellAnswers* self = current_;
    CSpellAltDlg* dialog = nullptr;
    if (self == nullptr) return;
    ::EnumThreadWindows(::GetCurrentThreadId(), &SpellAnswers::Find, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return;
    const Step step = self->next_ < self->steps_.size() ? self->steps_[self->next_++] : Step{CSpellAltDlg::kCancel};
    if (step.replacement != nullptr) dialog->SetDlgItemText(CSpellAltDlg::kReplacementBox, step.replacement);
    self->seen_.push_back(
        {std::string(dialog->m_word), dialog->m_accents, dialog->GetDlgItem(CSpellAltDlg::kChange)->IsWindowEnabled()});
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(step.button, BN_CLICKED),
                        reinterpret_cast<LPARAM>(dialog->GetDlgItem(static_cast<int>(step.button))->GetSafeHwnd()));
  }

  static inline SpellAnswers* current_ = nullptr;
  std::vector<Step> steps_;
  size_t next_ = 0;
  std::vector<Seen> seen_;
  UINT_PTR timer_ = 0;
};

class SearchWindows : public ReaderApp {
 protected:
  void SetUp() override {
    ReaderApp::SetUp();
    settings.Set(InstallationOptions, "SpellCheck", "0");
    ASSERT_TRUE(Start());
    boxes.Clear();
    parent.SetWindowPos(nullptr, 0, 0, 900, 640, SWP_NOZORDER | SWP_NOACTIVATE);
    parent.ShowWindow(SW_SHOWNA);
  }
  void TearDown() override {
    parent.DestroyWindow();
    ReaderApp::TearDown();
  }
  // Whether the main window got WM_SHOWRESULTS (taken out of the queue).
  bool ResultsAsked() {
    MSG msg;
    return ::PeekMessageA(&msg, Frame()->GetSafeHwnd(), WM_SHOWRESULTS, WM_SHOWRESULTS, PM_REMOVE) != FALSE;
  }
  // As typed: multi-line edits do not report text set by the program.
  void Type(CEdit& edit, const char* text) {
    edit.SetWindowText(text);
    edit.GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(edit.GetDlgCtrlID(), EN_CHANGE),
                                  reinterpret_cast<LPARAM>(edit.GetSafeHwnd()));
  }
  void Click(CWnd& dialog, UINT id) {
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(dialog.GetDlgItem(static_cast<int>(id))->GetSafeHwnd()));
  }
  std::vector<int> Listed(const CBitString& set) {
    std::vector<int> out;
    for (int n = set.NextSet(1); n > 0; n = set.NextSet(n + 1)) out.push_back(n);
    return out;
  }
  // Records a Boolean query as the current one, as the panel does.
  void RecordQuery(const char* text) {
    CBitString set(App().GetArticleCount(), FALSE);
    ASSERT_TRUE(App().BooleanQuery(text, set));
    CStringArray terms;
    terms.Add(text);
    Frame()->AddQueryToHistory(set, text, 0, &terms, FALSE);
  }

  ui::RecordingParent parent;
};

TEST_F(SearchWindows, BooleanFieldsEnableInTurnAndKeepTheirTextsAcrossModes) {
  CSearchDlg panel;
  ASSERT_TRUE(panel.Create(kPanel, CSearchDlg::kTemplate, &parent));
  EXPECT_FALSE(panel.IsAdvanced());
  EXPECT_FALSE(panel.SearchButton().IsWindowEnabled());
  EXPECT_FALSE(panel.Field(1).IsWindowEnabled());
  EXPECT_FALSE(panel.Picker(0).IsWindowEnabled());
  EXPECT_EQ(panel.Picker(2).GetCount(), 4);

  Type(panel.Field(0), "comet");
  EXPECT_TRUE(panel.SearchButton().IsWindowEnabled());
  EXPECT_TRUE(panel.Field(1).IsWindowEnabled());
  EXPECT_FALSE(panel.Field(2).IsWindowEnabled());
  Type(panel.Field(1), "zebra");
  Type(panel.Field(2), "volcano");
  EXPECT_TRUE(panel.Field(3).IsWindowEnabled());
  Type(panel.Field(1), "");
  EXPECT_FALSE(panel.Field(2).IsWindowEnabled());
  EXPECT_FALSE(panel.Field(3).IsWindowEnabled());
  CString kept;
  panel.Field(2).GetWindowText(kept);
  EXPECT_STREQ(kept, "volcano");

  panel.Picker(1).SetCurSel(1);
  panel.ToggleAdvanced();
  EXPECT_TRUE(panel.IsAdvanced());
  EXPECT_EQ(settings.Get(InstallationOptions, "AdvancedSearch"), "1");
  EXPECT_FALSE(panel.Field(0).IsWindowVisible());
  EXPECT_TRUE(panel.FreeText().IsWindowVisible());
  EXPECT_FALSE(panel.SearchButton().IsWindowEnabled());  // the free text is empty
  Type(panel.FreeText(), "comet AND star");
  EXPECT_TRUE(panel.SearchButton().IsWindowEnabled());
  panel.DestroyWindow();
  EXPECT_STREQ(App().m_strBooleanTerm[0], "comet");
  EXPECT_STREQ(App().m_strBooleanTerm[2], "volcano");
  EXPECT_EQ(App().m_nBooleanOperator[1], 1);
  EXPECT_STREQ(App().m_strBooleanQuery, "comet AND star");

  // Another screen's panel opens in the saved mode with the same texts.
  CSearchDlg again;
  ASSERT_TRUE(again.Create(kPanel, CSearchDlg::kMediaTemplate, Frame()));
  EXPECT_EQ(again.GetSkin(), kSkinMedia);
  EXPECT_TRUE(again.IsAdvanced());
  CString text;
  again.FreeText().GetWindowText(text);
  EXPECT_STREQ(text, "comet AND star");
  again.ToggleAdvanced();
  again.Field(2).GetWindowText(text);
  EXPECT_STREQ(text, "volcano");
  EXPECT_EQ(again.Picker(1).GetCurSel(), 1);
  EXPECT_EQ(settings.Get(InstallationOptions, "AdvancedSearch"), "0");
  again.Clear();
  again.Field(0).GetWindowText(text);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(again.Picker(1).GetCurSel(), 0);
  EXPECT_FALSE(again.SearchButton().IsWindowEnabled());
  again.DestroyWindow();
}

TEST_F(SearchWindows, BooleanSearchRecordsTheQueryAndAsksForTheResults) {
  CSearchDlg panel;
  ASSERT_TRUE(panel.Create(kPanel, CSearchDlg::kTemplate, &parent));
  // Enter with field 0 empty does nothing.
  panel.SendMessage(WM_COMMAND, IDOK, 0);
  EXPECT_EQ(Frame()->Queries().GetHistoryCount(), 0);

  Type(panel.Field(0), "comet");
  panel.Picker(0).SetCurSel(1);
  Type(panel.Field(1), "zebra");
  Click(panel, CSearchDlg::kSearch);
  ASSERT_EQ(Frame()->Queries().GetHistoryCount(), 1);
  EXPECT_STREQ(Frame()->Queries().GetCurrentLabel(), "Boolean: comet OR zebra");
  EXPECT_EQ(Frame()->Queries().GetCurrentKind(), 0);
  ASSERT_EQ(Frame()->Queries().GetCurrentTerms().GetSize(), 2);
  EXPECT_STREQ(Frame()->Queries().GetCurrentTerms()[1], "zebra");
  EXPECT_TRUE(Frame()->Queries().GetCurrentQuery().Test(Article("Comet")));
  EXPECT_TRUE(Frame()->Queries().GetCurrentQuery().Test(Article("Zebra")));
  EXPECT_TRUE(ResultsAsked());

  // No article: the service's message, and the current query stays.
  panel.Picker(0).SetCurSel(0);
  Click(panel, CSearchDlg::kSearch);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There are no articles matching your query."}));
  EXPECT_EQ(Frame()->Queries().GetHistoryCount(), 1);
  EXPECT_FALSE(ResultsAsked());

  // An advanced term over 30 characters.
  boxes.Clear();
  panel.ToggleAdvanced();
  Type(panel.FreeText(), "comet AND abcdefghijklmnopqrstuvwxyzabcdefgh");
  Click(panel, CSearchDlg::kSearch);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Your query term(s) must be less than 30 characters long."}));
  EXPECT_EQ(Frame()->Queries().GetHistoryCount(), 1);
  panel.DestroyWindow();
}

TEST_F(SearchWindows, TheSpellingPassChangesWordsInPlaceOrStops) {
  settings.Set(InstallationOptions, "SpellCheck", "1");
  CSearchDlg panel;
  ASSERT_TRUE(panel.Create(kPanel, CSearchDlg::kTemplate, &parent));
  ASSERT_TRUE(panel.IsSpellCheck());
  // Advanced mode: the longer replacement of the first word keeps the second in place.
  panel.ToggleAdvanced();
  Type(panel.FreeText(), "comt OR zebr");
  {
    // Every word is checked, the operators too.
    SpellAnswers answers({{CSpellAltDlg::kChange, "comet"}, {CSpellAltDlg::kIgnore}, {CSpellAltDlg::kChange, "zebra"}});
    Click(panel, CSearchDlg::kSearch);
    ASSERT_EQ(answers.seen().size(), 3u);
    EXPECT_EQ(answers.seen()[0].word, "comt");
    EXPECT_EQ(answers.seen()[1].word, "OR");
    EXPECT_EQ(answers.seen()[2].word, "zebr");
  }
  CString text;
  panel.FreeText().GetWindowText(text);
  EXPECT_STREQ(text, "comet OR zebra");
  EXPECT_EQ(Frame()->Queries().GetHistoryCount(), 1) << testing::PrintToString(boxes.Texts());
  EXPECT_TRUE(Frame()->Queries().GetCurrentQuery().Test(Article("Zebra")));
  panel.ToggleAdvanced();
  boxes.Clear();

  // Cancel: nothing is searched, the field stays.
  Type(panel.Field(0), "zebr");
  {
    SpellAnswers answers(std::vector<SpellAnswers::Step>{{CSpellAltDlg::kCancel}});
    Click(panel, CSearchDlg::kSearch);
    EXPECT_EQ(answers.seen().size(), 1u);
  }
  panel.Field(0).GetWindowText(text);
  EXPECT_STREQ(text, "zebr");
  EXPECT_EQ(Frame()->Queries().GetHistoryCount(), 1);

  // An emptied replacement disables Change, so Enter does nothing; Ignore
  // keeps the word, which then finds nothing.
  {
    SpellAnswers answers({{CSpellAltDlg::kChange, ""}, {CSpellAltDlg::kIgnore}});
    Click(panel, CSearchDlg::kSearch);
    ASSERT_EQ(answers.seen().size(), 2u);
    EXPECT_FALSE(answers.seen()[1].changeEnabled);
  }
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There are no articles matching your query."}));
  boxes.Clear();

  // A known word asks nothing.
  Type(panel.Field(0), "zebra");
  {
    SpellAnswers answers(std::vector<SpellAnswers::Step>{});
    Click(panel, CSearchDlg::kSearch);
    EXPECT_TRUE(answers.seen().empty());
  }
  EXPECT_EQ(Frame()->Queries().GetHistoryCount(), 2);

  // Nine terms: the query runs first, and its message comes before any spelling dialog.
  panel.ToggleAdvanced();
  Type(panel.FreeText(), "zebra AND comt AND b AND c AND d AND e AND f AND g AND h");
  {
    SpellAnswers answers(std::vector<SpellAnswers::Step>{});
    Click(panel, CSearchDlg::kSearch);
    EXPECT_TRUE(answers.seen().empty());
  }
  EXPECT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(Frame()->Queries().GetHistoryCount(), 2);
  // Eight terms: the spelling dialog comes first.
  boxes.Clear();
  Type(panel.FreeText(), "zebra AND comt AND b AND c AND d AND e AND f AND g");
  {
    SpellAnswers answers(std::vector<SpellAnswers::Step>{{CSpellAltDlg::kCancel}});
    Click(panel, CSearchDlg::kSearch);
    EXPECT_EQ(answers.seen().size(), 1u);
  }
  EXPECT_TRUE(boxes.all().empty());
  panel.DestroyWindow();
}

TEST_F(SearchWindows, SpellingDialogEndCodes) {
  CSpellAltDlg known(&parent);
  known.m_word = "zebra";
  known.m_cover = CRect(10, 10, 270, 450);
  EXPECT_EQ(known.Run(App().GetDatabase(1), CSpellAltDlg::kBooleanLookup), CSpellAltDlg::kIgnored);
  const UINT buttons[] = {CSpellAltDlg::kIgnoreAll, CSpellAltDlg::kSearch, CSpellAltDlg::kClose, CSpellAltDlg::kCancel,
                          CSpellAltDlg::kIgnore};
  const int codes[] = {102, 102, 2, 2, 101};
  for (int i = 0; i < 5; ++i) {
    SpellAnswers answers(std::vector<SpellAnswers::Step>{{buttons[i]}});
    CSpellAltDlg dialog(&parent);
    dialog.m_word = "xqzt";
    dialog.m_cover = CRect(10, 10, 270, 450);
    EXPECT_EQ(dialog.Run(App().GetDatabase(1), CSpellAltDlg::kBooleanLookup), codes[i]) << i;
  }
  SpellAnswers answers({{CSpellAltDlg::kChange, "zebra"}});
  CSpellAltDlg dialog(&parent);
  dialog.m_word = "zebr";
  dialog.m_cover = CRect(10, 10, 270, 450);
  EXPECT_EQ(dialog.Run(App().GetDatabase(1), CSpellAltDlg::kSmartLookup), CSpellAltDlg::kChanged);
  EXPECT_STREQ(dialog.m_replacement, "zebra");
}

TEST_F(SearchWindows, ResultsWindowFiltersTheCurrentQuery) {
  RecordQuery("comet");
  const CBitString& query = Frame()->Queries().GetCurrentQuery();
  CResultsDlg results;
  ASSERT_TRUE(
      results.Create(kPanel, CResultsDlg::kTemplate, 0, &parent, &Frame()->Queries().GetCurrentTerms(), "comet"));
  EXPECT_TRUE(boxes.all().empty());
  EXPECT_EQ(Listed(results.List().GetArticles()), Listed(query));
  ASSERT_GE(query.GetSetCount(), 3);

  // Pictures: Astronomy and Comet stay.
  Click(results, 2009);
  EXPECT_EQ(Listed(results.List().GetArticles()), (std::vector<int>{Article("Astronomy"), Article("Comet")}));
  // With the Internet source: nothing with a picture comes from there.
  Click(results, 2019);
  EXPECT_EQ(results.List().GetArticles().GetSetCount(), 0);
  // Unchecking the media toggle lifts the media filter: the update article.
  Click(results, 2009);
  EXPECT_EQ(Listed(results.List().GetArticles()), (std::vector<int>{Article("Comet Hale-Bopp")}));

  SearchState& state = Frame()->GetSearchState();
  results.SaveState(state);
  EXPECT_TRUE(state.filters[search::ToggleIndex(2019)]);
  EXPECT_FALSE(state.filters[search::ToggleIndex(2009)]);
  // Refresh with the message: the saved toggles come back; an empty list says why.
  state.filters[search::ToggleIndex(2009)] = TRUE;
  results.SendMessage(WM_REFRESHLIST, 1, 0);
  EXPECT_EQ(results.List().GetArticles().GetSetCount(), 0);
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_NE(boxes.Texts()[0].find("There are no articles listed because of the filter(s)"), std::string::npos);

  // Closing goes through the main frame, which forgets that results are open.
  Click(results, CResultsDlg::kClose);
  EXPECT_EQ(results.GetSafeHwnd(), nullptr);
  EXPECT_FALSE(Frame()->IsResultsOpen());
}

TEST_F(SearchWindows, WindowsComeBackAsTheFrameSavedThem) {
  RecordQuery("comet");
  SearchState& state = Frame()->GetSearchState();
  state.filters[search::ToggleIndex(2012)] = TRUE;
  state.resultsSelection = Article("Comet");
  state.contentsSelection = Article("Rock & Roll");
  state.findText = "rock";
  CResultsDlg results;
  ASSERT_TRUE(results.Create(kPanel, CResultsDlg::kTemplate, 0, &parent, nullptr, "comet"));
  CSubjectsDlg contents;
  ASSERT_TRUE(contents.Create(CRect(300, 0, 560, 440), CSubjectsDlg::kTemplate, &parent, FALSE));
  ui::PumpUntilIdle();
  EXPECT_EQ(results.List().GetCurArticle(), Article("Comet"));
  EXPECT_FALSE(results.List().GetArticles().Test(Article("Comet Hale-Bopp")));  // not a Marovan article
  EXPECT_EQ(contents.List().GetCurArticle(), Article("Rock & Roll"));
  CString find;
  contents.FindBox().GetWindowText(find);
  EXPECT_STREQ(find, "rock");
  EXPECT_EQ(contents.Toggles().Button(search::ToggleIndex(2012)).GetCheck(), 1);

  // A toggle flipped in one window is what the other shows after a refresh.
  Click(contents, 2012);
  contents.SaveState(state);
  results.SendMessage(WM_REFRESHLIST, 0, 0);
  EXPECT_EQ(results.List().GetArticles().GetSetCount(), Frame()->Queries().GetCurrentQuery().GetSetCount());

  // Choosing a row writes its title into the find box.
  ASSERT_GE(contents.List().SelectArticle(Article("Zebra")), 0);
  contents.SendMessage(WM_COMMAND, MAKEWPARAM(CSubjectsDlg::kList, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(contents.List().GetSafeHwnd()));
  contents.FindBox().GetWindowText(find);
  EXPECT_STREQ(find, "Zebra");
  contents.DestroyWindow();
  results.DestroyWindow();
}

TEST_F(SearchWindows, FloatingWindowsDragByTheirBandAndToggleTipsNameTheirSets) {
  RecordQuery("comet");
  CResultsDlg floating;
  ASSERT_TRUE(floating.Create(CRect(40, 40, 300, 480), CResultsDlg::kMediaTemplate, 0, Frame(), nullptr, "comet"));
  EXPECT_EQ(floating.GetSkin(), kSkinMedia);
  CRect client;
  floating.GetClientRect(&client);
  EXPECT_EQ(client.Size(), CSize(260, 440));
  CPoint origin(40, 40), placed(0, 0);
  Frame()->ClientToScreen(&origin);
  floating.ClientToScreen(&placed);
  EXPECT_EQ(placed, origin);  // the rectangle is in the main frame's client coordinates
  CPoint band(30, 10), below(30, 60);
  floating.ClientToScreen(&band);
  floating.ClientToScreen(&below);
  EXPECT_EQ(floating.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(band.x, band.y)), HTCAPTION);
  EXPECT_EQ(floating.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(below.x, below.y)), HTCLIENT);

  CResultsDlg docked;
  ASSERT_TRUE(docked.Create(kPanel, CResultsDlg::kTemplate, 0, &parent, nullptr, "comet"));
  CPoint dockedBand(30, 10);
  docked.ClientToScreen(&dockedBand);
  EXPECT_EQ(docked.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(dockedBand.x, dockedBand.y)), HTCLIENT);

  NMTTDISPINFOA info = {};
  info.hdr.hwndFrom = nullptr;
  info.hdr.idFrom = reinterpret_cast<UINT_PTR>(docked.GetDlgItem(2014)->GetSafeHwnd());
  info.hdr.code = TTN_NEEDTEXTA;
  info.uFlags = TTF_IDISHWND;
  docked.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  ASSERT_NE(info.lpszText, nullptr);
  EXPECT_STREQ(info.lpszText, "Marovan && Hesperan Articles");
  docked.DestroyWindow();
  floating.DestroyWindow();
}

TEST_F(SearchWindows, ResultsOpenAnArticleOnTheScreenThatOwnsIt) {
  RecordQuery("zebra");
  CResultsDlg results;
  ASSERT_TRUE(results.Create(kPanel, CResultsDlg::kTemplate, 0, &parent, nullptr, "zebra"));
  ASSERT_GE(results.List().SelectArticle(Article("Zebra")), 0);
  results.SendMessage(WM_COMMAND, IDOK, 0);
  // A dictionary entry: the dictionary screen is shown.
  EXPECT_EQ(Frame()->GetActiveView(), Frame()->GetScreen(Screen::Dictionary));

  RecordQuery("hole");
  results.SendMessage(WM_REFRESHLIST, 0, 0);
  ASSERT_GE(results.List().SelectArticle(Article("Black Hole")), 0);
  results.SendMessage(WM_COMMAND, IDOK, 0);
  EXPECT_EQ(Frame()->GetActiveView(), Frame()->GetScreen(Screen::Browser));
  results.DestroyWindow();
}

TEST_F(SearchWindows, SmartSearchRanksAndSharesTheSpellCheckSetting) {
  CSmartSearchDlg smart;
  ASSERT_TRUE(smart.Create(kPanel, CSmartSearchDlg::kTemplate, &parent));
  EXPECT_FALSE(smart.SearchButton().IsWindowEnabled());
  Type(smart.QueryBox(), "Which comet came back?");
  EXPECT_TRUE(smart.SearchButton().IsWindowEnabled());
  EXPECT_TRUE(smart.TunerButton().IsWindowEnabled());
  smart.SendMessage(WM_COMMAND, IDOK, 0);
  ASSERT_EQ(Frame()->Queries().GetHistoryCount(), 1);
  EXPECT_EQ(Frame()->Queries().GetCurrentKind(), 1);
  EXPECT_STREQ(Frame()->Queries().GetCurrentLabel(), "Smart: Which comet came back?");
  EXPECT_TRUE(Frame()->Queries().GetCurrentQuery().IsOrdered());
  EXPECT_TRUE(Frame()->Queries().GetCurrentQuery().Test(Article("Comet")));
  EXPECT_TRUE(ResultsAsked());

  CResultsDlg results;
  ASSERT_TRUE(results.Create(kPanel, CResultsDlg::kMediaTemplate, 1, Frame(), nullptr, "comet"));
  EXPECT_EQ(results.IsRanked(), 1);
  EXPECT_EQ(results.List().GetArticles().GetAt(1), Frame()->Queries().GetCurrentQuery().GetAt(1));
  results.DestroyWindow();

  // Stop words alone: nothing happens and nothing is said.
  Type(smart.QueryBox(), "the and of");
  smart.SendMessage(WM_COMMAND, IDOK, 0);
  EXPECT_EQ(Frame()->Queries().GetHistoryCount(), 1);
  EXPECT_TRUE(boxes.all().empty());

  smart.ToggleSpellCheck();
  EXPECT_EQ(settings.Get(InstallationOptions, "SpellCheck"), "1");
  smart.Clear();
  EXPECT_FALSE(smart.SearchButton().IsWindowEnabled());
  EXPECT_FALSE(smart.TunerButton().IsWindowEnabled());
  Type(smart.QueryBox(), "volcano");
  smart.DestroyWindow();
  EXPECT_STREQ(App().m_strSmartQuery, "volcano");
  CSearchDlg boolean;
  ASSERT_TRUE(boolean.Create(kPanel, CSearchDlg::kTemplate, &parent));
  EXPECT_TRUE(boolean.IsSpellCheck());
  boolean.DestroyWindow();
}

TEST_F(SearchWindows, TunerSlidersFollowTheWeightsAndDropWordsAtZero) {
  CVeldrixApp& app = App();
  CStringArray terms;
  CDWordArray groups;
  app.ParseQuery("comet planet star", terms, groups, TRUE);
  ASSERT_TRUE(app.WeightedQuery(terms, groups));
  const WeightedTerms weighed = WeighTerms(terms, groups);
  ASSERT_EQ(weighed.terms.GetSize(), static_cast<int>(app.m_queryWeights.size()));
  std::vector<float> before = app.m_queryWeights;

  CTunerDlg tuner;
  ASSERT_TRUE(tuner.Create(kPanel, CTunerDlg::kTemplate, &parent, "comet planet star", weighed.terms));
  ASSERT_EQ(tuner.TermList().GetCount(), weighed.terms.GetSize());
  for (int i = 0; i < tuner.TermList().GetCount(); ++i)
    EXPECT_EQ(tuner.TermList().GetSlider(i)->GetValue(), search::SliderFromWeight(before[i], tuner.GetScale()));
  // "planet" is dropped (the sample's articles do not have it), "comet"
  // weighs half the scale.
  int comet = -1, planet = -1;
  for (int i = 0; i < weighed.terms.GetSize(); ++i) {
    if (weighed.terms[i] == "comet") comet = i;
    if (weighed.terms[i] == "planet") planet = i;
  }
  ASSERT_TRUE(comet >= 0 && planet >= 0);
  tuner.TermList().GetSlider(planet)->SetValue(0, FALSE);
  tuner.TermList().GetSlider(comet)->SetValue(50, FALSE);
  const CString dropped = tuner.GetWords()[planet];
  ASSERT_TRUE(tuner.Search()) << testing::PrintToString(boxes.Texts());
  EXPECT_EQ(app.m_queryWeights[planet], 0.0f);
  EXPECT_FLOAT_EQ(app.m_queryWeights[comet], 50 * tuner.GetScale() * 0.01f);
  EXPECT_EQ(Frame()->Queries().GetCurrentKind(), 1);
  const CStringArray& kept = Frame()->Queries().GetCurrentTerms();
  ASSERT_EQ(kept.GetSize(), weighed.terms.GetSize() - 1);
  for (int i = 0; i < kept.GetSize(); ++i) EXPECT_STRNE(kept[i], dropped);
  EXPECT_TRUE(ResultsAsked());
  tuner.DestroyWindow();

  // Closing unused brings Smart Search back through the main window.
  ASSERT_TRUE(app.WeightedQuery(terms, groups));
  CTunerDlg again;
  ASSERT_TRUE(again.Create(kPanel, CTunerDlg::kTemplate, &parent, "comet planet star", weighed.terms));
  Click(again, CTunerDlg::kClose);
  EXPECT_EQ(again.GetSafeHwnd(), nullptr);
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, Frame()->GetSafeHwnd(), WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(LOWORD(msg.wParam), CTunerDlg::kSmartSearchCommand);
  CBitString none;
  EXPECT_FALSE(app.QuerySources(none));  // the prepared query went with the panel
}

TEST_F(SearchWindows, TunerShowsTheWordsAsTheIndexSpellsThem) {
  // The main database's index spells "sun" both as "Sun" and as "sun", the
  // other words in lower case only; "mars" is not in its index at all. One
  // panel object serves every opening, as in the screens.
  CTunerDlg tuner;
  auto shown = [&](const char* query) {
    CStringArray terms;
    CDWordArray groups;
    App().ParseQuery(query, terms, groups, TRUE);
    EXPECT_TRUE(App().WeightedQuery(terms, groups)) << query;
    const WeightedTerms weighed = WeighTerms(terms, groups);
    EXPECT_TRUE(tuner.Create(kPanel, CTunerDlg::kMediaTemplate, Frame(), query, weighed.terms)) << query;
    std::vector<std::string> words;
    for (int i = 0; i < tuner.GetWords().GetSize(); ++i) words.emplace_back(tuner.GetWords()[i]);
    tuner.DestroyWindow();
    return words;
  };
  using Words = std::vector<std::string>;
  // The reader's own spelling of the word decides, from the first opening on.
  EXPECT_EQ(shown("sun comet"), (Words{"comet", "sun"}));
  EXPECT_EQ(shown("Sun comet"), (Words{"comet", "Sun"}));
  EXPECT_EQ(shown("comet sun"), (Words{"comet", "sun"}));
  // Words of one spelling keep it whatever was typed.
  EXPECT_EQ(shown("Egypt comet Mars"), (Words{"comet", "egypt", "mars"}));
}

TEST_F(SearchWindows, ContentsFindsTitlesAsTheReaderTypes) {
  CSubjectsDlg contents;
  ASSERT_TRUE(contents.Create(kPanel, CSubjectsDlg::kTemplate, &parent, FALSE));
  EXPECT_EQ(contents.List().GetArticles().GetSetCount(), App().m_allArticles.GetSetCount());
  CRect client;
  contents.GetClientRect(&client);
  EXPECT_EQ(client.Width(), kPanel.Width());
  EXPECT_FALSE(contents.IsSubjectPartShown());

  Type(contents.FindBox(), "rock &");
  EXPECT_EQ(contents.List().GetCurArticle(), Article("Rock & Roll"));
  Type(contents.FindBox(), "beethoven l");
  EXPECT_EQ(contents.List().GetCurArticle(), Article("Beethoven, Ludwig van"));
  Type(contents.FindBox(), "qqq");
  EXPECT_EQ(contents.List().GetCurArticle(), Article("Beethoven, Ludwig van"));  // nothing starts so

  // Find from list: the articles the query service finds among the listed
  // ones; none found leaves the drop-down as it was.
  Type(contents.FindBox(), "comet");
  contents.FindButton().AddItem("earlier", CSubjectsDlg::kFoundFirstId, 0, 0, 0);
  CBitString expected(App().GetArticleCount(), FALSE);
  App().QueryBits("comet", expected);
  expected.And(contents.List().GetArticles());
  const int found = contents.FindFromList();
  EXPECT_EQ(found, expected.GetSetCount());
  EXPECT_EQ(contents.FindButton().Root().GetCount(), found > 0 ? found : 1);
  // The filters cut the list and the next search.
  Click(contents, 2009);
  EXPECT_EQ(Listed(contents.List().GetArticles()), (std::vector<int>{Article("Astronomy"), Article("Comet")}));

  SearchState state;
  contents.SaveState(state);
  EXPECT_TRUE(state.filters[search::ToggleIndex(2009)]);
  EXPECT_STREQ(state.findText, "comet");
  contents.DestroyWindow();
}

TEST_F(SearchWindows, SubjectModeWidensAndRemembersItsMode) {
  // A source toggle the subject list cannot use does not filter it either.
  Frame()->GetSearchState().filters[search::ToggleIndex(4209)] = TRUE;
  CSubjectsDlg subjects;
  ASSERT_TRUE(subjects.Create(kPanel, CSubjectsDlg::kTemplate, &parent, TRUE));
  CRect client;
  subjects.GetClientRect(&client);
  EXPECT_EQ(client.Width(), kPanel.Width() + CSubjectsDlg::kSubjectWidth);
  EXPECT_FALSE(subjects.IsBrowsing());
  EXPECT_TRUE(subjects.SubjectBox().IsWindowVisible());
  EXPECT_FALSE(subjects.Tree().IsWindowVisible());
  for (UINT id : {2019u, 4208u, 4209u, 4120u})
    EXPECT_FALSE(subjects.Toggles().Button(search::ToggleIndex(id)).IsWindowEnabled()) << id;
  EXPECT_TRUE(subjects.Toggles().Button(search::ToggleIndex(2012)).IsWindowEnabled());
  EXPECT_EQ(subjects.Toggles().Button(search::ToggleIndex(4209)).GetCheck(), 0);
  EXPECT_TRUE(subjects.List().GetArticles().Test(Article("Zebra")));  // not a multimedia item
  SearchState saved = Frame()->GetSearchState();
  subjects.SaveState(saved);
  EXPECT_TRUE(saved.filters[search::ToggleIndex(4209)]);  // still the results window's
  // Only encyclopedia articles are listed.
  EXPECT_FALSE(subjects.List().GetArticles().Test(Article("Background Pictures")));
  EXPECT_TRUE(subjects.List().GetArticles().Test(Article("Comet Hale-Bopp")));

  subjects.ToggleMode();
  EXPECT_TRUE(subjects.IsBrowsing());
  EXPECT_EQ(settings.Get(InstallationOptions, "BrowseSubjects"), "1");
  EXPECT_TRUE(subjects.Tree().IsWindowVisible());
  EXPECT_FALSE(subjects.SubjectBox().IsWindowVisible());

  // "All" together with another subject lists every encyclopedia article.
  const CBitString all = subjects.GetBaseSet();
  CUIntArray chosen;
  chosen.Add(1);
  subjects.ChooseSubjects(chosen);
  const int oneSubject = subjects.GetBaseSet().GetSetCount();
  EXPECT_LT(oneSubject, all.GetSetCount());
  chosen.Add(0);
  subjects.ChooseSubjects(chosen);
  EXPECT_EQ(Listed(subjects.GetBaseSet()), Listed(all));

  subjects.ToggleSubjectPart();
  subjects.GetClientRect(&client);
  EXPECT_EQ(client.Width(), kPanel.Width());
  EXPECT_FALSE(subjects.Tree().IsWindowVisible());
  subjects.DestroyWindow();

  // Reopened, the panel is in browse mode.
  CSubjectsDlg again;
  ASSERT_TRUE(again.Create(kPanel, CSubjectsDlg::kTemplate, &parent, TRUE));
  EXPECT_TRUE(again.IsBrowsing());
  again.SubjectBox();
  again.DestroyWindow();
}

}  // namespace
}  // namespace apptest
