// The timeline and quiz files on bytes written out by hand from their
// layouts (not by the content builder, so that builder and reader cannot
// agree on a misreading), and the limits the builder keeps to.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "media/quiz/quiz_file.h"
#include "media/timeline/timeline_file.h"
#include "quiz/quiz_writer.h"
#include "timeline/timeline_writer.h"

namespace {

using Bytes = std::vector<u8>;

// ---- Timeline.bin ------------------------------------------------------------------------

TEST(TimelineBytes, EveryFieldReadsFromItsPlace) {
  // clang-format off
  const Bytes file = {
      1, 0, 1, 0, 1, 0, 2, 0,  // C = 1 category, P = 1 period, Y = 1 issue, E = 2 events
      // Mode pictures as stored: modes 0, 1, 2, 4, 5, 3, 7, 6, 8, 9.
      10, 0, 11, 0, 12, 0, 14, 0, 15, 0, 13, 0, 17, 0, 16, 0, 18, 0, 0x13, 0x01,  // the last is 275
      30, 0, 3, 0, 'A', 'r', 't',                                                 // category: picture 30, "Art"
      31, 0, 7, 0, 'A', 'n', 't', 'i', 'q', 'u', 'e',                             // period: picture 31, "Antique"
      32, 0, 4, 0, '1', '9', '9', '6',                                            // issue: picture 32, "1996"
      // Event 1: 44 BCE 15 March to 1997 31 December, in review, category 0;
      // a first of period 0; issue 0; entry 0x00012345.
      0xD4, 0xFF, 15, 3, 0xCD, 0x07, 31, 12, 0x80, 0x80, 0, 0x45, 0x23, 0x01, 0x00,
      // Event 2: 1969 20 July, one day; category 0, period 0, issue 0; entry 9.
      0xB1, 0x07, 20, 7, 0xB1, 0x07, 20, 7, 0x00, 0x00, 0, 9, 0, 0, 0};
  // clang-format on
  timeline::TimelineData data;
  ASSERT_EQ(timeline::ParseTimeline(file.data(), file.size(), data), timeline::TimelineError::None);
  for (int mode = 0; mode < 9; ++mode) EXPECT_EQ(data.ModePicture(mode), 10 + mode) << mode;
  EXPECT_EQ(data.ModePicture(timeline::ModeBookmarks), 275);
  ASSERT_EQ(data.categories.GetCount(), 1);
  EXPECT_STREQ(data.categories.names[0], "Art");
  EXPECT_EQ(data.categories.pictures[0], 30);
  EXPECT_STREQ(data.periods.names[0], "Antique");
  EXPECT_EQ(data.periods.pictures[0], 31);
  EXPECT_STREQ(data.issues.names[0], "1996");
  EXPECT_EQ(data.issues.pictures[0], 32);
  ASSERT_EQ(data.eventCount, 2);
  const timeline::TimelineEvent caesar = data.Event(1);
  EXPECT_EQ(caesar.startYear, -44);
  EXPECT_EQ(caesar.startDay, 15);
  EXPECT_EQ(caesar.startMonth, 3);
  EXPECT_EQ(caesar.endYear, 1997);
  EXPECT_EQ(caesar.endDay, 31);
  EXPECT_EQ(caesar.endMonth, 12);
  EXPECT_TRUE(caesar.inReview);
  EXPECT_TRUE(caesar.first);
  EXPECT_EQ(caesar.category, 0);
  EXPECT_EQ(caesar.period, 0);
  EXPECT_EQ(caesar.entry, 0x12345u);
  const timeline::TimelineEvent moon = data.Event(2);
  EXPECT_EQ(moon.startYear, 1969);
  EXPECT_EQ(moon.startMonth, 7);
  EXPECT_FALSE(moon.inReview);
  EXPECT_FALSE(moon.first);
  EXPECT_EQ(moon.entry, 9u);

  // One byte short of the second event: damaged.
  const Bytes cut(file.begin(), file.end() - 1);
  EXPECT_EQ(timeline::ParseTimeline(cut.data(), cut.size(), data), timeline::TimelineError::Damaged);
}

TEST(TimelineBytes, TheBuilderRefusesCountsAboveSixteenBits) {
  builder::timeline::Timeline many;
  many.events.resize(0x10000);
  EXPECT_THROW(builder::timeline::TimelineFile(many), std::invalid_argument);
  builder::timeline::Timeline names;
  names.periods.resize(0x10000);
  EXPECT_THROW(builder::timeline::TimelineFile(names), std::invalid_argument);
  names.periods.resize(0xFFFF);
  EXPECT_NO_THROW(builder::timeline::TimelineFile(names));
}

// ---- ZORLQUIZ.DAT / ZORLQUZF.DAT ---------------------------------------------------------

TEST(QuizBytes, EveryFieldReadsFromItsPlace) {
  // clang-format off
  const Bytes file = {
      17, 0, 0, 0,        // T = 17: the question table
      1, 0,               // C = 1 category
      3, 0, 'A', 'r', 't',  // its name: 3 bytes, "Art"
      2, 0, 2, 0, 1, 0,   // N = 2 questions: 2, then 1
      2, 0, 1, 0,         // at T: Q = 2 questions, B = 1 needs no media
      29, 0, 0, 0,        // question 1 at 29, after this table
      78, 0, 0, 0,        // question 2 at 29 + 39 + 10 = 78
      // Question 1: kind 0, no picture, A = 2, no media, right answer 2, L = 10,
      // clues: entry 7 and five none, then "Q?", "yes", "no".
      0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 2, 10, 0,  //
      7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
      'Q', '?', 0, 'y', 'e', 's', 0, 'n', 'o', 0,
      // Question 2: kind 2, picture 0x0201 (unused by kind 2), A = 2, media
      // a = 5, b = 0x0102, right answer 1, L = 9, no clues, then "Pick", "a", "b".
      2, 0x01, 0x02, 2, 5, 0, 0x02, 0x01, 0, 0, 0, 0, 1, 9, 0,  //
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
      'P', 'i', 'c', 'k', 0, 'a', 0, 'b', 0};
  // clang-format on
  quiz::QuizHeader header;
  ASSERT_EQ(quiz::ParseQuizHeader(file.data(), file.size(), header), quiz::QuizError::None);
  EXPECT_EQ(header.tableOffset, 17u);
  EXPECT_EQ(header.questionCount, 2);
  EXPECT_EQ(header.plainCount, 1);
  ASSERT_EQ(header.categories.size(), 1u);
  EXPECT_STREQ(header.categories[0].name, "Art");
  EXPECT_EQ(header.categories[0].questions, std::vector<u16>({2, 1}));

  quiz::QuizQuestion q;
  ASSERT_EQ(quiz::ParseQuizQuestion(file.data(), file.size(), header, 0, q), quiz::QuizError::None);
  EXPECT_EQ(q.kind, 0);
  EXPECT_EQ(q.answerCount, 2);
  EXPECT_EQ(q.rightAnswer, 2);
  EXPECT_EQ(q.textLength, 10);
  EXPECT_EQ(q.clues[0], 7u);
  EXPECT_EQ(q.clues[5], 0u);
  EXPECT_STREQ(q.text, "Q?");
  ASSERT_EQ(q.answers.size(), 2u);
  EXPECT_STREQ(q.answers[0], "yes");
  EXPECT_STREQ(q.answers[1], "no");

  ASSERT_EQ(quiz::ParseQuizQuestion(file.data(), file.size(), header, 1, q), quiz::QuizError::None);
  EXPECT_EQ(q.kind, 2);
  EXPECT_EQ(q.questionPicture, 0x0201);
  EXPECT_EQ(q.answerMedia[0], 5);
  EXPECT_EQ(q.answerMedia[1], 0x0102);
  EXPECT_EQ(q.answerMedia[2], 0);
  EXPECT_EQ(q.rightAnswer, 1);
  EXPECT_STREQ(q.text, "Pick");
  ASSERT_EQ(q.answers.size(), 2u);
  EXPECT_STREQ(q.answers[1], "b");
  EXPECT_EQ(quiz::ParseQuizQuestion(file.data(), file.size(), header, 2, q), quiz::QuizError::Damaged);
}

TEST(QuizBytes, OutOfRangeQuestionNumbersLongNamesAndPlainCountAreContained) {
  // Two categories: "Mixed" naming questions 0, 1, 3, 4 and 999 of a file of
  // three, and one with a 300-byte name; B = 9 above Q = 3.
  Bytes file = {0, 0, 0, 0, 2, 0, 5, 0, 'M', 'i', 'x', 'e', 'd', 5, 0, 0, 0, 1, 0, 3, 0, 4, 0, 0xE7, 0x03};
  file.insert(file.end(), {0x2C, 0x01});  // name length 300
  file.insert(file.end(), 300, 'n');
  file.insert(file.end(), {1, 0, 2, 0});  // N = 1: question 2
  const std::size_t t = file.size();      // T, patched into the first field
  file[0] = static_cast<u8>(t);
  file[1] = static_cast<u8>(t >> 8);
  file.insert(file.end(), {3, 0, 9, 0});  // Q = 3, B = 9
  file.insert(file.end(), 12, 0);         // three record offsets (the records are not read here)
  quiz::QuizHeader header;
  ASSERT_EQ(quiz::ParseQuizHeader(file.data(), file.size(), header), quiz::QuizError::None);
  EXPECT_EQ(header.plainCount, 3);
  ASSERT_EQ(header.categories.size(), 2u);
  EXPECT_EQ(header.categories[0].questions, std::vector<u16>({1, 3}));
  EXPECT_EQ(header.categories[1].name.GetLength(), 255);
  EXPECT_EQ(header.categories[1].questions, std::vector<u16>({2}));
}

TEST(QuizBytes, TheBuilderRefusesWhatTheFormatCannotHold) {
  namespace bq = builder::quiz;
  bq::Quiz quiz;
  quiz.questions.resize(3);
  for (bq::Question& q : quiz.questions) q.answers = {"a"};
  quiz.plainCount = 3;
  quiz.categories = {{std::string(255, 'n'), {1, 3}}};
  EXPECT_NO_THROW(bq::QuizFile(quiz));
  quiz.categories[0].name += 'n';  // 256 bytes
  EXPECT_THROW(bq::QuizFile(quiz), std::invalid_argument);
  quiz.categories = {{"Mixed", {0}}};
  EXPECT_THROW(bq::QuizFile(quiz), std::invalid_argument);
  quiz.categories = {{"Mixed", {4}}};
  EXPECT_THROW(bq::QuizFile(quiz), std::invalid_argument);
  quiz.categories.clear();
  quiz.plainCount = 4;
  EXPECT_THROW(bq::QuizFile(quiz), std::invalid_argument);
  quiz.plainCount = 0;
  quiz.categories.resize(0x10000);
  EXPECT_THROW(bq::QuizFile(quiz), std::invalid_argument);
}

}  // namespace
