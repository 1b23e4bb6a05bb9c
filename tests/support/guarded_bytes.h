// Memory whose readable bytes end exactly where a page that cannot be touched
// begins, so that a read or write one byte past the end faults at once. It
// serves every tree: AddressSanitizer sees only its own heap blocks, and the
// Windows trees have no sanitizer at all.
#pragma once

#include <cstddef>
#include <cstdint>

class GuardedBytes {
 public:
  // At least `size` usable bytes before the guard page.
  explicit GuardedBytes(std::size_t size);
  ~GuardedBytes();
  GuardedBytes(const GuardedBytes&) = delete;
  GuardedBytes& operator=(const GuardedBytes&) = delete;

  // The first byte of the guard page: every usable byte lies before it.
  std::uint8_t* end() const { return end_; }
  // The usable bytes, from end() - size() to end().
  std::size_t size() const { return size_; }

 private:
  void* mapping_ = nullptr;
  std::size_t mappingSize_ = 0;
  std::uint8_t* end_ = nullptr;
  std::size_t size_ = 0;
};
