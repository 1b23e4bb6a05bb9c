#include <gtest/gtest.h>

#include "re_charclass.h"

namespace {

TEST(CharClasses, KindsShareOneTableOrNone) {
  const u32* table = ReCharClassTable(1);
  ASSERT_NE(table, nullptr);
  for (u8 kind : {3, 5, 9, 14, 16, 17}) EXPECT_EQ(ReCharClassTable(kind), table) << int(kind);
  for (u8 kind : {0, 2, 4, 15, 18, 19, 255}) EXPECT_EQ(ReCharClassTable(kind), nullptr) << int(kind);
}

TEST(CharClasses, AccentedLettersCarryCaseAndAccent) {
  const u32* t = ReCharClassTable(1);
  EXPECT_TRUE(t[159] & ReClassUpper);
  EXPECT_TRUE(t[159] & ReClassAcute);
  EXPECT_TRUE(t[255] & ReClassLower);
  EXPECT_TRUE(t[255] & ReClassAcute);
  EXPECT_TRUE(t[233] & ReClassVowel);     // e acute
  EXPECT_TRUE(t[232] & ReClassLetterEI);  // e grave
  EXPECT_TRUE(t[226] & ReClassCircumflex);
  EXPECT_TRUE(t[246] & ReClassDiaeresis);
  EXPECT_FALSE(t['b'] & ReClassVowel);
  EXPECT_EQ(t['h'] & (ReClassH | ReClassLower), ReClassH | ReClassLower);
}

TEST(CharClasses, UnusedBitsAndUnclassifiedBytes) {
  const u32* t = ReCharClassTable(1);
  const u32 never = 0xFu | (1u << 15) | (1u << 16);
  for (int value = 0; value < 256; ++value) EXPECT_EQ(t[value] & never, 0u) << value;
  for (int value : {153, 156, 160, 165, 181, 182}) EXPECT_EQ(t[value], 0u) << value;
  EXPECT_TRUE(t[0] & ReClassSeparator);
  EXPECT_TRUE(t[' '] & ReClassSpace);
  EXPECT_TRUE(t['$'] & ReClassCurrency);
}

}  // namespace
