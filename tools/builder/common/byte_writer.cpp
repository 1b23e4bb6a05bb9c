#include "common/byte_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace builder {

void ByteWriter::U8(std::uint32_t value) { bytes_.push_back(static_cast<std::uint8_t>(value)); }

void ByteWriter::U16be(std::uint32_t value) {
  U8(value >> 8);
  U8(value);
}

void ByteWriter::U24be(std::uint32_t value) {
  U8(value >> 16);
  U8(value >> 8);
  U8(value);
}

void ByteWriter::U32be(std::uint32_t value) {
  U16be(value >> 16);
  U16be(value);
}

void ByteWriter::U16le(std::uint32_t value) {
  U8(value);
  U8(value >> 8);
}

void ByteWriter::U32le(std::uint32_t value) {
  U16le(value);
  U16le(value >> 16);
}

void ByteWriter::Append(const Bytes& data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }

void ByteWriter::Append(std::string_view text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }

void ByteWriter::Zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }

void ByteWriter::PadTo(std::size_t size) {
  if (bytes_.size() < size) bytes_.resize(size, 0);
}

void ByteWriter::Align(std::size_t unit) {
  if (unit > 1 && bytes_.size() % unit) Zeros(unit - bytes_.size() % unit);
}

void ByteWriter::PatchU16be(std::size_t at, std::uint32_t value) {
  bytes_.at(at) = static_cast<std::uint8_t>(value >> 8);
  bytes_.at(at + 1) = static_cast<std::uint8_t>(value);
}

void ByteWriter::PatchU32be(std::size_t at, std::uint32_t value) {
  PatchU16be(at, value >> 16);
  PatchU16be(at + 2, value);
}

void ByteWriter::PatchU16le(std::size_t at, std::uint32_t value) {
  bytes_.at(at) = static_cast<std::uint8_t>(value);
  bytes_.at(at + 1) = static_cast<std::uint8_t>(value >> 8);
}

void ByteWriter::PatchU32le(std::size_t at, std::uint32_t value) {
  PatchU16le(at, value);
  PatchU16le(at + 2, value >> 16);
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string temporary = path + ".partial";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot create " + temporary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::remove(temporary.c_str());
      throw std::runtime_error("cannot write " + temporary);
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::remove(temporary.c_str());
    throw std::runtime_error("cannot rename " + temporary + " to " + path + ": " + error.message());
  }
}

void WriteFileAtomically(const std::string& path, const Bytes& bytes) {
  WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  const char last = directory.back();
  if (last == '/' || last == '\\') return directory + name;
  return directory + "/" + name;
}

}  // namespace builder
