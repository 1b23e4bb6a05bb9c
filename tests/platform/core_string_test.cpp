// CString: construction, concatenation, comparison, parts, search, case,
// trimming, formatting and direct buffer access.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "afx_core.h"

TEST(CoreString, ConstructsFromTextCharactersAndNull) {
  EXPECT_TRUE(CString().IsEmpty());
  EXPECT_TRUE(CString(static_cast<LPCTSTR>(nullptr)).IsEmpty());
  EXPECT_STREQ(CString("abc"), "abc");
  EXPECT_STREQ(CString("abcdef", 3), "abc");
  EXPECT_STREQ(CString('x', 3), "xxx");
  EXPECT_TRUE(CString('x', 0).IsEmpty());

  CString copy = "abc";
  CString other = copy;
  other.SetAt(0, 'X');
  EXPECT_STREQ(copy, "abc");  // copies are independent
  EXPECT_STREQ(other, "Xbc");
}

TEST(CoreString, ConcatenatesAndAssignsIncludingFromItself) {
  CString a = "Marovan";
  CString b = a + " & " + CString("World") + '!';
  EXPECT_STREQ(b, "Marovan & World!");
  EXPECT_STREQ('<' + a, "<Marovan");
  EXPECT_STREQ("The " + a, "The Marovan");
  a += a;
  EXPECT_STREQ(a, "MarovanMarovan");
  a = static_cast<LPCTSTR>(a) + 7;  // assigning a tail of itself
  EXPECT_STREQ(a, "Marovan");
  a = 'q';
  EXPECT_EQ(a.GetLength(), 1);
  a.Empty();
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_STREQ(a, "");
}

TEST(CoreString, ComparesExactlyAndIgnoringAsciiCase) {
  CString word = "Apple";
  EXPECT_TRUE(word == "Apple");
  EXPECT_TRUE("Apple" == word);
  EXPECT_TRUE(word != "apple");
  EXPECT_LT(word.Compare("Banana"), 0);
  EXPECT_EQ(word.CompareNoCase("aPPLE"), 0);
  EXPECT_GT(word.CompareNoCase("APPL"), 0);
  EXPECT_LT(word.CompareNoCase("apples"), 0);
  EXPECT_LT(word.CompareNoCase("b"), 0);
  // Bytes above 0x7F compare unsigned and are not folded.
  EXPECT_LT(CString("e").Compare("\xE9"), 0);
  EXPECT_NE(CString("\xC9").CompareNoCase("\xE9"), 0);
  EXPECT_TRUE(CString("a") < CString("b"));
}

TEST(CoreString, PartsClampOutOfRangeCountsAndPositions) {
  CString text = "encyclopedia";
  EXPECT_STREQ(text.Left(5), "encyc");
  EXPECT_STREQ(text.Left(50), "encyclopedia");
  EXPECT_STREQ(text.Left(-1), "");
  EXPECT_STREQ(text.Right(5), "pedia");
  EXPECT_STREQ(text.Right(99), "encyclopedia");
  EXPECT_STREQ(text.Mid(2), "cyclopedia");
  EXPECT_STREQ(text.Mid(2, 5), "cyclo");
  EXPECT_STREQ(text.Mid(10, 10), "ia");
  EXPECT_STREQ(text.Mid(12), "");
  EXPECT_STREQ(text.Mid(40, 2), "");
  EXPECT_STREQ(text.Mid(-3, 2), "en");
}

TEST(CoreString, FindsCharactersAndTexts) {
  CString text = "a,b;c,d";
  EXPECT_EQ(text.Find(','), 1);
  EXPECT_EQ(text.Find(',', 2), 5);
  EXPECT_EQ(text.Find(',', 6), -1);
  EXPECT_EQ(text.Find(',', 99), -1);
  EXPECT_EQ(text.Find("c,d"), 4);
  EXPECT_EQ(text.Find("", 7), 7);
  EXPECT_EQ(text.Find("x"), -1);
  EXPECT_EQ(text.ReverseFind(','), 5);
  EXPECT_EQ(text.ReverseFind('z'), -1);
  EXPECT_EQ(text.FindOneOf(";x"), 3);
  EXPECT_EQ(text.FindOneOf(""), -1);
}

TEST(CoreString, ChangesCaseAndTrims) {
  CString text = "Crème Brûlée 42";
  text.MakeUpper();
  EXPECT_STREQ(text, "CRèME BRûLéE 42");  // only ASCII letters change
  text.MakeLower();
  EXPECT_STREQ(text, "crème brûlée 42");
  CString padded = " \t\r\nword \r\n";
  padded.TrimLeft();
  EXPECT_STREQ(padded, "word \r\n");
  padded.TrimRight();
  EXPECT_STREQ(padded, "word");
  CString dots = "..x..";
  dots.TrimLeft('.');
  dots.TrimRight('.');
  EXPECT_STREQ(dots, "x");
  CString blank = "   ";
  blank.TrimRight();
  EXPECT_TRUE(blank.IsEmpty());
  CString reversed = "abc";
  reversed.MakeReverse();
  EXPECT_STREQ(reversed, "cba");
}

TEST(CoreString, FormatsLikePrintfAtAnyLength) {
  CString text;
  text.Format("%ld item(s)", 12L);
  EXPECT_STREQ(text, "12 item(s)");
  text.Format("%hu item(s)", static_cast<unsigned short>(65535));
  EXPECT_STREQ(text, "65535 item(s)");
  text.Format("There is no dictionary entry for %s.", "zzz");
  EXPECT_STREQ(text, "There is no dictionary entry for zzz.");
  const CString long_text('y', 5000);
  text.Format("[%s]", static_cast<LPCTSTR>(long_text));
  EXPECT_EQ(text.GetLength(), 5002);
  text.Format("%s", "");
  EXPECT_TRUE(text.IsEmpty());
}

TEST(CoreString, BufferAccessKeepsTextAndSetsLengthOnRelease) {
  CString text = "abc";
  char* buffer = text.GetBuffer(10);
  EXPECT_STREQ(buffer, "abc");
  std::snprintf(buffer, 11, "%s", "0123456789");
  text.ReleaseBuffer();
  EXPECT_STREQ(text, "0123456789");

  buffer = text.GetBuffer(0);  // never shrinks
  buffer[3] = '\0';
  text.ReleaseBuffer();
  EXPECT_EQ(text.GetLength(), 3);

  buffer = text.GetBuffer(8);
  std::memcpy(buffer, "abcdefgh", 8);
  text.ReleaseBuffer(5);
  EXPECT_STREQ(text, "abcde");
  text.GetBuffer(4);
  text.ReleaseBuffer(100);  // longer than the buffer: clamped
  EXPECT_EQ(text.GetLength(), 5);

  buffer = text.GetBufferSetLength(2);
  EXPECT_EQ(text.GetLength(), 2);
  buffer[0] = 'Q';
  text.ReleaseBuffer();
  EXPECT_STREQ(text, "Qb");
}

TEST(CoreString, IndexOutOfRangeEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  CString text = "ab";
  EXPECT_DEATH(text.GetAt(2), "index out of range");
  EXPECT_DEATH(text.SetAt(-1, 'x'), "index out of range");
}
