// An optional value kept behind a pointer: a struct that holds one in a
// vector of millions (the occurrences of a search index) stays small, and
// reads like std::optional.
#pragma once

#include <memory>
#include <optional>
#include <utility>

namespace builder {

template <class T>
class BoxedOptional {
 public:
  BoxedOptional() = default;
  BoxedOptional(std::nullopt_t) {}                                           // NOLINT: as std::optional
  BoxedOptional(T value) : value_(std::make_unique<T>(std::move(value))) {}  // NOLINT: as std::optional
  BoxedOptional(const BoxedOptional& other) : value_(other ? std::make_unique<T>(*other) : nullptr) {}
  BoxedOptional(BoxedOptional&&) noexcept = default;
  BoxedOptional& operator=(const BoxedOptional& other) {
    if (this != &other) value_ = other ? std::make_unique<T>(*other) : nullptr;
    return *this;
  }
  BoxedOptional& operator=(BoxedOptional&&) noexcept = default;

  bool has_value() const { return value_ != nullptr; }
  explicit operator bool() const { return has_value(); }
  const T& operator*() const { return *value_; }
  T& operator*() { return *value_; }
  const T* operator->() const { return value_.get(); }
  T* operator->() { return value_.get(); }
  void reset() { value_.reset(); }

 private:
  std::unique_ptr<T> value_;
};

}  // namespace builder
