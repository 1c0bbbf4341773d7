// Searching a text for another, exactly or without regard to case, in time
// linear in the two lengths whatever they hold: the text searched for is
// prepared once (folded, and its table of partial matches made), and the
// text searched is read forward once, each unit folded as it is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rt/api.h"

namespace rt {

class RT_API TextFinder {
 public:
  static constexpr size_t npos = std::u16string_view::npos;

  // An empty `what` is never found.  Case-blind means by simple case
  // folding, which keeps every character's length in code units, so a match
  // covers exactly what.size() units of the text searched.
  TextFinder(std::u16string_view what, bool noCase);

  // The first match that starts at or after `from`.
  size_t find(std::u16string_view s, size_t from = 0) const;
  // The last match that lies wholly in `s`.
  size_t findLast(std::u16string_view s) const;

 private:
  // Calls `found(at)` for each match from `from` on, overlapping ones too,
  // until it returns false.
  template <class Found>
  void scan(std::u16string_view s, size_t from, Found found) const;
  template <class Unit, class Found>
  void scanWith(std::u16string_view s, size_t from, Unit unit, Found found) const;

  size_t size_ = 0;
  bool noCase_;
  // A case-blind `what` that begins with the second half of a surrogate
  // pair, or ends with the first, matches there only that very unit, also
  // where it is half of a pair of the text that the match cuts: such ends
  // are checked apart, and the part between them is what the table serves.
  bool loneFirst_ = false, loneLast_ = false;
  char16_t first_ = 0, last_ = 0;
  std::u16string pattern_;      // folded when case-blind
  std::vector<uint32_t> border_;  // longest proper border of each prefix
};

}  // namespace rt
