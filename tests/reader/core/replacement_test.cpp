// Files the programs write whole: the new file takes the old one's place
// only once complete, so a writer killed or failing at any byte leaves the
// old file or the new one, never a part of either.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/content_file.h"
#include "temp_dir.h"
#include "writer_limit.h"

namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Replacement, TheNewFileReplacesTheOldOnlyWhole) {
  TempDir dir;
  const std::string path = dir.File("saved.txt");
  dir.Write("saved.txt", "the old text");
  ASSERT_TRUE(ContentReplaceFile(path.c_str(), "new", 3));
  EXPECT_EQ(Read(path), "new");
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
  // A file that did not exist before.
  ASSERT_TRUE(ContentReplaceFile(dir.File("fresh.txt").c_str(), "", 0));
  EXPECT_TRUE(std::filesystem::exists(dir.File("fresh.txt")));
}

TEST(Replacement, WhatCannotBeWrittenLeavesTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("saved.txt");
  dir.Write("saved.txt", "the old text");
  // The new file cannot be made beside it (a folder stands in its way).
  std::filesystem::create_directory(path + ".new");
  EXPECT_FALSE(ContentReplaceFile(path.c_str(), "new", 3));
  EXPECT_EQ(Read(path), "the old text");
  std::filesystem::remove(path + ".new");
  // It cannot take the old one's place (the old name is a folder).
  std::filesystem::create_directory(dir.File("folder"));
  EXPECT_FALSE(ContentReplaceFile(dir.File("folder").c_str(), "new", 3));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("folder.new")));
  // Nothing committed: the new file goes, the old stays.
  {
    ContentReplacement replacement(path.c_str());
    ASSERT_TRUE(replacement.IsOpen());
    ASSERT_TRUE(ContentWrite(replacement.File(), "abandoned", 9));
  }
  EXPECT_EQ(Read(path), "the old text");
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

#if !defined(_WIN32)
TEST(Replacement, AWriterStoppedAtAnyByteLeavesTheOldOrTheNewFile) {
  TempDir dir;
  const std::string path = dir.File("saved.txt");
  const std::string old = "the old text, which must survive";
  const std::string fresh(300, 'n');
  const auto save = [&] { return ContentReplaceFile(path.c_str(), fresh.data(), static_cast<u32>(fresh.size())); };
  // Every write failing from each byte on: the old file stays, the new one goes.
  for (std::size_t limit = 0; limit < fresh.size(); ++limit) {
    dir.Write("saved.txt", old);
    bool saved;
    {
      const FileSizeLimit bytes(limit);
      saved = save();
    }
    EXPECT_FALSE(saved) << limit;
    EXPECT_EQ(Read(path), old) << "failed after " << limit << " bytes";
    EXPECT_FALSE(std::filesystem::exists(path + ".new")) << limit;
  }
  // Killed before anything, part way and one byte short: the old file; a
  // partial new file may stay beside it, for the next save to replace.
  for (std::size_t limit : {std::size_t{0}, fresh.size() / 2, fresh.size() - 1}) {
    dir.Write("saved.txt", old);
    EXPECT_EQ(RunWriterKilledAt(limit, save), WriterEnd::Killed) << limit;
    EXPECT_EQ(Read(path), old) << "killed after " << limit << " bytes";
  }
  EXPECT_EQ(RunWriterKilledAt(fresh.size(), save), WriterEnd::Finished);
  EXPECT_EQ(Read(path), fresh);
}
#endif

}  // namespace
