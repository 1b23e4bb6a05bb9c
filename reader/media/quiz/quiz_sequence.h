// Which question comes next: the categories and their selection, the
// sequential position and the random pool. Category 0 is "All" (questions
// 1..Q of the file loaded first); 1..C are the file's categories. Questions
// above B are asked only while media are available.
#pragma once

#include <functional>
#include <vector>

#include "afx_core.h"
#include "media/quiz/quiz_file.h"

namespace quiz {

// A random value 0..0x7FFF, as the C library's rand() gives on the target.
using RandomSource = std::function<int()>;

// MulDiv's rounded a x b / c for a, b >= 0 and c > 0; -1 otherwise.
int MulDivRound(int a, int b, int c);

class QuizSequence {
 public:
  static constexpr int NoQuestion = -1;

  // The header of the file loaded first: "All" holds 1..Q, only it is selected.
  void LoadFirst(const QuizHeader& header);
  // The categories of a file (after a language switch too); "All" and the
  // selection flags of the categories that remain are kept, and the pool is
  // drawn afresh from the file's questions.
  void LoadCategories(const QuizHeader& header);
  void SetMediaAvailable(bool available) { m_mediaAvailable = available; }
  void SetPlainCount(int plain) { m_plainCount = plain; }

  // The pool: every askable question of the selected categories, in order.
  void BuildPool();
  // The next question's index (0-based), or NoQuestion when the selected
  // categories hold no question that can be asked. Sequential order passes
  // over the questions that need media while media are unavailable.
  int NextRandom(const RandomSource& random);
  int NextSequential();

  // "All": FALSE when it was already the only choice.
  bool SelectAll();
  // Category k (1..C) on or off; the last selected one stays selected.
  // FALSE when nothing changed.
  bool ToggleCategory(int k);
  // Question n (1-based) of "All": selects "All"; the next sequential question
  // follows it. Returns its index.
  int GoTo(int n);

  int GetCategoryCount() const { return static_cast<int>(m_categories.size()); }  // "All" included
  const CString& GetName(int k) const { return m_names[static_cast<std::size_t>(k)]; }
  bool IsSelected(int k) const { return m_selected[static_cast<std::size_t>(k)]; }
  int GetSelectedCount() const;
  const std::vector<u16>& GetPool() const { return m_pool; }
  int GetCurrentCategory() const { return m_current; }
  int GetPosition() const { return m_position; }
  // The questions that Go To Question offers: Q with media, else B.
  int GetLargestNumber(int questionCount) const { return m_mediaAvailable ? questionCount : m_plainCount; }
  // "Categories: " and the chosen names, or "Categories: " and `allName`.
  CString CategoryLine(const char* allName) const;

 private:
  // A number of the open file (after a language switch "All" may hold more),
  // and one without media or with media available.
  bool Askable(u16 number) const {
    return number >= 1 && number <= m_questionCount && (m_mediaAvailable || number <= m_plainCount);
  }
  void AfterSelectionChange();
  int FirstSelected() const;

  std::vector<std::vector<u16>> m_categories;
  std::vector<CString> m_names;
  std::vector<bool> m_selected;
  std::vector<u16> m_pool;
  int m_current = 0;
  int m_position = 0;
  int m_plainCount = 0;
  int m_questionCount = 0;
  bool m_mediaAvailable = false;
};

}  // namespace quiz
