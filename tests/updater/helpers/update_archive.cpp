#include "update_archive.h"

#include <cstring>

namespace update_archive {

namespace {

void Put(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t Get(const std::string& in, std::size_t at, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i)
    value |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
  return value;
}

}  // namespace

bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
  return name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

std::string BuildUpdateArchive(const std::string& extractor, const std::vector<File>& files) {
  std::string out = extractor;
  const std::size_t payload = out.size();
  for (const File& file : files) {
    Put(out, file.name.size(), 2);
    out += file.name;
    Put(out, file.written, 8);
    Put(out, file.data.size(), 4);
    out += file.data;
  }
  Put(out, payload, 4);
  Put(out, files.size(), 4);
  out.append(Magic, sizeof Magic);
  return out;
}

std::optional<std::vector<File>> ReadUpdateArchive(const std::string& archive) {
  if (archive.size() < TrailerSize) return std::nullopt;
  const std::size_t trailer = archive.size() - TrailerSize;
  if (std::memcmp(archive.data() + trailer + 8, Magic, sizeof Magic) != 0) return std::nullopt;
  std::size_t at = Get(archive, trailer, 4);
  const std::uint64_t count = Get(archive, trailer + 4, 4);
  std::vector<File> files;
  for (std::uint64_t i = 0; i < count; ++i) {
    if (at > trailer || trailer - at < 2) return std::nullopt;
    const std::size_t nameLength = Get(archive, at, 2);
    at += 2;
    if (trailer - at < nameLength + 12) return std::nullopt;
    File file;
    file.name = archive.substr(at, nameLength);
    at += nameLength;
    file.written = Get(archive, at, 8);
    const std::size_t length = Get(archive, at + 8, 4);
    at += 12;
    if (trailer - at < length || !IsPlainFileName(file.name)) return std::nullopt;
    file.data = archive.substr(at, length);
    at += length;
    files.push_back(std::move(file));
  }
  if (at != trailer) return std::nullopt;
  return files;
}

}  // namespace update_archive
