// The updater's window: layout, painting of the status and the progress bar,
// the fatal-error path, Cancel and the log.
#include "updater_dlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "ui_harness.h"
#include "updater_fixture.h"
#include "updater_ids.h"

namespace {

using namespace refresh;

// A dialog whose network and downloads succeed without a server, so the
// session can be put into a download by hand.
class COfflineDlg : public CUpdaterDlg {
 public:
  COfflineDlg() : CUpdaterDlg(UpdateServer{"127.0.0.1", 1}) {}
  bool OpenListener(int) override { return true; }
  bool LocalAddress(std::string& text) override {
    text = "127,0,0,1";
    return true;
  }
  bool SendControl(const std::string&) override { return true; }
};

class UpdaterWindow : public ::testing::Test {
 protected:
  // Creates the window without starting the session.
  void Open(CUpdaterDlg& dialog) {
    ASSERT_TRUE(dialog.Create(IDD_UPDATER));
    dialog.KillTimer(TimerStartSession);
    dialog.ShowWindow(SW_SHOW);
    ui::PumpUntilIdle();
  }
  void TearDown() override {
    ui::PumpUntilIdle();
    ui::TakeQuitCount();
  }
  WorkingDir work;
  CFakeReader reader;
  ui::MessageBoxAnswers boxes;
};

int CountIf(const ui::Picture& picture, const CRect& area, bool (*test)(COLORREF)) {
  int count = 0;
  for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, picture.height); ++y) {
    for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, picture.width); ++x) {
      if (test(picture.At(x, y))) ++count;
    }
  }
  return count;
}

bool IsGreen(COLORREF c) { return GetGValue(c) > GetRValue(c) + 60 && GetGValue(c) > GetBValue(c) + 60; }
bool IsYellow(COLORREF c) { return c == RGB(255, 255, 0); }

TEST_F(UpdaterWindow, LayoutFollowsTheBackgroundEvenWhenTheButtonFallsOutside) {
  COfflineDlg dialog;
  Open(dialog);
  CRect client;
  dialog.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 400);  // the picture of the resources
  EXPECT_EQ(client.Height(), 260);

  work.dir.Write("narrow.bmp", PlainBitmap(200, 100, 0, 0, 0x80));
  ASSERT_TRUE(dialog.SetBackgroundBitmap(work.File("narrow.bmp").c_str()));
  dialog.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 200);
  EXPECT_EQ(client.Height(), 100);
  EXPECT_EQ(dialog.ProgressRect(), CRect(-19, 74, 219, 92));
  EXPECT_EQ(dialog.StatusRect(), CRect(-19, 52, 219, 72));
  CRect button;
  dialog.CancelButton().GetWindowRect(&button);
  dialog.ScreenToClient(&button);
  EXPECT_EQ(button, CRect(225, 66, 285, 92));  // c + 125, outside the client area
  EXPECT_TRUE(boxes.boxes().empty());
  dialog.DestroyWindow();
}

TEST_F(UpdaterWindow, ADownloadOfUnknownSizeShowsItsStatusButNoBar) {
  COfflineDlg dialog;
  Open(dialog);
  work.dir.Write("plain.bmp", PlainBitmap(400, 200, 0, 0, 0x80));
  ASSERT_TRUE(dialog.SetBackgroundBitmap(work.File("plain.bmp").c_str()));
  dialog.SetProgressRange(10);
  dialog.SetProgress(5);
  dialog.SetStatus("5 of 10 bytes received.");
  dialog.UpdateWindow();
  ui::Picture known = ui::Capture(dialog.m_hWnd);
  EXPECT_GT(CountIf(known, dialog.ProgressRect(), IsGreen), 500);
  EXPECT_GT(CountIf(known, dialog.StatusRect(), IsYellow), 20);

  // Listings without sizes, then the first download.
  dialog.Session().OnMainControl(XFER_LISTUPDATES_RESPONSE);
  dialog.Session().OnMainControl(XFER_SEND_GETIMAGE);
  ASSERT_TRUE(dialog.Session().DownloadSizeUnknown());
  dialog.SetStatus("3 bytes received.");
  dialog.Invalidate(FALSE);
  dialog.UpdateWindow();
  ui::Picture unknown = ui::Capture(dialog.m_hWnd);
  EXPECT_EQ(CountIf(unknown, dialog.ProgressRect(), IsGreen), 0);
  EXPECT_EQ(unknown.Count(dialog.ProgressRect(), RGB(0, 0, 0x80)), dialog.ProgressRect().Width() * 18);
  EXPECT_GT(CountIf(unknown, dialog.StatusRect(), IsYellow), 20);
  EXPECT_EQ(work.TemporaryDirs().size(), 1u);

  // Cancel ends the download and removes the temporary directory.
  dialog.SendMessage(WM_COMMAND, IDCANCEL);
  EXPECT_FALSE(dialog.Session().Writing());
  EXPECT_TRUE(work.TemporaryDirs().empty());
  dialog.DestroyWindow();
  const std::string log = ReadWholeFile(work.File("Xferlog.txt"));
  // The log closes with the cancel: nothing after it.
  const std::size_t cancel = log.find("Someone canceled out of the application. - ");
  ASSERT_NE(cancel, std::string::npos);
  EXPECT_EQ(log.find('\n', cancel), log.size() - 1);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(UpdaterWindow, OnlyTheFirstFatalErrorIsShown) {
  COfflineDlg dialog;
  Open(dialog);
  dialog.SeriousError("first");
  dialog.SeriousError("second");
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, "first");
  EXPECT_EQ(boxes.boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  ui::PumpUntilIdle();
  EXPECT_EQ(ui::TakeQuitCount(), 1);
  EXPECT_TRUE(dialog.Session().Stopped());
  dialog.DestroyWindow();
  const std::string log = ReadWholeFile(work.File("Xferlog.txt"));
  EXPECT_NE(log.find("SeriousError - "), std::string::npos);
  EXPECT_NE(log.find("first - "), std::string::npos);
  EXPECT_EQ(log.find("second"), std::string::npos);
}

TEST_F(UpdaterWindow, ACorruptPictureIsAFatalError) {
  COfflineDlg dialog;
  Open(dialog);
  std::string picture = PlainBitmap(64, 64, 0, 0, 0);
  picture.resize(picture.size() - 10);
  work.dir.Write("cut.bmp", picture);
  EXPECT_FALSE(dialog.SetBackgroundBitmap(work.File("cut.bmp").c_str()));
  EXPECT_FALSE(dialog.SetBackgroundBitmap(work.File("missing.bmp").c_str()));
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, CorruptPictureMessage);
  CRect client;
  dialog.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 400);  // the old picture stays
  dialog.DestroyWindow();
}

TEST_F(UpdaterWindow, ALogThatCannotBeCreatedLeavesTheProgramRunning) {
  ASSERT_TRUE(::CreateDirectoryA(work.File("Xferlog.txt").c_str(), nullptr));
  COfflineDlg dialog;
  EXPECT_FALSE(TransferLogFile().IsOpen());
  Open(dialog);
  dialog.LogLine("nothing to write to", LogGeneral);
  dialog.SetStatus("Connected");
  dialog.UpdateWindow();
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_TRUE(::IsWindow(dialog.m_hWnd));
  dialog.DestroyWindow();
}

// The lines of the transfer log, each without its " - <ms>" ending.
std::vector<std::string> LogLines(const std::string& log) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < log.size();) {
    std::size_t end = log.find('\n', at);
    if (end == std::string::npos) end = log.size();
    std::string line = log.substr(at, end - at);
    const std::size_t tail = line.rfind(" - ");
    if (tail != std::string::npos && line.find_first_not_of("0123456789", tail + 3) == std::string::npos)
      line.resize(tail);
    lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The log tells of each leftover of an earlier run, and of the run's own
// directory when it cannot go: which it is and why it stays.
TEST_F(UpdaterWindow, TheLogSaysWhichTemporaryDirectoryStaysAndWhy) {
  ASSERT_TRUE(::CreateDirectoryA(work.File("trnB.tmp").c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryA(work.File("trnB.tmp\\folder").c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryA(work.File("trnC.tmp").c_str(), nullptr));
  work.dir.Write("trnC.tmp\\UPDATES.EXE", "half an archive");
  std::string own;
  {
    COfflineDlg dialog;
    ASSERT_TRUE(dialog.CreateTempDir());
    own = dialog.Files().TempDir();
    ASSERT_TRUE(::CreateDirectoryA(work.File(own + "\\folder").c_str(), nullptr));
    dialog.RemoveTempDir();
  }
  const std::string log = ReadWholeFile(work.File("Xferlog.txt"));
  const auto lines = LogLines(log);
  EXPECT_TRUE(HasLine(lines, "Left trnB.tmp as it is: it holds a folder")) << log;
  EXPECT_TRUE(HasLine(lines, "Removed trnC.tmp, left by an earlier run"));
  EXPECT_TRUE(HasLine(lines, "Left " + own + " as it is: it holds a folder")) << own;
  EXPECT_TRUE(work.Exists("trnB.tmp\\folder"));
  EXPECT_FALSE(work.Exists("trnC.tmp"));
  EXPECT_TRUE(boxes.boxes().empty());
}

// The host's own figure of the room left for this user on the disk of a
// folder, in bytes, or nothing when it cannot be had.
std::optional<unsigned long long> HostFreeSpace(const std::string& folder) {
  std::string output;
  if (RunOnHost("stat -f -c '%a %S' '" + UnixPath(folder) + "'", &output) != 0) return std::nullopt;
  unsigned long long blocks = 0, size = 0;
  if (std::sscanf(output.c_str(), "%llu %llu", &blocks, &size) != 2) return std::nullopt;
  return blocks * size;
}

// The room the updater holds a listed size against is that of the working
// directory's disk, as the host counts it; other programs write meanwhile,
// so the figure must fall between the host's before and after, give or take
// a little. A folder on a disk of another size (the host's memory disk, where
// there is one) tells the working directory's disk from any other.
TEST_F(UpdaterWindow, TheFreeSpaceIsThatOfTheWorkingDirectorysDisk) {
  constexpr unsigned long long kSlack = 256ULL << 20;
  COfflineDlg dialog;
  const auto expectTheRoomOf = [&](const std::string& folder) {
    const auto before = HostFreeSpace(folder);
    const unsigned long long room = dialog.FreeDiskSpace();
    const auto after = HostFreeSpace(folder);
    ASSERT_TRUE(before && after) << "the host cannot tell the free space of " << folder;
    const unsigned long long least = std::min(*before, *after);
    EXPECT_GE(room, least > kSlack ? least - kSlack : 0) << folder;
    EXPECT_LE(room, std::max(*before, *after) + kSlack) << folder;
  };
  expectTheRoomOf(work.dir.path());

  const std::string other = "Z:\\dev\\shm\\veldrix-free-space-" + std::to_string(::GetCurrentProcessId());
  const auto here = HostFreeSpace(work.dir.path());
  if (!::CreateDirectoryA(other.c_str(), nullptr)) return;
  const auto there = HostFreeSpace(other);
  if (here && there && (*here > *there ? *here - *there : *there - *here) > 8 * kSlack) {
    EXPECT_TRUE(::SetCurrentDirectoryA(other.c_str()));
    expectTheRoomOf(other);
    ::SetCurrentDirectoryA(work.dir.path().c_str());
  }
  ::RemoveDirectoryA(other.c_str());
}

}  // namespace
