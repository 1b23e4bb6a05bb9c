// The typed arrays: growth with zero fill, insertion and removal, copies.
#include <gtest/gtest.h>

#include "afx_core.h"

TEST(CoreArrays, AddSetSizeAndZeroFill) {
  CDWordArray values;
  EXPECT_TRUE(values.IsEmpty());
  EXPECT_EQ(values.Add(10), 0);
  EXPECT_EQ(values.Add(20), 1);
  values.SetSize(5);
  ASSERT_EQ(values.GetSize(), 5);
  EXPECT_EQ(values[1], 20u);
  EXPECT_EQ(values[4], 0u);  // new slots are zero
  values.SetSize(1);
  EXPECT_EQ(values.GetUpperBound(), 0);
  values.SetAtGrow(3, 7);
  EXPECT_EQ(values.GetSize(), 4);
  EXPECT_EQ(values.GetAt(2), 0u);
  EXPECT_EQ(values.GetAt(3), 7u);
  values.RemoveAll();
  EXPECT_EQ(values.GetSize(), 0);
}

TEST(CoreArrays, InsertAndRemoveShiftElements) {
  CUIntArray values;
  for (UINT v : {1u, 2u, 3u}) values.Add(v);
  values.InsertAt(1, 9, 2);  // 1 9 9 2 3
  values.InsertAt(5, 4);     // append at the end
  values.InsertAt(8, 5);     // past the end: grows with zeros first
  ASSERT_EQ(values.GetSize(), 9);
  const UINT expected[] = {1, 9, 9, 2, 3, 4, 0, 0, 5};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(values[i], expected[i]) << i;
  values.RemoveAt(1, 2);
  values.RemoveAt(values.GetUpperBound());
  ASSERT_EQ(values.GetSize(), 6);
  EXPECT_EQ(values[0], 1u);
  EXPECT_EQ(values[1], 2u);
  EXPECT_EQ(values[5], 0u);

  CUIntArray more;
  more.Add(100);
  more.Add(200);
  values.InsertAt(1, &more);
  EXPECT_EQ(values[1], 100u);
  EXPECT_EQ(values[2], 200u);
  EXPECT_EQ(values[3], 2u);
  values.InsertAt(0, &values);  // inserting an array into itself
  EXPECT_EQ(values.GetSize(), 16);
  EXPECT_EQ(values[8], 1u);
}

TEST(CoreArrays, ElementsAreWritableByReferenceAndArraysCopy) {
  CWordArray words;
  words.SetSize(3);
  words[0] = 0xFFFF;
  words.ElementAt(2) += 5;
  CWordArray copy;
  copy.Copy(words);
  words[0] = 1;
  EXPECT_EQ(copy[0], 0xFFFF);
  EXPECT_EQ(copy[2], 5);
  EXPECT_EQ(copy.Append(words), 3);
  EXPECT_EQ(copy.GetSize(), 6);
  EXPECT_EQ(copy[3], 1);

  CByteArray bytes;
  bytes.Add(0x80);
  bytes.Add(bytes[0]);  // adding an element of itself
  EXPECT_EQ(bytes.GetData()[1], 0x80);
}

TEST(CoreArrays, StringAndPointerArrays) {
  CStringArray titles;
  titles.Add("All");
  titles.Add(CString("Animals"));
  titles.InsertAt(1, "Art");
  titles.SetSize(4);
  ASSERT_EQ(titles.GetSize(), 4);
  EXPECT_STREQ(titles[0], "All");
  EXPECT_STREQ(titles[1], "Art");
  EXPECT_STREQ(titles[2], "Animals");
  EXPECT_TRUE(titles[3].IsEmpty());
  titles[3] += "Zoo";
  EXPECT_STREQ(titles.GetAt(3), "Zoo");
  titles.RemoveAt(0);
  EXPECT_STREQ(titles[0], "Art");

  CStringArray copy;
  copy.Copy(titles);
  titles[0] = "changed";
  EXPECT_STREQ(copy[0], "Art");

  CObArray objects;
  CPtrArray pointers;
  int marker = 0;
  pointers.Add(&marker);
  objects.SetSize(2);
  EXPECT_EQ(objects[1], nullptr);
  EXPECT_EQ(pointers[0], &marker);
}

TEST(CoreArrays, IndexOutsideTheArrayEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  CDWordArray values;
  values.SetSize(2);
  EXPECT_DEATH(values.GetAt(2), "out of range");
  EXPECT_DEATH(values[-1] = 3, "out of range");
  EXPECT_DEATH(values.RemoveAt(1, 2), "out of range");
  EXPECT_DEATH(values.SetSize(-1), "negative");
}
