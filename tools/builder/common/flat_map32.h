// A map from 32-bit keys to 32-bit values by open addressing: the pair counts
// and pair lookups of the builders' compressors, where a node-based map spends
// most of the build's time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace builder {

class FlatMap32 {
 public:
  // Room for `expected` keys. A growing map doubles when it is three
  // quarters full; a fixed one refuses new keys from then on.
  explicit FlatMap32(std::size_t expected, bool grows = true) : grows_(grows) { Reset(expected); }
  // A fixed map of exactly `slots` slots (a power of two): it takes keys
  // until three quarters of them are used.
  static FlatMap32 Fixed(std::size_t slots) {
    FlatMap32 map(0, false);
    map.keys_.assign(slots, 0);
    map.values_.assign(slots, 0);
    return map;
  }

  // The value of key, or null when the map does not hold it.
  const std::uint32_t* Find(std::uint32_t key) const {
    const std::size_t mask = keys_.size() - 1;
    for (std::size_t slot = Hash(key) & mask; keys_[slot] != 0; slot = (slot + 1) & mask)
      if (keys_[slot] == key + 1ull) return &values_[slot];
    return nullptr;
  }

  // The value of key, made 0 when the key is new; null when a fixed map is
  // too full to take it.
  std::uint32_t* Slot(std::uint32_t key) {
    for (;;) {
      const std::size_t mask = keys_.size() - 1;
      std::size_t slot = Hash(key) & mask;
      for (; keys_[slot] != 0; slot = (slot + 1) & mask)
        if (keys_[slot] == key + 1ull) return &values_[slot];
      if (used_ * 4 < keys_.size() * 3) {
        keys_[slot] = key + 1ull;
        values_[slot] = 0;
        ++used_;
        return &values_[slot];
      }
      if (!grows_) return nullptr;
      Grow();
    }
  }

  // Calls f(key, value) for every key, in no particular order.
  template <class F>
  void ForEach(F&& f) const {
    for (std::size_t slot = 0; slot < keys_.size(); ++slot)
      if (keys_[slot] != 0) f(static_cast<std::uint32_t>(keys_[slot] - 1), values_[slot]);
  }

  std::size_t size() const { return used_; }

 private:
  static std::size_t Hash(std::uint32_t key) { return static_cast<std::size_t>(key * 2654435761u) >> 7; }

  void Reset(std::size_t expected) {
    std::size_t size = 16;
    while (size * 3 < expected * 4 + 4) size <<= 1;
    keys_.assign(size, 0);
    values_.assign(size, 0);
    used_ = 0;
  }

  void Grow() {
    std::vector<std::uint64_t> keys = std::move(keys_);
    std::vector<std::uint32_t> values = std::move(values_);
    Reset(keys.size());
    for (std::size_t slot = 0; slot < keys.size(); ++slot)
      if (keys[slot] != 0) *Slot(static_cast<std::uint32_t>(keys[slot] - 1)) = values[slot];
  }

  bool grows_;
  std::vector<std::uint64_t> keys_;  // key + 1; 0: empty
  std::vector<std::uint32_t> values_;
  std::size_t used_ = 0;
};

}  // namespace builder
