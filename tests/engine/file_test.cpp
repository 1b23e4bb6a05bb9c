#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "packed.h"
#include "re_file.h"
#include "temp_dir.h"

namespace {

TEST(FileLayer, JoinsDirectoryAndNameWithNothingBetween) {
  TempDir dir;
  dir.Write("data.bin", "abc");
  ReFileHandle file = ReNoFile;
  ASSERT_EQ(ReOpenDataFile(dir.path().c_str(), "data.bin", &file, ReModeRead), ReDone);
  ASSERT_EQ(ReCloseDataFile(file), ReDone);

  // Without its trailing separator the directory runs into the name.
  std::string bare = dir.path();
  bare.pop_back();
  EXPECT_EQ(ReOpenDataFile(bare.c_str(), "data.bin", &file, ReModeRead), ReFail);
  EXPECT_EQ(file, ReNoFile);
}

TEST(FileLayer, ModesOpenExistingOrCreate) {
  TempDir dir;
  ReFileHandle file = ReNoFile;
  EXPECT_EQ(ReOpenDataFile(dir.path().c_str(), "none", &file, ReModeRead), ReFail);
  EXPECT_EQ(ReOpenDataFile(dir.path().c_str(), "none", &file, ReModeReadWrite), ReFail);
  // Modes 6 and 7 fall back to creating the file.
  ASSERT_EQ(ReOpenDataFile(dir.path().c_str(), "six", &file, ReModeWrite6), ReDone);
  ReCloseDataFile(file);
  EXPECT_EQ(ReOpenDataFile(dir.path().c_str(), "six", &file, ReModeRead), ReDone);
  ReCloseDataFile(file);
  // Any other mode creates or empties.
  dir.Write("full", "0123456789");
  ASSERT_EQ(ReOpenDataFile(dir.path().c_str(), "full", &file, 1), ReDone);
  ReCloseDataFile(file);
  ASSERT_EQ(ReOpenDataFile(dir.path().c_str(), "full", &file, ReModeRead), ReDone);
  char buffer[4];
  u32 got = 99;
  EXPECT_EQ(ReReadBytes(file, 4, buffer, &got), ReDone);
  EXPECT_EQ(got, 0u);
  ReCloseDataFile(file);
}

TEST(FileLayer, SharedModeOnAHeldFileIsAWarning) {
  TempDir dir;
  dir.Write("held", "x");
  ReFileHandle holder = ReNoFile;
  ASSERT_EQ(ReOpenDataFile(dir.path().c_str(), "held", &holder, ReModeSharedReadWrite), ReDone);
  ReFileHandle second = ReNoFile;
  EXPECT_EQ(ReOpenDataFile(dir.path().c_str(), "held", &second, ReModeSharedRead), ReWarn);
  EXPECT_EQ(ReOpenDataFile(dir.path().c_str(), "missing", &second, ReModeSharedRead), ReFail);
  ReCloseDataFile(holder);
  ASSERT_EQ(ReOpenDataFile(dir.path().c_str(), "held", &second, ReModeSharedRead), ReDone);
  ReCloseDataFile(second);
}

TEST(FileLayer, SeekChecksOriginBeforeThePlatform) {
  TempDir dir;
  dir.Write("f", "0123456789");
  ReFileHandle file = ReNoFile;
  ASSERT_EQ(ReOpenDataFile(dir.path().c_str(), "f", &file, ReModeRead), ReDone);
  EXPECT_EQ(ReSeekDataFile(file, 0, 3), ReFail);
  EXPECT_EQ(ReSeekDataFile(file, 4, 0), ReDone);
  char c = 0;
  u32 got = 0;
  EXPECT_EQ(ReReadExact(file, 1, &c, &got), ReDone);
  EXPECT_EQ(c, '4');
  EXPECT_EQ(ReSeekDataFile(file, -2, 2), ReDone);
  EXPECT_EQ(ReReadExact(file, 1, &c, &got), ReDone);
  EXPECT_EQ(c, '8');
  ReCloseDataFile(file);
}

TEST(FileLayer, ShortReadIsNotAnErrorAndLargeReadsTakeTheLargePath) {
  TempDir dir;
  std::string bytes(70000, 'q');
  dir.Write("big", bytes);
  ReFileHandle file = ReNoFile;
  ASSERT_EQ(ReOpenDataFile(dir.path().c_str(), "big", &file, ReModeRead), ReDone);
  std::vector<char> buffer(80000);
  const u32 before = ReLargeReadCount();
  u32 got = 0;
  EXPECT_EQ(ReReadBytes(file, 65534, buffer.data(), &got), ReDone);
  EXPECT_EQ(ReLargeReadCount(), before);
  EXPECT_EQ(ReSeekDataFile(file, 0, 0), ReDone);
  EXPECT_EQ(ReReadBytes(file, 65535, buffer.data(), &got), ReDone);
  EXPECT_EQ(got, 65535u);
  EXPECT_EQ(ReLargeReadCount(), before + 1);
  EXPECT_EQ(ReSeekDataFile(file, 0, 0), ReDone);
  EXPECT_EQ(ReReadExact(file, 80000, buffer.data(), &got), ReDone);
  EXPECT_EQ(got, 70000u);
  ReCloseDataFile(file);
}

TEST(CodeReader, SetUpResetAndResize) {
  ReCodeReader* reader = nullptr;
  ASSERT_EQ(ReSetUpCodeReader(&reader, 7, 12, 256, 4096, 1000), ReDone);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(PACKED(reader->flags), ReReaderInline);
  EXPECT_EQ(PACKED(reader->buffer), reinterpret_cast<u8*>(reader + 1));
  EXPECT_EQ(PACKED(reader->bufferEnd), PACKED(reader->buffer) + 256);
  EXPECT_EQ(PACKED(reader->mask), 0x0FFF);
  EXPECT_EQ(PACKED(reader->base), 4096u);
  EXPECT_EQ(PACKED(reader->length), 1000u);
  EXPECT_EQ(PACKED(reader->file), 7);

  reader->position = 55;
  reader->bitState = 9;
  ReCodeReader* same = ReResetCodeReader(reader, 8, 10, 256, 0, 5);
  ASSERT_EQ(same, reader);
  EXPECT_EQ(PACKED(same->position), 0u);
  EXPECT_EQ(PACKED(same->bitState), 0u);
  EXPECT_EQ(PACKED(same->mask), 0x03FF);

  ReCodeReader* bigger = ReResetCodeReader(same, 8, 10, 512, 0, 5);
  ASSERT_NE(bigger, nullptr);
  EXPECT_EQ(PACKED(bigger->bufferSize), 512);
  EXPECT_EQ(PACKED(bigger->buffer), reinterpret_cast<u8*>(bigger + 1));
  EXPECT_EQ(PACKED(bigger->bufferEnd), PACKED(bigger->buffer) + 512);
  ReFreeCodeReader(bigger);
}

TEST(CodeReader, FailedAllocationGivesNoneAndLeaksNothing) {
  const i32 live = ReLiveAllocations();
  ReCodeReader* reader = nullptr;
  ReFailAllocationAfter(1);
  EXPECT_EQ(ReSetUpCodeReader(&reader, 1, 8, 256, 0, 0), ReFail);
  EXPECT_EQ(reader, nullptr);
  ASSERT_EQ(ReSetUpCodeReader(&reader, 1, 8, 256, 0, 0), ReDone);
  ReFailAllocationAfter(1);
  EXPECT_EQ(ReResetCodeReader(reader, 1, 8, 128, 0, 0), nullptr);
  EXPECT_EQ(ReLiveAllocations(), live);
  ReFailAllocationAfter(0);
}

TEST(StringHelpers, CopyAndCompareByteForByte) {
  char buffer[16] = {};
  EXPECT_EQ(ReCopyString(buffer, "Word"), ReDone);
  EXPECT_STREQ(buffer, "Word");
  EXPECT_EQ(ReCompareString("Word", "Word"), ReDone);
  EXPECT_EQ(ReCompareString("Word", "word"), ReFail);
  EXPECT_EQ(ReCompareString("Word", "Words"), ReFail);
}

}  // namespace
