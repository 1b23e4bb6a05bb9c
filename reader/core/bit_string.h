// CBitString: the one set type of the reader for articles and database
// entries (filters, folders, search hits, categories, selections). Article n
// (1-based) is bit (n - 1) & 7 of byte (n - 1) >> 3, least significant bit
// first; the bytes number (bit count >> 3) + 1 and bits at or past the bit
// count are always 0. A set can also carry an ordered list of members with a
// score and a hit position each (ranked results).
//
// File form (.bit, and inside Bookmark.dat folder records): u32 bit count N,
// little-endian, then the (N >> 3) + 1 bytes.
#pragma once

#include "afx_core.h"
#include "core/content_file.h"

class CBitString : public CObject {
 public:
  CBitString() = default;
  CBitString(int bitCount, int ordered);
  CBitString(const CBitString& other);
  CBitString& operator=(const CBitString& other);

  int GetBitCount() const { return m_bitCount; }
  int GetSetCount() const { return m_setCount; }
  BOOL IsOrdered() const { return m_ordered; }

  // Reallocates for bitCount bits, all clear, unordered.
  void Resize(int bitCount);
  // All bits clear, unordered; keeps the size.
  void Clear();

  // Sets or clears article n; returns the old bit (1 when it was set). Article
  // numbers outside 1..bit count change nothing and return 0. Setting a clear
  // bit with `ordered` appends (n, score, position) to the ordered list; a
  // repeated article keeps its first score. Clearing does not prune the list.
  int SetBit(int n, BOOL set = TRUE, BOOL ordered = FALSE, UINT score = 0, UINT position = 0);
  // Sets or clears articles n .. n + length - 1; the set becomes unordered.
  // Returns the new set count; 1 for length 0 and 0 for a range outside the
  // set, both without change.
  int SetRange(int n, int length, BOOL set);

  int Test(int n) const;
  // Article of the k-th member (1-based): in rank order when ordered; -1 when
  // k is 0 or beyond, or the ranked article was cleared since.
  int GetAt(int k) const;
  // Score / hit position stored for article n; 0 when unordered or absent.
  UINT GetScore(int n) const;
  UINT GetPosition(int n) const;
  // 0-based rank of article n; -1 when it is not a member.
  int IndexOf(int n) const;
  // Smallest member at or after article n; -1 when none or n is outside.
  int NextSet(int n) const;

  // In place over the articles both sets hold: articles past the other set's
  // bit count stay as they are. Members that drop out leave the ordered list.
  CBitString& And(const CBitString& other);
  CBitString& Or(const CBitString& other);
  CBitString& Xor(const CBitString& other);
  // The complement, unordered.
  CBitString Not() const;

  // Joins this set (numbered by main-database entry) with `updates` (numbered
  // by update-database entry) into one set over all articles. `mainArticles`
  // is the partition: article i comes from the main database when it is a
  // member, else from the update database, both in ascending order. Ordered
  // sets merge their ranked lists by score (ties to the main database).
  CBitString Merge(const CBitString& updates, const CBitString& mainArticles) const;

  // The file form. Write: TRUE when every byte was written. Read replaces the
  // contents; FALSE (and an empty set) when the file is short or its count
  // cannot be right.
  BOOL Write(ContentFile file) const;
  BOOL Read(ContentFile file);

 private:
  enum class Operation { And, Or, Xor };
  CBitString& Combine(const CBitString& other, Operation operation);
  int ByteCount() const { return m_bitCount > 0 ? (m_bitCount >> 3) + 1 : 0; }
  void Recount();
  void ClearPastEnd();
  void PruneOrdered();
  // Members in ascending order (1-based articles), and the articles that are not.
  void Partition(CDWordArray& members, CDWordArray& others) const;

  CByteArray m_bits;
  CDWordArray m_articles;
  CUIntArray m_scores;
  CUIntArray m_positions;
  BOOL m_ordered = FALSE;
  int m_bitCount = 0;
  int m_setCount = 0;
};
