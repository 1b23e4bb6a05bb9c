// The quiz files "ZORLQUIZ.DAT" (English) and "ZORLQUZF.DAT" (French),
// little-endian: u32 offset T of the question table, u16 category count,
// the categories (u16 name length, name, u16 N, N x u16 question numbers);
// at T: u16 Q, u16 B (questions 1..B need no media), Q x u32 record offsets.
// A record: byte kind, u16 question picture, byte answer count A,
// 4 x u16 answer media, byte right answer (1-based), u16 text length L,
// 6 x u32 clue entries, then L bytes: the question and the A answers, each
// ending in a zero byte.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder::quiz {

struct Question {
  std::uint8_t kind = 0;
  std::uint16_t questionPicture = 0;
  std::array<std::uint16_t, 4> answerMedia{};
  std::uint8_t rightAnswer = 1;
  std::array<std::uint32_t, 6> clues{};
  std::string text;
  std::vector<std::string> answers;
};

struct Category {
  std::string name;
  std::vector<std::uint16_t> questions;  // 1-based
};

struct Quiz {
  std::vector<Category> categories;
  std::uint16_t plainCount = 0;  // B
  std::vector<Question> questions;
};

Bytes QuizFile(const Quiz& quiz);

// The sample quizzes: English and French.
Quiz SampleQuiz(bool english);
// Writes "ZORLQUIZ.DAT" and "ZORLQUZF.DAT" of the sample into the directory.
void WriteQuizSample(const std::string& directory);

}  // namespace builder::quiz
