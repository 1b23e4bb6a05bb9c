// Loads ZORLRE32.DLL as the reader does and resolves every export by ordinal.
#include <gtest/gtest.h>
#include <windows.h>

#include "re_types.h"

namespace {

class OrdinalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = LoadLibraryA("ZORLRE32.DLL");
    ASSERT_NE(library_, nullptr) << "ZORLRE32.DLL did not load";
  }
  void TearDown() override {
    if (library_) FreeLibrary(library_);
  }
  FARPROC Ordinal(int ordinal) { return GetProcAddress(library_, MAKEINTRESOURCEA(ordinal)); }
  template <class Function>
  Function Entry(int ordinal) {
    // Through void* first: a FARPROC is cast to the export's real signature.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(Ordinal(ordinal)));
  }

  HMODULE library_ = nullptr;
};

TEST_F(OrdinalTest, EveryOrdinalFromTwoToTwentyOneResolves) {
  for (int ordinal = 2; ordinal <= 21; ++ordinal) EXPECT_NE(Ordinal(ordinal), nullptr) << ordinal;
  EXPECT_EQ(Ordinal(1), nullptr);
  EXPECT_EQ(Ordinal(22), nullptr);
}

TEST_F(OrdinalTest, ExportsAreNotNamed) { EXPECT_EQ(GetProcAddress(library_, "REapp"), nullptr); }

TEST_F(OrdinalTest, CallsThroughOrdinalsReachTheEngine) {
  using BlockCall = u32(__stdcall*)(void*, u16, u16);
  using MemoryCall = u32(__stdcall*)(void**, void*, u16, u16, u16);
  // A null block fails at once, whatever the function.
  for (int ordinal : {2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13})
    EXPECT_EQ(Entry<BlockCall>(ordinal)(nullptr, 100, 470), 8u) << ordinal;
  void* block = nullptr;
  EXPECT_EQ(Entry<MemoryCall>(9)(&block, nullptr, 515, 470, 0), 8u);
  EXPECT_EQ(block, nullptr);
}

}  // namespace
