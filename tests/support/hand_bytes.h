// Files written out by hand from their byte layouts, field by field: the
// tests place each value at its offset themselves, so that no writer of the
// content builder stands between the layout and the reader under test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace handbytes {

class HandFile {
 public:
  explicit HandFile(std::size_t size = 0) : bytes_(size, 0) {}

  // Big-endian numbers.
  void Be16(std::size_t at, std::uint16_t value) {
    Put(at, {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
  }
  void Be32(std::size_t at, std::uint32_t value) {
    Be16(at, static_cast<std::uint16_t>(value >> 16));
    Be16(at + 2, static_cast<std::uint16_t>(value));
  }
  // Little-endian numbers (the phrase offsets of the inflection files, bitmap headers).
  void Le16(std::size_t at, std::uint16_t value) {
    Put(at, {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)});
  }
  void Le32(std::size_t at, std::uint32_t value) {
    Le16(at, static_cast<std::uint16_t>(value));
    Le16(at + 2, static_cast<std::uint16_t>(value >> 16));
  }
  void Put(std::size_t at, std::initializer_list<std::uint8_t> values) {
    Grow(at + values.size());
    for (std::uint8_t value : values) bytes_[at++] = value;
  }
  // The characters of a text, without a NUL.
  void Text(std::size_t at, const std::string& text) {
    Grow(at + text.size());
    for (char c : text) bytes_[at++] = static_cast<std::uint8_t>(c);
  }
  void Grow(std::size_t size) {
    if (bytes_.size() < size) bytes_.resize(size, 0);
  }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace handbytes
