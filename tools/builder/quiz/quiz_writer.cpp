#include "quiz/quiz_writer.h"

#include <stdexcept>

#include "content/sample_content.h"

namespace builder::quiz {

namespace {

// What the file's fields can hold: u16 counts, names of at most 255 bytes,
// question numbers 1..Q, and B no larger than Q.
void CheckLimits(const Quiz& quiz) {
  const std::size_t questions = quiz.questions.size();
  if (questions > 0xFFFF) throw std::invalid_argument("quiz with more than 65535 questions");
  if (quiz.categories.size() > 0xFFFF) throw std::invalid_argument("quiz with more than 65535 categories");
  if (quiz.plainCount > questions) throw std::invalid_argument("quiz with more plain questions than questions");
  for (const Category& category : quiz.categories) {
    if (category.name.size() > 255) throw std::invalid_argument("quiz category name above 255 bytes");
    if (category.questions.size() > 0xFFFF) throw std::invalid_argument("quiz category above 65535 questions");
    for (std::uint16_t number : category.questions)
      if (number < 1 || number > questions)
        throw std::invalid_argument("quiz category " + category.name + " names a question the file lacks");
  }
}

}  // namespace

Bytes QuizFile(const Quiz& quiz) {
  CheckLimits(quiz);
  ByteWriter out;
  out.U32le(0);  // the table's offset, patched below
  out.U16le(static_cast<std::uint32_t>(quiz.categories.size()));
  for (const Category& category : quiz.categories) {
    out.U16le(static_cast<std::uint32_t>(category.name.size()));
    out.Append(category.name);
    out.U16le(static_cast<std::uint32_t>(category.questions.size()));
    for (std::uint16_t number : category.questions) out.U16le(number);
  }
  out.PatchU32le(0, static_cast<std::uint32_t>(out.size()));
  out.U16le(static_cast<std::uint32_t>(quiz.questions.size()));
  out.U16le(quiz.plainCount);
  const std::size_t table = out.size();
  out.Zeros(4 * quiz.questions.size());
  for (std::size_t i = 0; i < quiz.questions.size(); ++i) {
    const Question& q = quiz.questions[i];
    if (q.answers.size() > 6) throw std::invalid_argument("quiz question with more than six answers");
    std::string block = q.text + '\0';
    for (const std::string& answer : q.answers) block += answer + '\0';
    if (block.size() > 2048) throw std::invalid_argument("quiz question text above 2048 bytes");
    out.PatchU32le(table + 4 * i, static_cast<std::uint32_t>(out.size()));
    out.U8(q.kind);
    out.U16le(q.questionPicture);
    out.U8(static_cast<std::uint32_t>(q.answers.size()));
    for (std::uint16_t media : q.answerMedia) out.U16le(media);
    out.U8(q.rightAnswer);
    out.U16le(static_cast<std::uint32_t>(block.size()));
    for (std::uint32_t clue : q.clues) out.U32le(clue);
    out.Append(block);
  }
  return out.take();
}

Quiz SampleQuiz(bool english) {
  const ContentSample content = BuildContentSample();
  auto entry = [&](const std::string& title) { return MainEntryOf(content, title); };
  Quiz quiz;
  if (english) {
    // Questions 1-4 need no media; 5 shows a picture, 6 answers with pictures
    // (media items 0, the night sky, and 3, a comet).
    quiz.plainCount = 4;
    quiz.questions = {
        {0, 0, {}, 2, {entry("Aardvark")}, "What does the aardvark eat?", {"Grass", "Ants and termites", "Fish"}},
        {0,
         0,
         {},
         1,
         {entry("Henry VIII"), entry("Ancient Egypt")},
         "How many times did Henry VIII marry?",
         {"Six", "Two", "Four", "Eight"}},
        {0, 0, {}, 3, {entry("Volcano")}, "What comes out of a volcano?", {"Water", "Sand", "Lava", "Ice"}},
        {0, 0, {}, 1, {}, "Which animal has stripes?", {"Zebra", "Aardvark"}},
        {1, 0, {}, 2, {entry("Astronomy")}, "What does this picture show?", {"The sea", "The night sky", "A forest"}},
        {2, 0, {0, 3}, 2, {entry("Comet")}, "Which picture shows a comet?", {"", ""}},
    };
    quiz.categories = {{"Science", {3, 5, 6}}, {"History", {2}}, {"Animals", {1, 4}}};
  } else {
    quiz.plainCount = 3;
    quiz.questions = {
        {0, 0, {}, 2, {entry("Aardvark")}, "Que mange l'oryct\xe9rope ?", {"De l'herbe", "Des fourmis", "Du poisson"}},
        {0, 0, {}, 1, {entry("Henry VIII")}, "Combien de fois Henri VIII s'est-il mari\xe9 ?", {"Six", "Deux"}},
        {0, 0, {}, 2, {entry("Volcano")}, "Que rejette un volcan ?", {"De l'eau", "De la lave"}},
    };
    quiz.categories = {{"Sciences", {1, 3}}, {"Histoire", {2}}};
  }
  return quiz;
}

void WriteQuizSample(const std::string& directory) {
  WriteFileAtomically(JoinPath(directory, "ZORLQUIZ.DAT"),
                      ExtraFileOr("ZORLQUIZ.DAT", [] { return QuizFile(SampleQuiz(true)); }));
  WriteFileAtomically(JoinPath(directory, "ZORLQUZF.DAT"),
                      ExtraFileOr("ZORLQUZF.DAT", [] { return QuizFile(SampleQuiz(false)); }));
}

}  // namespace builder::quiz
