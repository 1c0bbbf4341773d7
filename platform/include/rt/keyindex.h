// The index of a keyed list: from a key, without regard to case, to the
// entry filed under it.
//
// Open addressing with linear probing over a power-of-two table of
// (hash, entry) pairs, kept at most half full; removal shifts the following
// pairs back, so no slot is ever marked deleted.  The key itself is kept
// by the entry (`keyOf`), so the index stores no text, and a lookup folds
// nothing: it hashes the key with hashNoCase and compares candidates with
// equalsNoCase, which agree on what is the same key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "rt/text.h"

namespace rt {

template <class Entry, std::u16string_view (*keyOf)(const Entry&)>
class KeyIndex {
 public:
  size_t size() const { return size_; }

  Entry* find(std::u16string_view key) const {
    if (size_ == 0) return nullptr;
    const size_t h = hashOf(key);
    for (size_t i = h & mask(); slots_[i].entry; i = (i + 1) & mask())
      if (slots_[i].hash == h && equalsNoCase(keyOf(*slots_[i].entry), key))
        return slots_[i].entry;
    return nullptr;
  }

  // Files `e` under its key, which no entry may have yet.
  void insert(Entry* e) {
    if ((size_ + 1) * 2 > slots_.size()) grow();
    place(Slot{hashOf(keyOf(*e)), e});
    ++size_;
  }

  // Removes `e`, which must be filed.
  void erase(const Entry* e) {
    size_t i = hashOf(keyOf(*e)) & mask();
    while (slots_[i].entry != e) i = (i + 1) & mask();
    // Pull back every later pair of the run that would be found past the gap.
    for (size_t gap = i, j = (i + 1) & mask();; j = (j + 1) & mask()) {
      if (!slots_[j].entry) {
        slots_[gap] = Slot{};
        break;
      }
      const size_t home = slots_[j].hash & mask();
      // Moves when its home is not within (gap, j], cyclically.
      if (gap <= j ? (home <= gap || home > j) : (home <= gap && home > j)) {
        slots_[gap] = slots_[j];
        gap = j;
      }
    }
    --size_;
  }

  void clear() {
    slots_.clear();
    size_ = 0;
  }

 private:
  struct Slot {
    size_t hash = 0;
    Entry* entry = nullptr;
  };

  size_t mask() const { return slots_.size() - 1; }

  // hashNoCase spreads keys that differ in their last characters poorly over
  // the low bits the table uses: those are mixed in from the high ones.
  static size_t hashOf(std::u16string_view key) {
    uint64_t h = hashNoCase(key);
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return static_cast<size_t>(h);
  }

  void place(const Slot& s) {
    size_t i = s.hash & mask();
    while (slots_[i].entry) i = (i + 1) & mask();
    slots_[i] = s;
  }

  void grow() {
    std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& s : old)
      if (s.entry) place(s);
  }

  std::vector<Slot> slots_;
  size_t size_ = 0;
};

}  // namespace rt
