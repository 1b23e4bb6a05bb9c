#include "core/bit_string.h"

#include <cstdint>

namespace {

// Number of set bits of each byte value.
struct BitCounts {
  BYTE counts[256];
  constexpr BitCounts() : counts() {
    for (int value = 0; value < 256; ++value) counts[value] = static_cast<BYTE>((value & 1) + counts[value >> 1]);
  }
};
constexpr BitCounts kBitCounts;

int CountOf(BYTE value) { return kBitCounts.counts[value]; }

// The largest bit count a set takes, so that (count >> 3) + 1 stays an int.
constexpr std::int64_t MaxBitCount = 0x7FFFFFF0;

}  // namespace

CBitString::CBitString(int bitCount, int ordered) {
  Resize(bitCount);
  m_ordered = ordered ? TRUE : FALSE;
}

CBitString::CBitString(const CBitString& other) : CObject() { *this = other; }

CBitString& CBitString::operator=(const CBitString& other) {
  if (this == &other) return *this;
  m_bits.Copy(other.m_bits);
  m_articles.Copy(other.m_articles);
  m_scores.Copy(other.m_scores);
  m_positions.Copy(other.m_positions);
  m_ordered = other.m_ordered;
  m_bitCount = other.m_bitCount;
  m_setCount = other.m_setCount;
  return *this;
}

void CBitString::Resize(int bitCount) {
  m_bits.RemoveAll();
  m_bitCount = bitCount > 0 && bitCount <= MaxBitCount ? bitCount : 0;
  m_bits.SetSize(ByteCount());
  m_setCount = 0;
  Clear();
}

void CBitString::Clear() {
  const int bytes = ByteCount();
  BYTE* bits = m_bits.GetData();
  for (int i = 0; i < bytes; ++i) bits[i] = 0;
  m_setCount = 0;
  m_articles.RemoveAll();
  m_scores.RemoveAll();
  m_positions.RemoveAll();
  m_ordered = FALSE;
}

void CBitString::Recount() {
  const BYTE* bits = m_bits.GetData();
  int count = 0;
  for (int i = 0, bytes = ByteCount(); i < bytes; ++i) count += CountOf(bits[i]);
  m_setCount = count;
}

void CBitString::ClearPastEnd() {
  if (m_bitCount > 0) m_bits[m_bitCount >> 3] &= static_cast<BYTE>((1u << (m_bitCount & 7)) - 1);
}

int CBitString::SetBit(int n, BOOL set, BOOL ordered, UINT score, UINT position) {
  if (n <= 0 || n > m_bitCount) return 0;
  BYTE& byte = m_bits[(n - 1) >> 3];
  const BYTE mask = static_cast<BYTE>(1u << ((n - 1) & 7));
  const bool wasSet = (byte & mask) != 0;
  if (set) {
    if (wasSet) return 1;  // a repeated article keeps its first score
    byte |= mask;
    ++m_setCount;
    if (ordered) {
      m_ordered = TRUE;
      m_articles.Add(static_cast<DWORD>(n));
      m_scores.Add(score);
      m_positions.Add(position);
    }
    return 0;
  }
  if (!wasSet) return 0;
  byte &= static_cast<BYTE>(~mask);
  --m_setCount;
  return 1;
}

int CBitString::SetRange(int n, int length, BOOL set) {
  if (length == 0) return 1;
  if (n <= 0 || length < 0) return 0;
  const std::int64_t first = n - 1;
  const std::int64_t last = first + length - 1;  // 0-based index of the last bit
  if (last >= m_bitCount) return 0;
  BYTE* bits = m_bits.GetData();
  for (std::int64_t byte = first >> 3; byte <= last >> 3; ++byte) {
    const int low = byte == first >> 3 ? static_cast<int>(first & 7) : 0;
    const int high = byte == last >> 3 ? static_cast<int>(last & 7) : 7;
    const BYTE mask = static_cast<BYTE>((0xFFu << low) & (0xFFu >> (7 - high)));
    if (set)
      bits[byte] |= mask;
    else
      bits[byte] &= static_cast<BYTE>(~mask);
  }
  Recount();
  m_ordered = FALSE;
  m_articles.RemoveAll();
  m_scores.RemoveAll();
  m_positions.RemoveAll();
  return m_setCount;
}

int CBitString::Test(int n) const {
  if (n <= 0 || n > m_bitCount) return 0;
  return (m_bits[(n - 1) >> 3] >> ((n - 1) & 7)) & 1;
}

int CBitString::GetAt(int k) const {
  if (k <= 0) return -1;
  if (m_ordered) {
    if (k > m_articles.GetSize()) return -1;
    const int article = static_cast<int>(m_articles[k - 1]);
    return Test(article) ? article : -1;
  }
  if (k > m_setCount) return -1;
  const BYTE* bits = m_bits.GetData();
  int seen = 0;
  for (int i = 0, bytes = ByteCount(); i < bytes; ++i) {
    const int here = CountOf(bits[i]);
    if (seen + here < k) {
      seen += here;
      continue;
    }
    for (int bit = 0; bit < 8; ++bit)
      if ((bits[i] >> bit) & 1 && ++seen == k) return 8 * i + bit + 1;
  }
  return -1;
}

UINT CBitString::GetScore(int n) const {
  if (!m_ordered) return 0;
  for (int i = 0; i < m_articles.GetSize(); ++i)
    if (m_articles[i] == static_cast<DWORD>(n)) return m_scores[i];
  return 0;
}

UINT CBitString::GetPosition(int n) const {
  if (!m_ordered) return 0;
  for (int i = 0; i < m_articles.GetSize(); ++i)
    if (m_articles[i] == static_cast<DWORD>(n)) return m_positions[i];
  return 0;
}

int CBitString::IndexOf(int n) const {
  if (!Test(n)) return -1;
  if (m_ordered) {
    for (int i = 0; i < m_articles.GetSize(); ++i)
      if (m_articles[i] == static_cast<DWORD>(n)) return i;
    return -1;
  }
  const BYTE* bits = m_bits.GetData();
  const int byte = (n - 1) >> 3;
  int rank = 0;
  for (int i = 0; i < byte; ++i) rank += CountOf(bits[i]);
  return rank + CountOf(static_cast<BYTE>(bits[byte] & ((1u << ((n - 1) & 7)) - 1)));
}

int CBitString::NextSet(int n) const {
  if (n <= 0 || n > m_bitCount) return -1;
  const BYTE* bits = m_bits.GetData();
  const int bytes = ByteCount();
  int byte = (n - 1) >> 3;
  unsigned value = bits[byte] & (0xFFu << ((n - 1) & 7)) & 0xFFu;
  while (value == 0) {
    if (++byte >= bytes) return -1;
    value = bits[byte];
  }
  int bit = 0;
  while (!((value >> bit) & 1)) ++bit;
  const int article = 8 * byte + bit + 1;
  return article <= m_bitCount ? article : -1;
}

CBitString& CBitString::Combine(const CBitString& other, Operation operation) {
  if (other.m_bitCount == 0 || m_bitCount == 0) return *this;
  const int shared = m_bitCount < other.m_bitCount ? m_bitCount : other.m_bitCount;
  BYTE* bits = m_bits.GetData();
  const BYTE* theirs = other.m_bits.GetData();
  auto combine = [operation](BYTE a, BYTE b) -> BYTE {
    switch (operation) {
      case Operation::And: return static_cast<BYTE>(a & b);
      case Operation::Or: return static_cast<BYTE>(a | b);
      default: return static_cast<BYTE>(a ^ b);
    }
  };
  const int wholeBytes = shared >> 3;
  for (int i = 0; i < wholeBytes; ++i) bits[i] = combine(bits[i], theirs[i]);
  // The byte both sets share only in part: combine the shared articles, keep
  // this set's others (and take none of the other set's past this set's end).
  if (const int partBits = shared & 7) {
    const BYTE mask = static_cast<BYTE>((1u << partBits) - 1);
    const BYTE mine = bits[wholeBytes];
    bits[wholeBytes] = static_cast<BYTE>((mine & ~mask) | (combine(mine, theirs[wholeBytes]) & mask));
  }
  Recount();
  PruneOrdered();
  return *this;
}

CBitString& CBitString::And(const CBitString& other) { return Combine(other, Operation::And); }
CBitString& CBitString::Or(const CBitString& other) { return Combine(other, Operation::Or); }
CBitString& CBitString::Xor(const CBitString& other) { return Combine(other, Operation::Xor); }

void CBitString::PruneOrdered() {
  for (int i = m_articles.GetSize() - 1; i >= 0; --i) {
    if (Test(static_cast<int>(m_articles[i]))) continue;
    m_articles.RemoveAt(i);
    m_scores.RemoveAt(i);
    m_positions.RemoveAt(i);
  }
}

CBitString CBitString::Not() const {
  CBitString result(m_bitCount, FALSE);
  const BYTE* bits = m_bits.GetData();
  BYTE* out = result.m_bits.GetData();
  for (int i = 0, bytes = ByteCount(); i < bytes; ++i) out[i] = static_cast<BYTE>(~bits[i]);
  result.ClearPastEnd();
  result.Recount();
  return result;
}

void CBitString::Partition(CDWordArray& members, CDWordArray& others) const {
  members.RemoveAll();
  others.RemoveAll();
  for (int article = 1; article <= m_bitCount; ++article) (Test(article) ? members : others).Add(article);
}

CBitString CBitString::Merge(const CBitString& updates, const CBitString& mainArticles) const {
  CBitString result(mainArticles.m_bitCount, m_ordered);
  if (m_ordered) {
    // Main entry e is the e-th main article, update entry u the u-th other one.
    CDWordArray mainOf, updateOf;
    mainArticles.Partition(mainOf, updateOf);
    const int mainCount = m_articles.GetSize();
    const int updateCount = updates.m_articles.GetSize();
    int i = 0, j = 0;
    for (;;) {
      // Ranked entries whose bit was cleared since are no longer members.
      while (i < mainCount && !Test(static_cast<int>(m_articles[i]))) ++i;
      while (j < updateCount && !updates.Test(static_cast<int>(updates.m_articles[j]))) ++j;
      if (i >= mainCount && j >= updateCount) break;
      const bool takeUpdate = i >= mainCount || (j < updateCount && m_scores[i] < updates.m_scores[j]);
      const CBitString& from = takeUpdate ? updates : *this;
      const CDWordArray& numbering = takeUpdate ? updateOf : mainOf;
      const int at = takeUpdate ? j++ : i++;
      const DWORD entry = from.m_articles[at];
      if (entry >= 1 && entry <= static_cast<DWORD>(numbering.GetSize()))
        result.SetBit(static_cast<int>(numbering[static_cast<int>(entry) - 1]), TRUE, TRUE, from.m_scores[at],
                      from.m_positions[at]);
    }
    return result;
  }
  // Unordered: each article takes the next bit of its database's stream; a
  // stream that ends early gives clear bits.
  int mainNext = 1, updateNext = 1;
  BYTE* out = result.m_bits.GetData();
  for (int article = 1; article <= result.m_bitCount; ++article) {
    const bool member = mainArticles.Test(article) ? Test(mainNext++) : updates.Test(updateNext++);
    if (member) out[(article - 1) >> 3] |= static_cast<BYTE>(1u << ((article - 1) & 7));
  }
  result.Recount();
  return result;
}

BOOL CBitString::Write(ContentFile file) const {
  BYTE count[4] = {static_cast<BYTE>(m_bitCount), static_cast<BYTE>(m_bitCount >> 8),
                   static_cast<BYTE>(m_bitCount >> 16), static_cast<BYTE>(m_bitCount >> 24)};
  if (!ContentWrite(file, count, sizeof count)) return FALSE;
  if (m_bitCount == 0) {
    const BYTE empty = 0;  // the form always has (N >> 3) + 1 bytes
    return ContentWrite(file, &empty, 1) ? TRUE : FALSE;
  }
  return ContentWrite(file, m_bits.GetData(), static_cast<u32>(ByteCount())) ? TRUE : FALSE;
}

BOOL CBitString::Read(ContentFile file) {
  Resize(0);
  BYTE header[4];
  if (!ContentReadExact(file, header, sizeof header)) return FALSE;
  const std::int64_t count = ContentU32(header);
  const std::int64_t bytes = (count >> 3) + 1;
  // The count must fit a set and the file must hold its bytes: a damaged
  // count never makes a huge allocation.
  if (count > MaxBitCount || ContentRemaining(file) < bytes) return FALSE;
  Resize(static_cast<int>(count));
  if (count == 0) {
    BYTE empty;
    return ContentReadExact(file, &empty, 1) ? TRUE : FALSE;
  }
  if (!ContentReadExact(file, m_bits.GetData(), static_cast<u32>(bytes))) {
    Resize(0);
    return FALSE;
  }
  ClearPastEnd();  // stray bits past the count are not members
  Recount();
  return TRUE;
}
