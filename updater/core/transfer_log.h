// The transfer log "Xferlog.txt": a header with the start time and the legend
// of levels, then one line per event, indented by its level in tabs (0
// general, 1 server response, 2 main control, 3 timer, 4 control socket, 5
// server socket, 6 data socket) and ending with " - " and the milliseconds
// since the start. A log that cannot be created stays silent; errors while
// writing are swallowed.
#pragma once

#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

namespace refresh {

enum LogLevel {
  LogGeneral = 0,
  LogServerResponse = 1,
  LogMainControl = 2,
  LogTimer = 3,
  LogControlSocket = 4,
  LogServerSocket = 5,
  LogDataSocket = 6,
};

constexpr int MaxLogLine = 512;  // characters, the line feed included

// "<tabs><text> - <ms>\n", the text cut so that the line keeps its end.
std::string FormatLogLine(std::string_view text, int level, long milliseconds);
// A line feed, 56 slashes and two line feeds; a tab, the time as
// "%A, %B %d, %Y - %H:%M:%S" and a line feed; the slashes twice more.
std::string LogHeader(const std::tm& localTime);

class TransferLog {
 public:
  TransferLog() = default;
  ~TransferLog() { Close(); }
  TransferLog(const TransferLog&) = delete;
  TransferLog& operator=(const TransferLog&) = delete;

  // Creates the file (truncating it) and writes the header and the legend.
  // False, and nothing written now or later, when it cannot be created.
  bool Open(const char* path, std::time_t now);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  void Line(std::string_view text, int level, long milliseconds);

 private:
  void Write(const std::string& text);
  std::FILE* file_ = nullptr;
};

}  // namespace refresh
