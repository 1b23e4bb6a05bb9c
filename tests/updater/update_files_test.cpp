// Installing an update's files: copied first beside the files they replace,
// then all moved into their places, so that a failure at any step leaves
// every file of the working directory whole, the old one or the new one, and
// a failed copy leaves the working directory as it was.
#include "update_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "updater_fixture.h"

namespace {

const std::vector<std::string> kNames = {"A.DAT", "B.DAT", "C.DAT"};

void Write(const std::string& path, const std::string& text) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ASSERT_TRUE(::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
  ::CloseHandle(file);
}

class InstallFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(files.CreateTempDir());
    for (const std::string& name : kNames) {
      Write(work.File(name), "old " + name);
      Write(files.PathOf(name.c_str()), "new " + name + std::string(5000, 'n'));
    }
  }
  void TearDown() override { files.RemoveTempDir(); }
  std::string Target() const { return work.dir.path().substr(0, work.dir.path().size() - 1); }
  bool IsNew(const std::string& name) const {
    return ReadWholeFile(work.File(name)) == "new " + name + std::string(5000, 'n');
  }
  bool IsOld(const std::string& name) const { return ReadWholeFile(work.File(name)) == "old " + name; }
  bool NoCopyLeft() const {
    for (const std::string& name : kNames)
      if (work.Exists(name + ".upd")) return false;
    return true;
  }

  WorkingDir work;
  CUpdateFiles files;
  DWORD error = 0;
};

TEST_F(InstallFiles, EveryFileTakesItsPlace) {
  ASSERT_TRUE(files.CopyUpdateFiles(Target(), error));
  for (const std::string& name : kNames) EXPECT_TRUE(IsNew(name)) << name;
  EXPECT_TRUE(NoCopyLeft());
}

TEST_F(InstallFiles, ACopyThatFailsAtAnyFileLeavesEveryOldFile) {
  for (std::size_t k = 0; k < kNames.size(); ++k) {
    // The copy of file k cannot be made (a folder stands in its way).
    const std::string blocker = work.File(kNames[k] + ".upd");
    ASSERT_TRUE(::CreateDirectoryA(blocker.c_str(), nullptr));
    EXPECT_FALSE(files.CopyUpdateFiles(Target(), error)) << k;
    EXPECT_NE(error, 0u);
    ::RemoveDirectoryA(blocker.c_str());
    for (const std::string& name : kNames) EXPECT_TRUE(IsOld(name)) << "copy " << k << " failed: " << name;
    EXPECT_TRUE(NoCopyLeft()) << k;
  }
}

TEST_F(InstallFiles, AMoveThatFailsAtAnyFileLeavesEveryFileWhole) {
  for (std::size_t k = 0; k < kNames.size(); ++k) {
    for (const std::string& name : kNames) Write(work.File(name), "old " + name);
    // File k is held open by someone who lets nobody replace it.
    HANDLE held = ::CreateFileA(work.File(kNames[k]).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.CopyUpdateFiles(Target(), error)) << k;
    ::CloseHandle(held);
    EXPECT_TRUE(IsOld(kNames[k])) << k;
    for (const std::string& name : kNames) EXPECT_TRUE(IsOld(name) || IsNew(name)) << "move " << k << ": " << name;
    EXPECT_TRUE(NoCopyLeft()) << k;
  }
}

// A run that was ended while it worked (killed, or the machine switched off)
// leaves its temporary directory in the working directory; a later run
// removes it, and nothing that merely looks like it.
TEST(LeftTempDirs, OnlyTheUpdatersOwnAreRemoved) {
  WorkingDir work;
  const std::vector<std::string> left = {"TRN00FF.TMP", "trn1.tmp", "trnA3F.tmp"};
  for (const std::string& name : left) ASSERT_TRUE(::CreateDirectoryA(work.File(name).c_str(), nullptr));
  Write(work.File("trn1.tmp\\UPDATES.EXE"), "part of an archive");
  Write(work.File("trnA3F.tmp\\REN2F200.DAT"), "extracted");
  Write(work.File("trnA3F.tmp\\verify.txt"), "listing");
  // Not the updater's: other names, a file, and a directory holding a folder.
  const std::vector<std::string> others = {"trnotes",      "trn12345.tmp", "trnXY.tmp",
                                           "trn7.tmp.old", "xtrn1.tmp",    "trnB.tmp"};
  for (const std::string& name : others) ASSERT_TRUE(::CreateDirectoryA(work.File(name).c_str(), nullptr));
  Write(work.File("trnotes\\mine.txt"), "notes");
  ASSERT_TRUE(::CreateDirectoryA(work.File("trnB.tmp\\folder").c_str(), nullptr));
  Write(work.File("trnB.tmp\\kept.txt"), "kept");
  Write(work.File("trn2.tmp"), "a file of that name");

  CUpdateFiles files;
  std::vector<std::string> removed = files.RemoveLeftTempDirs();
  std::sort(removed.begin(), removed.end());
  EXPECT_EQ(removed, left);
  for (const std::string& name : left) EXPECT_FALSE(work.Exists(name)) << name;
  for (const std::string& name : others) EXPECT_TRUE(work.Exists(name)) << name;
  EXPECT_EQ(ReadWholeFile(work.File("trnotes\\mine.txt")), "notes");
  EXPECT_EQ(ReadWholeFile(work.File("trnB.tmp\\kept.txt")), "kept");
  EXPECT_EQ(ReadWholeFile(work.File("trn2.tmp")), "a file of that name");

  // The directory of the run itself is not a leftover.
  ASSERT_TRUE(files.CreateTempDir());
  EXPECT_TRUE(files.RemoveLeftTempDirs().empty());
  EXPECT_TRUE(work.Exists(files.TempDir()));
  files.RemoveTempDir();
}

}  // namespace
