// The quiz files "ZORLQUIZ.DAT" (English) and "ZORLQUZF.DAT" (French).
// Little-endian:
//   0 u32 T, the offset of the question table; 4 u16 C categories, each
//   u16 name length n, n bytes of name, u16 N, N x u16 question numbers
//   (1-based); at T: u16 Q questions, u16 B (questions 1..B need no media),
//   Q x u32 offsets of the question records.
// A question record is a 39-byte header (see QuizQuestion) and L bytes of
// text: the question and its A answers, each ending in a zero byte.
// Nothing here calls Windows: the reader is tested natively and fuzzed.
#pragma once

#include <cstddef>
#include <vector>

#include "afx_core.h"
#include "zorlre/re_types.h"

namespace quiz {

constexpr u32 QuestionHeaderSize = 39;
constexpr u32 MaxTextLength = 2048;
constexpr int MaxAnswers = 6;
constexpr int ClueCount = 6;
constexpr u32 MaxCategoryName = 255;

struct QuizCategoryRecord {
  CString name;
  std::vector<u16> questions;  // 1-based question numbers
};

struct QuizHeader {
  u32 tableOffset = 0;
  u16 questionCount = 0;  // Q
  u16 plainCount = 0;     // B: questions 1..B can always be asked
  std::vector<QuizCategoryRecord> categories;
};

struct QuizQuestion {
  u8 kind = 0;  // 0 texts; 1 texts and a picture; 2-4 two to four picture answers
  u16 questionPicture = 0;
  u8 answerCount = 0;  // A, 0-6
  u16 answerMedia[4] = {};
  u8 rightAnswer = 0;  // 1-6
  u16 textLength = 0;
  u32 clues[ClueCount] = {};  // main-database entry numbers, 0 = none
  CString text;
  std::vector<CString> answers;
};

enum class QuizError {
  None,
  CannotOpen,  // the file is missing or unreadable
  Damaged,     // a count, offset or length leads outside the file or its limits
};

// Reads the whole file at `path` into `image`.
QuizError LoadQuizImage(const char* path, std::vector<u8>& image);
// The table and the categories. Question numbers outside 1..Q are dropped
// from their category, and B is never more than Q.
QuizError ParseQuizHeader(const u8* bytes, std::size_t size, QuizHeader& out);
// Question `index` (0-based, below Q).
QuizError ParseQuizQuestion(const u8* bytes, std::size_t size, const QuizHeader& header, int index, QuizQuestion& out);

}  // namespace quiz
