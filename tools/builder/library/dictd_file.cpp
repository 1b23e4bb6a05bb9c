#include "library/dictd_file.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <utility>

namespace builder::library {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
    throw std::runtime_error("cannot read " + path);
  return bytes;
}

namespace {

// A gzip file (the dictzip header is a gzip header with an extra field).
std::string Gunzip(const std::string& packed, const std::string& path) {
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) throw std::runtime_error("zlib: no inflate state");
  std::string out;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  int result = Z_OK;
  char buffer[1 << 16];
  while (result != Z_STREAM_END) {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    result = inflate(&stream, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END) {
      inflateEnd(&stream);
      throw std::runtime_error(path + " is not a whole gzip file");
    }
    out.append(buffer, sizeof buffer - stream.avail_out);
    if (result == Z_OK && stream.avail_in == 0 && stream.avail_out != 0) {
      inflateEnd(&stream);
      throw std::runtime_error(path + " ends inside its compressed data");
    }
  }
  inflateEnd(&stream);
  return out;
}

bool IsDatabaseRecord(const std::string& headword) {
  return headword.rfind("00-database", 0) == 0 || headword.rfind("00database", 0) == 0;
}

}  // namespace

std::uint32_t DictdNumber(const std::string& digits) {
  static const std::string kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  if (digits.empty() || digits.size() > 5) throw std::invalid_argument("bad base-64 number '" + digits + "'");
  std::uint32_t value = 0;
  for (char c : digits) {
    const std::size_t digit = kDigits.find(c);
    if (digit == std::string::npos) throw std::invalid_argument("bad base-64 digit in '" + digits + "'");
    value = value * 64 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

std::string DictdDirectory() {
  const char* configured = std::getenv("VELDRIX_DICTD_DIR");
  if (configured && *configured) return configured;
#ifdef _WIN32
  return "Z:/usr/share/dictd";  // the host's folder, for the builder under Wine
#else
  return "/usr/share/dictd";
#endif
}

DictdDictionary ReadDictd(const std::string& directory, const std::string& name, const std::string& package,
                          const std::function<bool(const std::string& headword)>& keep) {
  namespace fs = std::filesystem;
  const fs::path base = fs::path(directory) / name;
  const std::string indexPath = base.string() + ".index";
  const std::string packedPath = base.string() + ".dict.dz";
  const std::string plainPath = base.string() + ".dict";
  auto missing = [&](const std::string& path) {
    return std::runtime_error(path + " not found: install the package " + package + " (apt-get install " + package +
                              ")");
  };
  if (!fs::exists(indexPath)) throw missing(indexPath);
  DictdDictionary dictionary;
  if (fs::exists(packedPath))
    dictionary.text = Gunzip(ReadWholeFile(packedPath), packedPath);
  else if (fs::exists(plainPath))
    dictionary.text = ReadWholeFile(plainPath);
  else
    throw missing(packedPath);

  const std::string index = ReadWholeFile(indexPath);
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::size_t> byPlace;
  std::size_t lineNumber = 0;
  for (std::size_t at = 0; at < index.size();) {
    std::size_t end = index.find('\n', at);
    if (end == std::string::npos) end = index.size();
    const std::string line = index.substr(at, end - at);
    at = end + 1;
    ++lineNumber;
    if (line.empty()) continue;
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string::npos)
      throw std::runtime_error(indexPath + ":" + std::to_string(lineNumber) + ": not headword, offset and length");
    const std::string headword = line.substr(0, tab1);
    std::size_t lengthEnd = line.find('\t', tab2 + 1);
    if (lengthEnd == std::string::npos) lengthEnd = line.size();
    std::uint32_t offset = 0, length = 0;
    try {
      offset = DictdNumber(line.substr(tab1 + 1, tab2 - tab1 - 1));
      length = DictdNumber(line.substr(tab2 + 1, lengthEnd - tab2 - 1));
    } catch (const std::invalid_argument& error) {
      throw std::runtime_error(indexPath + ":" + std::to_string(lineNumber) + ": " + error.what());
    }
    if (std::uint64_t{offset} + length > dictionary.text.size())
      throw std::runtime_error(indexPath + ":" + std::to_string(lineNumber) + ": definition outside " + name + ".dict");
    if (IsDatabaseRecord(headword) || (keep && !keep(headword))) continue;
    const auto [found, added] = byPlace.emplace(std::make_pair(offset, length), dictionary.entries.size());
    if (added) dictionary.entries.push_back({offset, length, {}});
    dictionary.entries[found->second].headwords.push_back(headword);
  }
  std::stable_sort(dictionary.entries.begin(), dictionary.entries.end(),
                   [](const DictdEntry& a, const DictdEntry& b) { return a.offset < b.offset; });
  return dictionary;
}

}  // namespace builder::library
