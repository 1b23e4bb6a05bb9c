// The updater's FTP session driven by an untrusted server and an unlucky
// machine: the input is a script of events in the order the dialog's message
// loop would see them: control replies of any text and split, data
// connections with any chunks, socket codes, timers, a cancel, and what the
// machine answers (connects, writes, extracts, verifies, copies, whether a
// data connection comes from another host). Every
// script must end without a bad read, a crash or a state machine that posts
// itself for ever.
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string>

#include "../queued_host.h"
#include "update_session.h"

namespace {

using namespace refresh;

struct Script {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  bool More() const { return at < size; }
  std::uint8_t Byte() { return at < size ? data[at++] : 0; }
  std::string Chunk() {
    const std::size_t length = std::min<std::size_t>(Byte(), size - at);
    std::string chunk(reinterpret_cast<const char*>(data + at), length);
    at += length;
    return chunk;
  }
};

class World final : public QueuedHost {
 public:
  std::uint8_t flags = 0xFF;  // connects, sends, listens, temp folder, download opens, writes, picture, verified
  unsigned extractor = 33, restart = 33;
  int dateCheck = 2, readerPolls = 0, strangers = 0;
  bool reinstall = false, tempDir = false, copies = true;
  unsigned long long room = ~0ULL;  // what the disk can take

  bool Flag(int bit) const { return (flags >> bit) & 1; }
  void SetStatus(const std::string&) override {}
  void SetProgress(long) override {}
  void SetProgressRange(long) override {}
  void LogLine(const std::string&, int) override {}
  void SeriousError(const std::string&) override {}
  bool AskReinstall() override { return reinstall; }
  void Quit() override {}
  void StartTimer(int, unsigned) override {}
  void StopTimer(int) override {}
  bool ConnectControl(const std::string&, int) override { return Flag(0); }
  int ControlError() override { return 10061; }
  bool SendControl(const std::string&) override { return Flag(1); }
  void CloseControl() override {}
  bool LocalAddress(std::string& text) override {
    text = "127,0,0,1";
    return true;
  }
  bool OpenListener(int) override { return Flag(2); }
  bool AcceptData(std::string& stranger) override {
    if (strangers <= 0) return true;
    --strangers;
    stranger = "127.0.0.2";
    return false;
  }
  void CloseData() override {}
  void CloseListener() override {}
  bool CreateTempDir() override { return tempDir = Flag(3); }
  bool TempDirCreated() override { return tempDir; }
  void RemoveTempDir() override { tempDir = false; }
  bool OpenDownload(const std::string&) override { return Flag(4); }
  bool WriteDownload(const std::string&) override { return Flag(5); }
  void CloseDownload() override {}
  unsigned RunExtractor(const std::string&) override { return extractor; }
  bool ExtractionFinished() override { return true; }
  bool ChangeBackground(const std::string&) override { return Flag(6); }
  int CheckUpdateDate() override { return dateCheck; }
  bool VerifyExtractedFiles() override { return Flag(7); }
  unsigned long long FreeDiskSpace() override { return room; }
  void CloseMainProgram() override {}
  bool MainProgramRunning() override { return readerPolls-- > 0; }
  void DeleteDownloads() override {}
  bool CopyUpdateFiles(unsigned long& error) override {
    error = copies ? 0 : 5;
    return copies;
  }
  void StoreUpdateDate() override {}
  unsigned RestartMainProgram() override { return restart; }
};

// Runs what the session posted to itself, as the message loop would. A
// session that keeps posting without anything arriving would hang the
// program.
void Pump(World& world, UpdateSession& session) {
  if (!world.Pump(session, 10000)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Script script{data, size};
  World world;
  UpdateSession session(world, UpdateServer{"127.0.0.1", 2121}, 5600);
  for (int event = 0; event < 400 && script.More(); ++event) {
    switch (script.Byte() % 8) {
      case 0:  // a reply on the control connection
        world.controlChunks.push_back(script.Chunk());
        session.OnControlSocket(CWINSOCK_DONE_READING, 1);
        break;
      case 1: {  // a data connection that carries chunks and closes
        session.OnListenerSocket(CWINSOCK_READY_TO_ACCEPT_CONNECTION);
        session.OnDataSocket(CWINSOCK_YOU_ARE_CONNECTED);
        for (int chunks = script.Byte() % 4; chunks > 0; --chunks) {
          world.dataChunks.push_back(script.Chunk());
          session.OnDataSocket(CWINSOCK_DONE_READING);
        }
        session.OnDataSocket(CWINSOCK_LOST_CONNECTION);
        break;
      }
      case 2: session.OnTimer(script.Byte() % 13); break;
      case 3: session.OnControlSocket(script.Byte() % 10, script.Byte()); break;
      case 4: session.OnDataSocket(script.Byte() % 10); break;
      case 5: session.OnListenerSocket(script.Byte() % 10); break;
      case 6: session.Cancel(); break;
      default:  // what the machine answers from now on
        world.flags = script.Byte();
        world.extractor = script.Byte();
        world.dateCheck = script.Byte() % 4;
        world.readerPolls = script.Byte() % 3;
        world.strangers = script.Byte() % 3;  // connections from other hosts before the server's
        world.reinstall = world.flags & 1;
        world.copies = (world.flags & 2) != 0;
        world.restart = world.extractor ^ 0x20;
        world.room = (world.flags & 4) != 0 ? ~0ULL : world.extractor;
        break;
    }
    Pump(world, session);
  }
  return 0;
}
