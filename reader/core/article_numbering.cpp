#include "core/article_numbering.h"

#include <algorithm>

void ArticleNumbering::Build(const CBitString& updatePositions) {
  table_.clear();
  table_.reserve(static_cast<size_t>(updatePositions.GetSetCount()));
  for (int article = updatePositions.NextSet(1); article > 0; article = updatePositions.NextSet(article + 1)) {
    table_.push_back(static_cast<u32>(article));
  }
}

int ArticleNumbering::ToInternalArticle(int entry) const {
  // Update i (0-based) comes before main entry e exactly when the main
  // articles below it, t[i] - i - 1, are fewer than e. t[i] - i never falls,
  // so the count of such updates is found by binary search.
  size_t lo = 0, hi = table_.size();
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (static_cast<long long>(table_[mid]) - static_cast<long long>(mid) <= entry)
      lo = mid + 1;
    else
      hi = mid;
  }
  return entry + static_cast<int>(lo);
}

int ArticleNumbering::ToFileArticle(int article) const {
  const auto below = std::upper_bound(table_.begin(), table_.end(), article,
                                      [](int a, u32 update) { return a < static_cast<long long>(update); });
  return article - static_cast<int>(below - table_.begin());
}

int ArticleNumbering::GetUpdateArticle(int index) const {
  if (index < 1 || index > UpdateCount()) return 0;
  return static_cast<int>(table_[static_cast<size_t>(index - 1)]);
}

int ArticleNumbering::FindUpdateArticle(int article) const {
  if (article < 1) return -1;
  const auto found = std::lower_bound(table_.begin(), table_.end(), static_cast<u32>(article));
  if (found == table_.end() || *found != static_cast<u32>(article)) return -1;
  return static_cast<int>(found - table_.begin()) + 1;
}
