#include "browser/article_history.h"

namespace browser {

int ArticleHistory::Resolve(int article) {
  if (article == -1) {
    // Nothing before: a Previous that can no longer go back shows nothing
    // (rather than reading outside the entries).
    if (m_position == kNone || m_position >= m_count) return 0;
    const int previous = static_cast<int>(m_entries[m_position]);
    m_position = static_cast<u16>(m_position - 1);
    return previous;
  }
  m_position = static_cast<u16>(m_count - 1);
  return article;
}

void ArticleHistory::Append(u32 article) {
  if (m_count == kSize) {
    for (int i = 1; i < kSize; ++i) m_entries[i - 1] = m_entries[i];
    if (m_position != kNone) m_position = static_cast<u16>(m_position - 1);
    m_entries[kSize - 1] = article;
    return;
  }
  m_entries[m_count++] = article;
}

}  // namespace browser
