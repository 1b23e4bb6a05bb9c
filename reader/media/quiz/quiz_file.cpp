#include "media/quiz/quiz_file.h"

#include <new>

#include "core/content_file.h"

namespace quiz {
namespace {

// Quiz files hold a few thousand questions of at most 2 KB of text.
constexpr std::int64_t kMaxFileSize = 32 << 20;

bool Has(std::size_t size, std::size_t at, std::size_t count) { return at <= size && size - at >= count; }

}  // namespace

QuizError LoadQuizImage(const char* path, std::vector<u8>& image) {
  image.clear();
  const ContentFile file = ContentOpen(path);
  if (file == NoContentFile) return QuizError::CannotOpen;
  const std::int64_t size = ContentRemaining(file);
  QuizError result = QuizError::None;
  if (size < 0) {
    result = QuizError::CannotOpen;
  } else if (size > kMaxFileSize) {
    result = QuizError::Damaged;
  } else {
    try {
      image.resize(static_cast<std::size_t>(size));
      if (!image.empty() && !ContentReadExact(file, image.data(), static_cast<u32>(image.size())))
        result = QuizError::CannotOpen;
    } catch (const std::bad_alloc&) {
      result = QuizError::CannotOpen;
    }
  }
  ContentClose(file);
  if (result != QuizError::None) image.clear();
  return result;
}

QuizError ParseQuizHeader(const u8* bytes, std::size_t size, QuizHeader& out) {
  out = QuizHeader();
  QuizHeader header;
  if (!Has(size, 0, 6)) return QuizError::Damaged;
  header.tableOffset = ContentU32(bytes);
  if (!Has(size, header.tableOffset, 4)) return QuizError::Damaged;
  header.questionCount = ContentU16(bytes + header.tableOffset);
  header.plainCount = ContentU16(bytes + header.tableOffset + 2);
  if (!Has(size, header.tableOffset + 4, 4u * header.questionCount)) return QuizError::Damaged;
  if (header.plainCount > header.questionCount) header.plainCount = header.questionCount;
  const u16 categoryCount = ContentU16(bytes + 4);
  std::size_t at = 6;
  for (u16 i = 0; i < categoryCount; ++i) {
    QuizCategoryRecord category;
    if (!Has(size, at, 2)) return QuizError::Damaged;
    const u16 length = ContentU16(bytes + at);
    at += 2;
    if (!Has(size, at, length + 2u)) return QuizError::Damaged;
    const int kept = length > MaxCategoryName ? static_cast<int>(MaxCategoryName) : length;
    category.name = CString(reinterpret_cast<const char*>(bytes + at), kept);
    at += length;
    const u16 count = ContentU16(bytes + at);
    at += 2;
    if (!Has(size, at, 2u * count)) return QuizError::Damaged;
    for (u16 k = 0; k < count; ++k, at += 2) {
      const u16 number = ContentU16(bytes + at);
      if (number >= 1 && number <= header.questionCount) category.questions.push_back(number);
    }
    header.categories.push_back(std::move(category));
  }
  out = std::move(header);
  return QuizError::None;
}

QuizError ParseQuizQuestion(const u8* bytes, std::size_t size, const QuizHeader& header, int index, QuizQuestion& out) {
  out = QuizQuestion();
  if (index < 0 || index >= header.questionCount) return QuizError::Damaged;
  const std::size_t slot = header.tableOffset + 4 + 4u * static_cast<std::size_t>(index);
  if (!Has(size, slot, 4)) return QuizError::Damaged;
  const u32 offset = ContentU32(bytes + slot);
  if (!Has(size, offset, QuestionHeaderSize)) return QuizError::Damaged;
  const u8* r = bytes + offset;
  QuizQuestion q;
  q.kind = r[0];
  q.questionPicture = ContentU16(r + 1);
  q.answerCount = r[3];
  for (int m = 0; m < 4; ++m) q.answerMedia[m] = ContentU16(r + 4 + 2 * m);
  q.rightAnswer = r[12];
  q.textLength = ContentU16(r + 13);
  for (int c = 0; c < ClueCount; ++c) q.clues[c] = ContentU32(r + 15 + 4 * c);
  if (q.kind > 4 || q.answerCount > MaxAnswers || q.rightAnswer < 1 || q.rightAnswer > q.answerCount ||
      q.textLength > MaxTextLength || !Has(size, offset + QuestionHeaderSize, q.textLength))
    return QuizError::Damaged;
  // The question and the answers each end in a zero byte inside the block.
  const char* text = reinterpret_cast<const char*>(r + QuestionHeaderSize);
  std::size_t at = 0;
  for (int part = 0; part <= q.answerCount; ++part) {
    std::size_t end = at;
    while (end < q.textLength && text[end] != '\0') ++end;
    if (end == q.textLength) return QuizError::Damaged;
    const CString piece(text + at, static_cast<int>(end - at));
    if (part == 0)
      q.text = piece;
    else
      q.answers.push_back(piece);
    at = end + 1;
  }
  out = std::move(q);
  return QuizError::None;
}

}  // namespace quiz
