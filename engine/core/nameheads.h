// A quick test that refuses most names a set of names does not hold: the
// set keeps which (length, folded first character) pairs its names have.
// A name equal to one of them without regard to case has the same pair,
// since folding keeps each character's length in code units.
#pragma once

#include <bitset>
#include <cstddef>
#include <string_view>

#include "rt/text.h"

namespace engine {

class NameHeads {
 public:
  void add(std::u16string_view name) {
    if (const size_t h = headOf(name); h == kUnknown) anyHead_ = true;
    else heads_.set(h);
  }
  // False only when no name added equals `name` without regard to case.
  bool mayHave(std::u16string_view name) const {
    if (anyHead_) return true;
    const size_t h = headOf(name);
    return h == kUnknown || heads_.test(h);
  }

 private:
  static constexpr size_t kLengths = 16;  // lengths are taken modulo this
  static constexpr size_t kUnknown = kLengths * 128;

  // The pair as a bit index; kUnknown for an empty name or one that starts
  // with a surrogate pair or folds to no ASCII character first.
  static size_t headOf(std::u16string_view name) {
    if (name.empty()) return kUnknown;
    char32_t c = name[0];
    if (c >= 0x80) {
      if (c >= 0xD800 && c <= 0xDFFF) return kUnknown;
      c = rt::foldChar(c);
      if (c >= 0x80) return kUnknown;
    } else if (c >= 'A' && c <= 'Z') {
      c += 32;
    }
    return (name.size() % kLengths) * 128 + c;
  }

  std::bitset<kUnknown> heads_;
  bool anyHead_ = false;  // a name with no pair was added: nothing is refused
};

}  // namespace engine
