// The quiz files as the content builder writes them, read back, and the order
// in which the quiz asks its questions.
#include "media/quiz/quiz_file.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "media/quiz/quiz_sequence.h"
#include "quiz/quiz_writer.h"
#include "temp_dir.h"

namespace {

namespace bq = builder::quiz;
using quiz::QuizError;
using quiz::QuizHeader;
using quiz::QuizQuestion;
using quiz::QuizSequence;

QuizHeader Header(const builder::Bytes& bytes) {
  QuizHeader header;
  EXPECT_EQ(quiz::ParseQuizHeader(bytes.data(), bytes.size(), header), QuizError::None);
  return header;
}

QuizError Question(const builder::Bytes& bytes, int index, QuizQuestion& q) {
  QuizHeader header;
  const QuizError error = quiz::ParseQuizHeader(bytes.data(), bytes.size(), header);
  if (error != QuizError::None) return error;
  return quiz::ParseQuizQuestion(bytes.data(), bytes.size(), header, index, q);
}

bq::Quiz Numbered(int count, int plain) {
  bq::Quiz q;
  q.plainCount = static_cast<std::uint16_t>(plain);
  for (int i = 0; i < count; ++i) {
    bq::Question question;
    question.text = std::to_string(i + 1);
    question.answers = {"a", "b"};
    q.questions.push_back(question);
  }
  return q;
}

// A fixed sequence of rand() values.
class FakeRandom {
 public:
  explicit FakeRandom(unsigned seed) : state_(seed) {}
  int operator()() {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

 private:
  unsigned state_;
};

TEST(QuizFile, SampleQuestionsReadBack) {
  TempDir dir;
  bq::WriteQuizSample(dir.path());
  std::vector<u8> image;
  ASSERT_EQ(quiz::LoadQuizImage(dir.File("ZORLQUIZ.DAT").c_str(), image), QuizError::None);
  const QuizHeader header = Header(image);
  const bq::Quiz sample = bq::SampleQuiz(true);
  EXPECT_EQ(header.questionCount, sample.questions.size());
  EXPECT_EQ(header.plainCount, sample.plainCount);
  ASSERT_EQ(header.categories.size(), sample.categories.size());
  EXPECT_STREQ(header.categories[1].name, "History");
  QuizQuestion q;
  ASSERT_EQ(quiz::ParseQuizQuestion(image.data(), image.size(), header, 1, q), QuizError::None);
  EXPECT_STREQ(q.text, "How many times did Henry VIII marry?");
  ASSERT_EQ(q.answers.size(), 4u);
  EXPECT_STREQ(q.answers[3], "Eight");
  EXPECT_EQ(q.rightAnswer, 1);
  EXPECT_EQ(q.clues[1], sample.questions[1].clues[1]);
  ASSERT_EQ(quiz::ParseQuizQuestion(image.data(), image.size(), header, 5, q), QuizError::None);
  EXPECT_EQ(q.kind, 2);
  EXPECT_EQ(q.answerMedia[1], 3);
  EXPECT_EQ(quiz::ParseQuizQuestion(image.data(), image.size(), header, 6, q), QuizError::Damaged);
  EXPECT_EQ(quiz::LoadQuizImage(dir.File("ZORLQUZX.DAT").c_str(), image), QuizError::CannotOpen);
}

TEST(QuizFile, TruncatedOrDamagedRecordsAreRefused) {
  const builder::Bytes whole = bq::QuizFile(bq::SampleQuiz(true));
  QuizQuestion q;
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const builder::Bytes cut(whole.begin(), whole.begin() + static_cast<long>(size));
    // Every question lies partly or wholly past the cut, or the table does.
    EXPECT_EQ(Question(cut, 5, q), QuizError::Damaged) << size;
  }
  auto patched = [&](std::size_t at, u8 value) {
    builder::Bytes bytes = whole;
    bytes[at] = value;
    return bytes;
  };
  const QuizHeader header = Header(whole);
  const std::size_t table = header.tableOffset + 4;
  const std::size_t record = whole[table] | whole[table + 1] << 8 | whole[table + 2] << 16;
  EXPECT_EQ(Question(patched(record, 5), 0, q), QuizError::Damaged);          // kind 5
  EXPECT_EQ(Question(patched(record + 3, 7), 0, q), QuizError::Damaged);      // seven answers
  EXPECT_EQ(Question(patched(record + 3, 4), 0, q), QuizError::Damaged);      // an answer past the block
  EXPECT_EQ(Question(patched(record + 12, 0), 0, q), QuizError::Damaged);     // no right answer
  EXPECT_EQ(Question(patched(record + 12, 4), 0, q), QuizError::Damaged);     // right answer past A
  EXPECT_EQ(Question(patched(record + 14, 0x09), 0, q), QuizError::Damaged);  // L above 2048
  EXPECT_EQ(Question(patched(table + 3, 0x40), 0, q), QuizError::Damaged);    // record past the end
  EXPECT_EQ(Question(patched(0, 0xF0), 0, q), QuizError::Damaged);            // table past the end
  EXPECT_EQ(Question(whole, 0, q), QuizError::None);
  EXPECT_EQ(q.answers.size(), 3u);
}

TEST(QuizSequence, WithoutMediaOnlyPlainQuestionsAreAskedAndNoneRepeatsBeforeThePoolEnds) {
  const QuizHeader header = Header(bq::QuizFile(Numbered(300, 200)));
  QuizSequence sequence;
  sequence.LoadFirst(header);
  sequence.SetMediaAvailable(false);
  sequence.BuildPool();
  EXPECT_EQ(sequence.GetLargestNumber(header.questionCount), 200);
  FakeRandom random(7);
  std::set<int> asked;
  for (int i = 0; i < 200; ++i) {
    const int question = sequence.NextRandom(random);
    ASSERT_GE(question, 0);
    ASSERT_LT(question, 200);
    EXPECT_TRUE(asked.insert(question).second) << question;
  }
  // The pool was refilled when it ran out.
  EXPECT_EQ(sequence.GetPool().size(), 200u);
  sequence.SetMediaAvailable(true);
  sequence.BuildPool();
  EXPECT_EQ(sequence.GetLargestNumber(header.questionCount), 300);
  EXPECT_EQ(sequence.GetPool().size(), 300u);
}

TEST(QuizSequence, NothingAskableGivesNoQuestion) {
  bq::Quiz source = Numbered(4, 2);
  source.categories = {{"Media", {3, 4}}, {"Empty", {}}};
  QuizSequence sequence;
  sequence.LoadFirst(Header(bq::QuizFile(source)));
  sequence.LoadCategories(Header(bq::QuizFile(source)));
  ASSERT_TRUE(sequence.ToggleCategory(1));
  FakeRandom random(1);
  EXPECT_EQ(sequence.NextRandom(random), QuizSequence::NoQuestion);
  // Only the empty category: sequential order finds nothing either.
  EXPECT_TRUE(sequence.ToggleCategory(2));
  EXPECT_TRUE(sequence.ToggleCategory(1));
  EXPECT_EQ(sequence.GetSelectedCount(), 1);
  EXPECT_EQ(sequence.NextSequential(), QuizSequence::NoQuestion);
  EXPECT_EQ(sequence.NextRandom(random), QuizSequence::NoQuestion);
}

TEST(QuizSequence, CategoriesToggleAndSequentialOrderWraps) {
  bq::Quiz source = Numbered(6, 6);
  source.categories = {{"One", {1, 2}}, {"Two", {3}}, {"Three", {5, 6}}};
  const QuizHeader header = Header(bq::QuizFile(source));
  QuizSequence sequence;
  sequence.LoadFirst(header);
  sequence.LoadCategories(header);
  EXPECT_STREQ(sequence.CategoryLine("All"), "Categories: All");
  EXPECT_TRUE(sequence.ToggleCategory(3));
  // Unchecking the only checked category keeps it.
  EXPECT_FALSE(sequence.ToggleCategory(3));
  EXPECT_TRUE(sequence.IsSelected(3));
  EXPECT_TRUE(sequence.ToggleCategory(1));
  EXPECT_FALSE(sequence.IsSelected(0));
  EXPECT_STREQ(sequence.CategoryLine("All"), "Categories: One, Three");
  // From the first selected category to the last and round again.
  std::vector<int> order;
  for (int i = 0; i < 6; ++i) order.push_back(sequence.NextSequential());
  EXPECT_EQ(order, std::vector<int>({0, 1, 4, 5, 0, 1}));
  EXPECT_TRUE(sequence.SelectAll());
  EXPECT_FALSE(sequence.SelectAll());
  EXPECT_EQ(sequence.GetPool().size(), 6u);
}

TEST(QuizSequence, SequentialOrderPassesOverQuestionsThatNeedMedia) {
  bq::Quiz source = Numbered(6, 3);
  source.categories = {{"Mixed", {5, 2, 6, 3}}};
  const QuizHeader header = Header(bq::QuizFile(source));
  QuizSequence sequence;
  sequence.LoadFirst(header);
  sequence.LoadCategories(header);
  sequence.ToggleCategory(1);
  std::vector<int> order;
  for (int i = 0; i < 5; ++i) order.push_back(sequence.NextSequential());
  EXPECT_EQ(order, std::vector<int>({1, 2, 1, 2, 1}));
  sequence.SetMediaAvailable(true);
  EXPECT_EQ(sequence.NextSequential(), 5);
  EXPECT_EQ(sequence.NextSequential(), 2);
  EXPECT_EQ(sequence.NextSequential(), 4);
}

TEST(QuizSequence, GoingToTheLastQuestionMakesTheFirstOneNext) {
  bq::Quiz source = Numbered(5, 5);
  source.categories = {{"One", {2}}};
  const QuizHeader header = Header(bq::QuizFile(source));
  QuizSequence sequence;
  sequence.LoadFirst(header);
  sequence.LoadCategories(header);
  sequence.ToggleCategory(1);
  EXPECT_EQ(sequence.GoTo(5), 4);
  EXPECT_TRUE(sequence.IsSelected(0));
  EXPECT_FALSE(sequence.IsSelected(1));
  EXPECT_EQ(sequence.NextSequential(), 0);
  EXPECT_EQ(sequence.GoTo(2), 1);
  EXPECT_EQ(sequence.NextSequential(), 2);
}

TEST(QuizSequence, AfterALanguageSwitchAllAsksOnlyTheNewFilesQuestions) {
  // "All" keeps the six numbers of the file loaded first; the French file
  // has three questions, and media are there, so need is no limit.
  const QuizHeader english = Header(bq::QuizFile(Numbered(6, 4)));
  const QuizHeader french = Header(bq::QuizFile(Numbered(3, 2)));
  QuizSequence sequence;
  sequence.SetMediaAvailable(true);
  sequence.LoadFirst(english);
  sequence.LoadCategories(english);
  FakeRandom random(7);
  sequence.NextRandom(random);  // a pool of the English file, part used
  sequence.LoadCategories(french);
  EXPECT_EQ(sequence.GetPool(), std::vector<u16>({1, 2, 3}));
  std::set<int> asked;
  for (int i = 0; i < 12; ++i) asked.insert(sequence.NextRandom(random));
  EXPECT_EQ(asked, std::set<int>({0, 1, 2}));
  std::vector<int> order;
  for (int i = 0; i < 4; ++i) order.push_back(sequence.NextSequential());
  EXPECT_EQ(order, std::vector<int>({0, 1, 2, 0}));
  // Back to English: all six again.
  sequence.LoadCategories(english);
  EXPECT_EQ(sequence.GetPool().size(), 6u);
}

TEST(QuizSequence, ALanguageWithMoreCategoriesAddsUnselectedOnes) {
  bq::Quiz english = Numbered(4, 4), french = Numbered(2, 2);
  english.categories = {{"One", {1}}};
  french.categories = {{"Un", {1}}, {"Deux", {2}}, {"Trois", {2}}};
  QuizSequence sequence;
  sequence.LoadFirst(Header(bq::QuizFile(english)));
  sequence.LoadCategories(Header(bq::QuizFile(english)));
  sequence.ToggleCategory(1);
  sequence.LoadCategories(Header(bq::QuizFile(french)));
  ASSERT_EQ(sequence.GetCategoryCount(), 4);
  EXPECT_TRUE(sequence.IsSelected(1));
  EXPECT_FALSE(sequence.IsSelected(3));
  EXPECT_STREQ(sequence.CategoryLine("Toutes"), "Categories: Un");
  EXPECT_EQ(quiz::MulDivRound(9, 0x7FFF, 0x7FFF), 9);
  EXPECT_EQ(quiz::MulDivRound(9, 0x3FFF, 0x7FFF), 4);
}

}  // namespace
