#include "core/bit_string.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_dir.h"

namespace {

CBitString Members(int bitCount, const std::vector<int>& articles) {
  CBitString set(bitCount, FALSE);
  for (int article : articles) set.SetBit(article);
  return set;
}

std::vector<int> List(const CBitString& set) {
  std::vector<int> articles;
  for (int a = set.NextSet(1); a != -1; a = a < set.GetBitCount() ? set.NextSet(a + 1) : -1) articles.push_back(a);
  return articles;
}

std::string WriteToFile(const TempDir& dir, const CBitString& set) {
  const std::string path = dir.File("set.bit");
  const ContentFile file = ContentCreate(path.c_str());
  EXPECT_TRUE(set.Write(file));
  ContentClose(file);
  return path;
}

BOOL ReadBytes(const TempDir& dir, const std::string& bytes, CBitString& set) {
  const ContentFile file = ContentOpen(dir.Write("in.bit", bytes).c_str());
  const BOOL read = set.Read(file);
  ContentClose(file);
  return read;
}

TEST(BitString, EightBitsTakeTwoBytesAndASixByteFile) {
  TempDir dir;
  CBitString set = Members(8, {1, 8});
  const std::string path = WriteToFile(dir, set);
  CBitString back;
  const ContentFile file = ContentOpen(path.c_str());
  EXPECT_EQ(ContentRemaining(file), 6);
  ASSERT_TRUE(back.Read(file));
  ContentClose(file);
  EXPECT_EQ(back.GetBitCount(), 8);
  EXPECT_EQ(List(back), (std::vector<int>{1, 8}));
  // An empty set still writes its one byte.
  WriteToFile(dir, CBitString());
  EXPECT_EQ(ReadBytes(dir, std::string("\0\0\0\0\0", 5), back), TRUE);
  EXPECT_EQ(back.GetBitCount(), 0);
}

TEST(BitString, ArticleNumbersOutsideTheSetChangeNothing) {
  CBitString set(10, FALSE);
  for (int n : {0, -1, -100, 11}) {
    EXPECT_EQ(set.SetBit(n), 0) << n;
    EXPECT_EQ(set.Test(n), 0) << n;
    EXPECT_EQ(set.IndexOf(n), -1) << n;
    EXPECT_EQ(set.NextSet(n), -1) << n;
    EXPECT_EQ(set.SetRange(n, 1, TRUE), 0) << n;
  }
  EXPECT_EQ(set.GetSetCount(), 0);
  EXPECT_EQ(set.SetBit(10), 0);
  EXPECT_EQ(set.SetBit(10), 1);  // the old bit
  EXPECT_EQ(set.SetBit(10, FALSE), 1);
  EXPECT_EQ(set.GetSetCount(), 0);
}

TEST(BitString, OrderedListKeepsFirstScoreAndSkipsClearedMembers) {
  CBitString set(20, TRUE);
  set.SetBit(7, TRUE, TRUE, 500, 3);
  set.SetBit(2, TRUE, TRUE, 400, 9);
  set.SetBit(7, TRUE, TRUE, 900, 1);  // repeated: keeps 500 and 3
  EXPECT_EQ(set.GetScore(7), 500u);
  EXPECT_EQ(set.GetPosition(7), 3u);
  EXPECT_EQ(set.GetAt(0), -1);
  EXPECT_EQ(set.GetAt(1), 7);
  EXPECT_EQ(set.GetAt(2), 2);
  EXPECT_EQ(set.GetAt(3), -1);
  EXPECT_EQ(set.IndexOf(2), 1);
  set.SetBit(7, FALSE);
  EXPECT_EQ(set.GetAt(1), -1);
  EXPECT_EQ(set.GetScore(5), 0u);
}

TEST(BitString, UnorderedRankWalksAcrossBytes) {
  CBitString set = Members(40, {3, 8, 9, 17, 40});
  EXPECT_EQ(set.GetAt(3), 9);
  EXPECT_EQ(set.GetAt(5), 40);
  EXPECT_EQ(set.GetAt(6), -1);
  EXPECT_EQ(set.IndexOf(17), 3);
  EXPECT_EQ(set.IndexOf(16), -1);
  EXPECT_EQ(set.NextSet(10), 17);
  EXPECT_EQ(set.NextSet(40), 40);
  EXPECT_EQ(Members(40, {3}).NextSet(4), -1);
  EXPECT_EQ(set.GetScore(3), 0u);
}

TEST(BitString, SetRangeEdges) {
  CBitString set(20, FALSE);
  set.SetBit(1, TRUE, TRUE, 5, 5);
  EXPECT_EQ(set.SetRange(3, 0, TRUE), 1);
  EXPECT_EQ(set.SetRange(15, 7, TRUE), 0);  // runs past article 20
  EXPECT_EQ(set.GetSetCount(), 1);
  EXPECT_EQ(set.SetRange(6, 12, TRUE), 13);  // 6..17 spans three bytes, plus article 1
  EXPECT_FALSE(set.IsOrdered());
  EXPECT_EQ(set.GetAt(1), 1);
  EXPECT_EQ(set.SetRange(7, 2, FALSE), 11);
  EXPECT_EQ(List(set), (std::vector<int>{1, 6, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
}

TEST(BitString, OperationsWithShorterAndEmptySets) {
  CBitString set = Members(20, {1, 9, 12, 20});
  set.Or(CBitString());
  EXPECT_EQ(List(set), (std::vector<int>{1, 9, 12, 20}));
  // Articles past the shorter set's length stay, also those in the byte the
  // two sets share in part.
  CBitString shorter = Members(10, {1});
  set.And(shorter);
  EXPECT_EQ(List(set), (std::vector<int>{1, 12, 20}));
  CBitString eight = Members(20, {1, 9, 12});
  eight.And(Members(8, {}));
  EXPECT_EQ(List(eight), (std::vector<int>{9, 12}));
  EXPECT_EQ(eight.GetSetCount(), 2);
}

TEST(BitString, OrAndXorWithALongerSetStayInsideTheBitCount) {
  CBitString longer = Members(16, {2, 11, 12, 16});
  CBitString set = Members(10, {1});
  set.Or(longer);
  EXPECT_EQ(List(set), (std::vector<int>{1, 2}));
  EXPECT_EQ(set.GetSetCount(), 2);
  EXPECT_EQ(set.Not().GetSetCount(), 8);
  set.Xor(longer);
  EXPECT_EQ(List(set), (std::vector<int>{1}));
  EXPECT_EQ(set.GetSetCount(), 1);
}

TEST(BitString, AndPrunesTheOrderedList) {
  CBitString hits(10, TRUE);
  hits.SetBit(4, TRUE, TRUE, 9, 0);
  hits.SetBit(2, TRUE, TRUE, 8, 0);
  hits.SetBit(6, TRUE, TRUE, 7, 0);
  hits.And(Members(10, {2, 6}));
  EXPECT_EQ(hits.GetAt(1), 2);
  EXPECT_EQ(hits.GetAt(2), 6);
  EXPECT_EQ(hits.GetAt(3), -1);
  EXPECT_EQ(hits.IndexOf(6), 1);
}

TEST(BitString, ComplementOfTenBits) {
  CBitString none(10, FALSE);
  CBitString all = none.Not();
  EXPECT_EQ(all.GetSetCount(), 10);
  EXPECT_EQ(all.GetAt(10), 10);
  EXPECT_EQ(all.GetAt(11), -1);
  EXPECT_EQ(all.Test(11), 0);
  EXPECT_EQ(CBitString().Not().GetBitCount(), 0);
}

TEST(BitString, CopyAndAssignment) {
  CBitString ranked(12, TRUE);
  ranked.SetBit(5, TRUE, TRUE, 3, 4);
  CBitString copy(ranked);
  ranked.SetBit(6);
  EXPECT_EQ(List(copy), (std::vector<int>{5}));
  EXPECT_EQ(copy.GetPosition(5), 4u);
  const CBitString& self = copy;
  copy = self;
  EXPECT_EQ(copy.GetSetCount(), 1);
  copy = CBitString();
  EXPECT_EQ(copy.GetBitCount(), 0);
  EXPECT_EQ(copy.GetAt(1), -1);
}

// Articles 1..8; the update database holds articles 5 and 6.
CBitString MainArticles() { return Members(8, {5, 6}).Not(); }

TEST(BitString, UnorderedMergeFollowsThePartition) {
  const CBitString merged = Members(6, {1, 4, 5, 6}).Merge(Members(2, {2}), MainArticles());
  EXPECT_EQ(List(merged), (std::vector<int>{1, 4, 6, 7, 8}));
  EXPECT_EQ(merged.GetSetCount(), 5);
  // Shorter streams give clear bits, and bits past the consumed part do not count.
  const CBitString shortMain = Members(3, {2}).Merge(Members(20, {1, 2, 15}), MainArticles());
  EXPECT_EQ(List(shortMain), (std::vector<int>{2, 5, 6}));
  EXPECT_EQ(shortMain.GetSetCount(), 3);
}

TEST(BitString, OrderedMergeTakesTheBetterScoreAndTiesGoToTheMainDatabase) {
  CBitString main(6, TRUE);
  main.SetBit(2, TRUE, TRUE, 90, 1);
  main.SetBit(6, TRUE, TRUE, 50, 2);
  main.SetBit(3, TRUE, TRUE, 40, 3);
  main.SetBit(3, FALSE);  // cleared after ranking: not carried
  CBitString updates(2, TRUE);
  updates.SetBit(2, TRUE, TRUE, 50, 7);
  const CBitString merged = main.Merge(updates, MainArticles());
  ASSERT_TRUE(merged.IsOrdered());
  EXPECT_EQ(merged.GetAt(1), 2);
  EXPECT_EQ(merged.GetAt(2), 8);  // main entry 6, tie with the update entry
  EXPECT_EQ(merged.GetAt(3), 6);  // update entry 2
  EXPECT_EQ(merged.GetAt(4), -1);
  EXPECT_EQ(merged.GetPosition(6), 7u);
}

TEST(BitString, ReadRejectsShortAndDamagedFiles) {
  TempDir dir;
  CBitString set = Members(10, {1});
  EXPECT_FALSE(ReadBytes(dir, std::string("\x10\0\0", 3), set));
  EXPECT_EQ(set.GetBitCount(), 0);
  EXPECT_FALSE(ReadBytes(dir, std::string("\x10\0\0\0\xFF\xFF", 6), set));  // 16 bits need 3 bytes
  // A huge or negative count with a few bytes behind it allocates nothing.
  EXPECT_FALSE(ReadBytes(dir, std::string("\xF0\xFF\xFF\x7F\x01\x02", 6), set));
  EXPECT_FALSE(ReadBytes(dir, std::string("\x00\x00\x00\x80\x01\x02", 6), set));
  // Stray bits past the count are no members.
  ASSERT_TRUE(ReadBytes(dir, std::string("\x0A\0\0\0\xFF\xFF", 6), set));
  EXPECT_EQ(set.GetSetCount(), 10);
  EXPECT_EQ(set.Not().GetSetCount(), 0);
}

}  // namespace
