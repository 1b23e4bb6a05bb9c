#include "content/settings_reg_file.h"

#include <stdexcept>

namespace builder {
namespace {

constexpr const char* ProductKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenmoor & Tesk\\The Marovan & World Encyclopedia\\1998";
constexpr std::size_t WorkingDirectoryLimit = 119;  // the reader keeps 120 bytes with the NUL

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::string WindowsDirectory(const std::string& directory) {
  std::string path = directory;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

std::string BuildSettingsRegFile(const std::string& workingDirectory) {
  const std::string directory = WindowsDirectory(workingDirectory);
  if (directory.size() > WorkingDirectoryLimit)
    throw std::runtime_error("working directory longer than 119 characters: " + directory);
  std::string text = "REGEDIT4\r\n\r\n";
  text += "[" + std::string(ProductKey) + "]\r\n\r\n";
  text += "[" + std::string(ProductKey) + "\\Installation Options]\r\n";
  text += Quoted("WorkingDirectory") + "=" + Quoted(directory) + "\r\n\r\n";
  for (int database = 1; database <= 6; ++database)
    text += "[" + std::string(ProductKey) + "\\Database " + std::to_string(database) + "]\r\n\r\n";
  return text;
}

}  // namespace builder
