// Installing an update's files: copied first beside the files they replace,
// then all moved into their places, so that a failure at any step leaves
// every file of the working directory whole, the old one or the new one, and
// a failed copy leaves the working directory as it was.
#include "update_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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

// The files verify.txt listed are checked again when they are copied: a
// directory someone removed since, or a file that went from it, is a copy
// that fails, never an update installed with nothing (or half) in it.
class InstallVerifiedFiles : public InstallFiles {
 protected:
  void SetUp() override {
    InstallFiles::SetUp();
    UpdateContent listed;
    listed.files.clear();
    for (const std::string& name : kNames) listed.files.push_back({name, ReadWholeFile(files.PathOf(name.c_str()))});
    Write(files.PathOf("verify.txt"), listed.Listing());
    ASSERT_TRUE(files.VerifyExtractedFiles());
    files.DeleteDownloads();
  }
  void ExpectNothingInstalled() {
    for (const std::string& name : kNames) EXPECT_TRUE(IsOld(name)) << name;
    EXPECT_TRUE(NoCopyLeft());
  }
};

TEST_F(InstallVerifiedFiles, TheVerifiedFilesAreInstalled) {
  ASSERT_TRUE(files.CopyUpdateFiles(Target(), error));
  for (const std::string& name : kNames) EXPECT_TRUE(IsNew(name)) << name;
}

TEST_F(InstallVerifiedFiles, ADirectoryThatWasRemovedIsACopyThatFails) {
  // What a second updater's cleanup once did to a running one's directory.
  ASSERT_EQ(CUpdateFiles().RemoveLeftTempDirs().size(), 1u);
  ASSERT_FALSE(work.Exists(files.TempDir()));
  EXPECT_FALSE(files.CopyUpdateFiles(Target(), error));
  EXPECT_NE(error, 0u);
  ExpectNothingInstalled();
}

// Without a verification to go by, a directory that is gone is no empty update.
TEST_F(InstallFiles, ADirectoryThatWasRemovedIsACopyThatFails) {
  ASSERT_EQ(CUpdateFiles().RemoveLeftTempDirs().size(), 1u);
  EXPECT_FALSE(files.CopyUpdateFiles(Target(), error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  for (const std::string& name : kNames) EXPECT_TRUE(IsOld(name)) << name;
}

TEST_F(InstallVerifiedFiles, AVerifiedFileThatWentIsACopyThatFails) {
  ASSERT_TRUE(::DeleteFileA(files.PathOf("B.DAT").c_str()));
  EXPECT_FALSE(files.CopyUpdateFiles(Target(), error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  ExpectNothingInstalled();
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

// What the cleanup did: the names it removed, and why it left each other one.
std::vector<std::string> Removed(const std::vector<CUpdateFiles::LeftTempDir>& left) {
  std::vector<std::string> names;
  for (const auto& dir : left) {
    if (dir.keptBecause == nullptr) names.push_back(dir.name);
  }
  std::sort(names.begin(), names.end());
  return names;
}
std::map<std::string, std::string> Kept(const std::vector<CUpdateFiles::LeftTempDir>& left) {
  std::map<std::string, std::string> kept;
  for (const auto& dir : left) {
    if (dir.keptBecause != nullptr) kept[dir.name] = dir.keptBecause;
  }
  return kept;
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
  const auto cleaned = files.RemoveLeftTempDirs();
  EXPECT_EQ(Removed(cleaned), left);
  EXPECT_EQ(Kept(cleaned), (std::map<std::string, std::string>{{"trnB.tmp", "it holds a folder"}}));
  for (const std::string& name : left) EXPECT_FALSE(work.Exists(name)) << name;
  for (const std::string& name : others) EXPECT_TRUE(work.Exists(name)) << name;
  EXPECT_EQ(ReadWholeFile(work.File("trnotes\\mine.txt")), "notes");
  EXPECT_EQ(ReadWholeFile(work.File("trnB.tmp\\kept.txt")), "kept");
  EXPECT_EQ(ReadWholeFile(work.File("trn2.tmp")), "a file of that name");

  // The directory of the run itself is not a leftover.
  ASSERT_TRUE(files.CreateTempDir());
  for (const auto& dir : files.RemoveLeftTempDirs()) EXPECT_NE(dir.name, files.TempDir());
  EXPECT_TRUE(work.Exists(files.TempDir()));
  files.RemoveTempDir();
}

// A link of the host, made by its own "ln" (Wine's CreateSymbolicLink makes
// none). Wine shows a directory link as a reparse point, as Windows shows a
// directory link or junction, but a file link as the file it leads to.
// Removed again when it goes.
class HostLink {
 public:
  HostLink(const std::string& link, const std::string& target) : link_(UnixPath(link)) {
    RunOnHost("ln -s '" + UnixPath(target) + "' '" + link_ + "'");
  }
  ~HostLink() { RunOnHost("rm -f '" + link_ + "'"); }
  HostLink(const HostLink&) = delete;
  HostLink& operator=(const HostLink&) = delete;
  static bool IsLink(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  }
  // Whether the host still has the link, wherever it leads.
  bool Exists() const { return RunOnHost("test -L '" + link_ + "'") == 0; }

 private:
  std::string link_;
};

// A link or junction named like a leftover leads out of the working
// directory; neither it nor a directory that holds one is the updater's to
// empty. Each is left whole, and the cleanup says why.
TEST(LeftTempDirs, ALinkOrADirectoryHoldingOneIsLeftWhole) {
  WorkingDir work;
  ASSERT_TRUE(::CreateDirectoryA(work.File("Notes").c_str(), nullptr));
  Write(work.File("Notes\\a.txt"), "someone's a");
  Write(work.File("Notes\\b.txt"), "someone's b");
  ASSERT_TRUE(::CreateDirectoryA(work.File("trnC.tmp").c_str(), nullptr));
  Write(work.File("trnC.tmp\\UPDATES.EXE"), "the updater's");
  ASSERT_TRUE(::CreateDirectoryA(work.File("trnE.tmp").c_str(), nullptr));
  Write(work.File("trnE.tmp\\UPDATES.EXE"), "the updater's");
  HostLink link(work.File("trn5.tmp"), work.File("Notes"));
  HostLink inside(work.File("trnC.tmp\\Notes"), work.File("Notes"));
  HostLink fileInside(work.File("trnE.tmp\\b.txt"), work.File("Notes\\b.txt"));
  for (const char* name : {"trn5.tmp", "trnC.tmp\\Notes"})
    ASSERT_TRUE(HostLink::IsLink(work.File(name))) << name << ": no link could be made";
  ASSERT_EQ(ReadWholeFile(work.File("trnE.tmp\\b.txt")), "someone's b") << "no file link could be made";

  const auto cleaned = CUpdateFiles().RemoveLeftTempDirs();
  EXPECT_TRUE(Removed(cleaned).empty());
  EXPECT_EQ(Kept(cleaned),
            (std::map<std::string, std::string>{
                {"trn5.tmp", "it is a link"}, {"trnC.tmp", "it holds a link"}, {"trnE.tmp", "it holds a link"}}));
  EXPECT_EQ(ReadWholeFile(work.File("Notes\\a.txt")), "someone's a");
  EXPECT_EQ(ReadWholeFile(work.File("Notes\\b.txt")), "someone's b");
  for (const char* name : {"trnC.tmp\\UPDATES.EXE", "trnE.tmp\\UPDATES.EXE"})
    EXPECT_EQ(ReadWholeFile(work.File(name)), "the updater's") << name;
  for (const char* name : {"trn5.tmp", "trnC.tmp\\Notes"}) EXPECT_TRUE(HostLink::IsLink(work.File(name))) << name;

  // The run's own directory, put back as a link while the run went on.
  CUpdateFiles files;
  ASSERT_TRUE(files.CreateTempDir());
  ASSERT_TRUE(::RemoveDirectoryA(work.File(files.TempDir()).c_str()));
  EXPECT_STREQ(files.RemoveTempDir(), "it cannot be read");  // gone, which is no link
  HostLink own(work.File(files.TempDir()), work.File("Notes"));
  ASSERT_TRUE(HostLink::IsLink(work.File(files.TempDir()))) << "no link could be made";
  const char* keptBecause = files.RemoveTempDir();
  EXPECT_STREQ(keptBecause, "it is a link");
  EXPECT_EQ(ReadWholeFile(work.File("Notes\\a.txt")), "someone's a");
  EXPECT_EQ(ReadWholeFile(work.File("Notes\\b.txt")), "someone's b");
}

// A file made read-only, writable again when this goes: a file left
// read-only would keep the scratch directory from going.
class ReadOnly {
 public:
  explicit ReadOnly(const std::string& path) : path_(path) {
    made_ = ::SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY) != FALSE;
  }
  ~ReadOnly() { ::SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL); }
  ReadOnly(const ReadOnly&) = delete;
  ReadOnly& operator=(const ReadOnly&) = delete;
  bool Made() const { return made_; }

 private:
  std::string path_;
  bool made_;
};

// An archive may give a file the read-only flag: the updater's own files go
// all the same, the directory with them. A file another program holds open
// cannot go, and then none does.
TEST(LeftTempDirs, ADirectoryGoesWholeOrStaysWhole) {
  WorkingDir work;
  for (const char* name : {"trn6.tmp", "trn7.tmp"}) ASSERT_TRUE(::CreateDirectoryA(work.File(name).c_str(), nullptr));
  for (const char* name : {"trn6.tmp\\a.txt", "trn6.tmp\\b.txt", "trn7.tmp\\a.txt", "trn7.tmp\\b.txt"})
    Write(work.File(name), name);
  const ReadOnly flagged(work.File("trn6.tmp\\b.txt"));
  ASSERT_TRUE(flagged.Made());
  HANDLE held = ::CreateFileA(work.File("trn7.tmp\\b.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  const auto cleaned = CUpdateFiles().RemoveLeftTempDirs();
  ::CloseHandle(held);
  EXPECT_EQ(Removed(cleaned), std::vector<std::string>{"trn6.tmp"});
  EXPECT_EQ(Kept(cleaned), (std::map<std::string, std::string>{{"trn7.tmp", "a file in it is in use"}}));
  EXPECT_FALSE(work.Exists("trn6.tmp"));
  EXPECT_EQ(ReadWholeFile(work.File("trn7.tmp\\a.txt")), "trn7.tmp\\a.txt");
  EXPECT_EQ(ReadWholeFile(work.File("trn7.tmp\\b.txt")), "trn7.tmp\\b.txt");

  // The run's own directory, too.
  CUpdateFiles files;
  ASSERT_TRUE(files.CreateTempDir());
  Write(files.PathOf("update.bmp"), "picture");
  const ReadOnly picture(files.PathOf("update.bmp"));
  ASSERT_TRUE(picture.Made());
  EXPECT_EQ(files.RemoveTempDir(), nullptr);
  EXPECT_FALSE(work.Exists(files.TempDir()));
}

bool IsReadOnly(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

constexpr const char* kUnlisted = "it holds an entry that cannot be listed (a link that leads nowhere?)";

// A link of the host that leads nowhere is not listed at all: no check sees
// it, and the directory will not go once emptied. Every file is then put
// back as it was, its read-only flag with it.
TEST(LeftTempDirs, ADirectoryHoldingALinkThatLeadsNowhereIsLeftWhole) {
  WorkingDir work;
  ASSERT_TRUE(::CreateDirectoryA(work.File("trnD.tmp").c_str(), nullptr));
  for (const char* name : {"trnD.tmp\\a.txt", "trnD.tmp\\b.txt", "trnD.tmp\\c.txt"}) Write(work.File(name), name);
  const ReadOnly flagged(work.File("trnD.tmp\\b.txt"));
  ASSERT_TRUE(flagged.Made());
  HostLink nowhere(work.File("trnD.tmp\\gone"), work.File("nothing"));
  ASSERT_TRUE(nowhere.Exists()) << "no link could be made";

  const auto cleaned = CUpdateFiles().RemoveLeftTempDirs();
  EXPECT_TRUE(Removed(cleaned).empty());
  EXPECT_EQ(Kept(cleaned), (std::map<std::string, std::string>{{"trnD.tmp", kUnlisted}}));
  for (const char* name : {"trnD.tmp\\a.txt", "trnD.tmp\\b.txt", "trnD.tmp\\c.txt"})
    EXPECT_EQ(ReadWholeFile(work.File(name)), name) << name;
  EXPECT_TRUE(IsReadOnly(work.File("trnD.tmp\\b.txt")));
  EXPECT_TRUE(nowhere.Exists());
  EXPECT_EQ(work.TemporaryDirs(), std::vector<std::string>{"trnD.tmp"});  // no folder it was emptied into

  // The run's own directory, too.
  CUpdateFiles files;
  ASSERT_TRUE(files.CreateTempDir());
  Write(files.PathOf("update.bmp"), "picture");
  HostLink ownNowhere(files.PathOf("gone"), work.File("nothing"));
  ASSERT_TRUE(ownNowhere.Exists()) << "no link could be made";
  EXPECT_STREQ(files.RemoveTempDir(), kUnlisted);
  EXPECT_EQ(ReadWholeFile(files.PathOf("update.bmp")), "picture");
}

// A file the host lets be read but not deleted: made immutable (which takes
// root and a filesystem with the flag) or, where it cannot be, in a folder
// without write permission (which holds back anyone but root). Deletable
// again when undone, and when this goes.
class Undeletable {
 public:
  Undeletable(const std::string& folder, const std::string& file) {
    const std::string path = UnixPath(file);
    if (RunOnHost("chattr +i '" + path + "'") == 0) {
      undo_ = "chattr -i '" + path + "'";
      return;
    }
    const std::string dir = UnixPath(folder);
    if (RunOnHost("chmod a-w '" + dir + "'") != 0) return;
    undo_ = "chmod u+w '" + dir + "'";
    HANDLE probe = ::CreateFileA((folder + "\\probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return;
    ::CloseHandle(probe);  // root writes in it all the same
    Undo();
  }
  ~Undeletable() { Undo(); }
  Undeletable(const Undeletable&) = delete;
  Undeletable& operator=(const Undeletable&) = delete;
  bool Made() const { return !undo_.empty(); }
  void Undo() {
    if (!undo_.empty() && RunOnHost(undo_) != 0) ADD_FAILURE() << undo_ << " failed";
    undo_.clear();
  }

 private:
  std::string undo_;
};

// A file that opens for its delete and still cannot go: the directory stays
// as it was, whichever of its files were moved out before that one.
TEST(LeftTempDirs, AFileThatCanBeReadButNotDeletedKeepsItsDirectoryWhole) {
  WorkingDir work;
  ASSERT_TRUE(::CreateDirectoryA(work.File("trnF.tmp").c_str(), nullptr));
  const std::vector<std::string> names = {"trnF.tmp\\a.txt", "trnF.tmp\\b.txt", "trnF.tmp\\c.txt", "trnF.tmp\\d.txt",
                                          "trnF.tmp\\e.txt"};
  for (const std::string& name : names) Write(work.File(name), name);
  const ReadOnly flagged(work.File("trnF.tmp\\b.txt"));
  ASSERT_TRUE(flagged.Made());
  Undeletable stuck(work.File("trnF.tmp"), work.File("trnF.tmp\\c.txt"));
  if (!stuck.Made())
    GTEST_SKIP() << "no file here can be made undeletable: chattr +i failed (not root, or a filesystem without the "
                    "flag) and a folder without write permission does not hold back root";
  ASSERT_EQ(ReadWholeFile(work.File("trnF.tmp\\c.txt")), "trnF.tmp\\c.txt");

  const auto cleaned = CUpdateFiles().RemoveLeftTempDirs();
  EXPECT_TRUE(Removed(cleaned).empty());
  EXPECT_EQ(Kept(cleaned), (std::map<std::string, std::string>{{"trnF.tmp", "a file in it cannot be deleted"}}));
  for (const std::string& name : names) EXPECT_EQ(ReadWholeFile(work.File(name)), name) << name;
  EXPECT_TRUE(IsReadOnly(work.File("trnF.tmp\\b.txt")));
  EXPECT_EQ(work.TemporaryDirs(), std::vector<std::string>{"trnF.tmp"});

  // Deletable again, it goes whole.
  stuck.Undo();
  EXPECT_EQ(Removed(CUpdateFiles().RemoveLeftTempDirs()), std::vector<std::string>{"trnF.tmp"});
}

}  // namespace
