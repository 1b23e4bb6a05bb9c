// Byte buffers in either byte order, and files written so that a crash never
// leaves a half-written file behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace builder {

using Bytes = std::vector<std::uint8_t>;

class ByteWriter {
 public:
  std::size_t size() const { return bytes_.size(); }
  const Bytes& bytes() const { return bytes_; }
  Bytes take() { return std::move(bytes_); }

  void U8(std::uint32_t value);
  void U16be(std::uint32_t value);
  void U32be(std::uint32_t value);
  void U24be(std::uint32_t value);
  void U16le(std::uint32_t value);
  void U32le(std::uint32_t value);
  void Append(const Bytes& data);
  void Append(std::string_view text);
  void Zeros(std::size_t count);
  // Pads with zeros up to an absolute size (no-op when already there).
  void PadTo(std::size_t size);
  // Pads with zeros up to the next multiple of `unit`.
  void Align(std::size_t unit);

  // Overwrite bytes already written (for offsets known only later).
  void PatchU16be(std::size_t at, std::uint32_t value);
  void PatchU32be(std::size_t at, std::uint32_t value);
  void PatchU16le(std::size_t at, std::uint32_t value);
  void PatchU32le(std::size_t at, std::uint32_t value);

 private:
  Bytes bytes_;
};

// Writes the file next to its destination, then renames it into place.
// Throws std::runtime_error on failure.
void WriteFileAtomically(const std::string& path, const Bytes& bytes);
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Joins a directory and a file name with one separator.
std::string JoinPath(const std::string& directory, const std::string& name);

}  // namespace builder
