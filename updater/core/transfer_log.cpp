#include "transfer_log.h"

namespace refresh {

namespace {

const std::string kSlashes = std::string(56, '/') + "\n\n";

}  // namespace

std::string FormatLogLine(std::string_view text, int level, long milliseconds) {
  if (level < 0) level = 0;
  const std::string tail = " - " + std::to_string(milliseconds) + "\n";
  std::string line(static_cast<std::size_t>(level), '\t');
  const std::size_t room = MaxLogLine - tail.size() > line.size() ? MaxLogLine - tail.size() - line.size() : 0;
  line.append(text.substr(0, room));
  line.append(tail);
  return line;
}

std::string LogHeader(const std::tm& localTime) {
  char when[128];
  if (std::strftime(when, sizeof when, "%A, %B %d, %Y - %H:%M:%S", &localTime) == 0) when[0] = '\0';
  return "\n" + kSlashes + "\t" + when + "\n" + kSlashes + kSlashes;
}

bool TransferLog::Open(const char* path, std::time_t now) {
  Close();
  file_ = std::fopen(path, "wb");
  if (file_ == nullptr) return false;
  const std::tm* local = std::localtime(&now);
  Write(LogHeader(local != nullptr ? *local : std::tm{}));
  static const char* const kLegend[] = {"Server response", "main control proc", "timer timeoout",
                                        "control socket",  "server socket",     "datasocket"};
  for (int level = 1; level <= 6; ++level) Line(kLegend[level - 1], level, 0);
  return true;
}

void TransferLog::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

void TransferLog::Line(std::string_view text, int level, long milliseconds) {
  if (file_ != nullptr) Write(FormatLogLine(text, level, milliseconds));
}

void TransferLog::Write(const std::string& text) {
  // Each line reaches the disk at once, so the log tells how far a run came.
  std::fwrite(text.data(), 1, text.size(), file_);
  std::fflush(file_);
}

}  // namespace refresh
