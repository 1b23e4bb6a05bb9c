// The encyclopedia screen's history: the 80 most recent articles shown,
// oldest first and the current one last, and the position of the entry that
// "Previous" shows next.
#pragma once

#include "zorlre/re_types.h"

namespace browser {

class ArticleHistory {
 public:
  static constexpr int kSize = 80;
  static constexpr u16 kNone = 0xFFFF;

  // The article a request shows: `article` itself, or for -1 ("Previous") the
  // entry at the position, which then moves one entry back (0 when there is
  // nothing to go back to). A plain request puts the position on the entry
  // that is current now.
  int Resolve(int article);
  // Appends the article shown; with 80 entries the oldest goes and the
  // position moves with the entries.
  void Append(u32 article);

  int Count() const { return m_count; }
  u16 Position() const { return m_position; }
  bool HasPrevious() const { return m_position != kNone; }
  u32 At(int i) const { return i >= 0 && i < m_count && i < kSize ? m_entries[i] : 0; }

 private:
  u32 m_entries[kSize] = {};
  u16 m_count = 0;
  u16 m_position = kNone;
};

}  // namespace browser
