// What the updater's program tests share: the reader's window as the updater
// sees it, a scratch working directory made current, the settings key, the
// helper programs, and pictures and archives to serve.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework.h"
#include "temp_dir.h"

// A hidden top-level window titled like the reader's main window. It records
// the updater's close request and closes.
class CFakeReader : public CWnd {
 public:
  CFakeReader();
  ~CFakeReader() override;
  int m_nCloseRequests = 0;

 protected:
  LRESULT OnUpdateClose(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// A scratch directory that is the current directory while the object lives,
// with the stand-ins for the command interpreter ("command.pif") and the
// reader ("VELDRX32.EXE").
class WorkingDir {
 public:
  WorkingDir();
  ~WorkingDir();
  TempDir dir;
  std::string File(const std::string& name) const { return dir.File(name); }
  bool Exists(const std::string& name) const;
  // Names in it that start with "trn" (temporary directories of the updater).
  std::vector<std::string> TemporaryDirs() const;

 private:
  std::string previous_;
};

// The program file of a helper built next to the test program.
std::string HelperPath(const char* name);
std::string ReadWholeFile(const std::string& path);

// A path of this machine where the host Wine runs on has it, or the path
// itself where there is no such host.
std::string UnixPath(const std::string& path);
// Runs a command line in the host's shell (paths in it single-quoted) and
// waits for it to end: its exit status, or -1 when it did not start or end
// within ten seconds. `output`, where given, receives its standard output.
int RunOnHost(const std::string& command, std::string* output = nullptr);

// The settings key the installation makes; removed when the object goes.
class ProductKey {
 public:
  explicit ProductKey(bool create = true);
  ~ProductKey();
  void Set(const char* name, const char* value);
  std::optional<std::string> Get(const char* name) const;
  static bool Exists();
};

// An uncompressed .bmp file of one colour (8 bits a pixel, 256-colour table).
std::string PlainBitmap(int width, int height, unsigned char red, unsigned char green, unsigned char blue);

// A file time (UTC, 100 ns units) for a local date at noon.
unsigned long long LocalNoon(int year, int month, int day);

// The files of an update and the two archives that carry them.
struct UpdateContent {
  std::vector<std::pair<std::string, std::string>> files = {{"REN2F200.DAT", "the encyclopedia, updated"},
                                                            {"UPDATES.DAT", std::string(3000, 'u')}};
  unsigned long long listingTime = LocalNoon(1998, 3, 7);
  // Lengths the listing claims; a file's real length when not named here.
  std::vector<std::pair<std::string, unsigned long>> claimedLengths;
  std::string Listing() const;
  // Writes UPDTBITM.EXE and UPDATES.EXE into the folder (a path ending in a separator).
  void WriteArchives(const std::string& folder) const;
  void WriteArchives(const TempDir& folder) const { WriteArchives(folder.path()); }
};
