#include "media/quiz/quiz_sequence.h"

#include <cstdint>

namespace quiz {

int MulDivRound(int a, int b, int c) {
  if (c <= 0 || a < 0 || b < 0) return -1;
  return static_cast<int>((static_cast<std::int64_t>(a) * b + c / 2) / c);
}

void QuizSequence::LoadFirst(const QuizHeader& header) {
  m_categories.clear();
  m_names.clear();
  m_selected.assign(1 + header.categories.size(), false);
  m_selected[0] = true;
  std::vector<u16> all;
  for (u16 n = 1; n <= header.questionCount && n != 0; ++n) all.push_back(n);
  m_categories.push_back(std::move(all));
  m_names.push_back(CString());
  m_plainCount = header.plainCount;
  m_questionCount = header.questionCount;
  m_current = 0;
  m_position = 0;
  BuildPool();
}

void QuizSequence::LoadCategories(const QuizHeader& header) {
  if (m_categories.empty()) {
    m_categories.emplace_back();
    m_names.emplace_back();
  }
  m_categories.resize(1);
  m_names.resize(1);
  for (const QuizCategoryRecord& category : header.categories) {
    m_categories.push_back(category.questions);
    m_names.push_back(category.name);
  }
  // A file with fewer categories drops the flags of the missing ones; one
  // with more adds them unselected.
  m_selected.resize(m_categories.size(), false);
  if (GetSelectedCount() == 0) m_selected[0] = true;
  m_plainCount = header.plainCount;
  m_questionCount = header.questionCount;
  if (m_current >= GetCategoryCount() || !m_selected[static_cast<std::size_t>(m_current)]) {
    m_current = FirstSelected();
    m_position = 0;
  }
  BuildPool();
}

int QuizSequence::GetSelectedCount() const {
  int count = 0;
  for (bool selected : m_selected) count += selected ? 1 : 0;
  return count;
}

int QuizSequence::FirstSelected() const {
  for (std::size_t k = 0; k < m_selected.size(); ++k)
    if (m_selected[k]) return static_cast<int>(k);
  return 0;
}

void QuizSequence::BuildPool() {
  m_pool.clear();
  for (std::size_t k = 0; k < m_categories.size(); ++k) {
    if (!m_selected[k]) continue;
    for (u16 number : m_categories[k])
      if (Askable(number)) m_pool.push_back(number);
  }
}

int QuizSequence::NextRandom(const RandomSource& random) {
  if (m_pool.empty()) BuildPool();
  if (m_pool.empty()) return NoQuestion;
  const int size = static_cast<int>(m_pool.size());
  int a = MulDivRound(size - 1, random(), 0x7FFF);
  if (a < 0) a = 0;
  if (a >= size) a = size - 1;
  const int question = m_pool[static_cast<std::size_t>(a)] - 1;
  m_pool.erase(m_pool.begin() + a);
  if (m_pool.empty()) BuildPool();
  return question;
}

int QuizSequence::NextSequential() {
  if (m_categories.empty()) return NoQuestion;
  const int count = GetCategoryCount();
  // Questions that need media are passed over while media are unavailable,
  // and so are empty categories; one round over every entry at most.
  int steps = count + 1;
  for (const std::vector<u16>& list : m_categories) steps += static_cast<int>(list.size());
  while (steps-- > 0) {
    const std::vector<u16>& list = m_categories[static_cast<std::size_t>(m_current)];
    const bool inList = m_selected[static_cast<std::size_t>(m_current)] && m_position < static_cast<int>(list.size());
    const u16 number = inList ? list[static_cast<std::size_t>(m_position)] : 0;
    if (inList && ++m_position < static_cast<int>(list.size())) {
      if (Askable(number)) return number - 1;
      continue;
    }
    // The category is done: on to the next selected one, cyclically.
    m_position = 0;
    for (int k = 0; k < count; ++k) {
      m_current = (m_current + 1) % count;
      if (m_selected[static_cast<std::size_t>(m_current)]) break;
    }
    if (inList && Askable(number)) return number - 1;
  }
  return NoQuestion;
}

void QuizSequence::AfterSelectionChange() {
  BuildPool();
  m_position = 0;
  m_current = FirstSelected();
}

bool QuizSequence::SelectAll() {
  if (m_selected.empty() || (m_selected[0] && GetSelectedCount() == 1)) return false;
  m_selected.assign(m_selected.size(), false);
  m_selected[0] = true;
  AfterSelectionChange();
  return true;
}

bool QuizSequence::ToggleCategory(int k) {
  if (k < 1 || k >= static_cast<int>(m_selected.size())) return false;
  const std::size_t i = static_cast<std::size_t>(k);
  if (m_selected[i]) {
    if (GetSelectedCount() <= 1) return false;
    m_selected[i] = false;
  } else {
    m_selected[0] = false;
    m_selected[i] = true;
  }
  AfterSelectionChange();
  return true;
}

int QuizSequence::GoTo(int n) {
  SelectAll();
  const int total = m_categories.empty() ? 0 : static_cast<int>(m_categories[0].size());
  m_current = 0;
  m_position = n >= total ? 0 : n;
  return n - 1;
}

CString QuizSequence::CategoryLine(const char* allName) const {
  CString line("Categories: ");
  if (m_selected.empty() || m_selected[0]) {
    line += allName;
    return line;
  }
  for (std::size_t k = 1; k < m_selected.size(); ++k)
    if (m_selected[k]) {
      line += m_names[k];
      line += ", ";
    }
  return line.Left(line.GetLength() - 2);
}

}  // namespace quiz
