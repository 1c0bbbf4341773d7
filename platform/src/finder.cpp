#include "rt/finder.h"

#include "rt/text.h"
#include "surrogates.h"

namespace rt {

namespace {

// Texts searched for up to this long are compared place by place.
constexpr size_t kShort = 16;

// Kana and the CJK ideographs, which much text is made of, have no case:
// no character between the ideographic space (which folds to a space) and
// this one folds.
constexpr char16_t kIdeographicSpace = 0x3000;
constexpr char16_t kFirstFoldAfterCjk = 0xA640;

using utf16::isHigh;
using utf16::isLow;

// Unit `j` of `s` as folding the whole text would give it: a pair is folded
// as the one character it is, and each of its halves read from that.
// Folding never moves a character to another plane, so the halves stay
// halves.
[[gnu::noinline]] char16_t foldedUnit(std::u16string_view s, size_t j) {
  const char16_t u = s[j];
  if (u < 0x80) return u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u + 32) : u;
  if (u > kIdeographicSpace && u < kFirstFoldAfterCjk) return u;
  if (!isHigh(u) && !isLow(u)) return static_cast<char16_t>(foldChar(u));
  const bool high = isHigh(u);
  char16_t hi, lo;
  if (high) {
    if (j + 1 >= s.size() || !isLow(s[j + 1])) return u;
    hi = u, lo = s[j + 1];
  } else {
    if (j == 0 || !isHigh(s[j - 1])) return u;
    hi = s[j - 1], lo = u;
  }
  const char32_t f = foldChar(utf16::pairCode(hi, lo)) - 0x10000;
  return static_cast<char16_t>(high ? 0xD800 + (f >> 10) : 0xDC00 + (f & 0x3FF));
}

}  // namespace

TextFinder::TextFinder(std::u16string_view what, bool noCase) : size_(what.size()), noCase_(noCase) {
  if (what.empty()) return;
  std::u16string_view middle = what;
  if (noCase) {
    loneFirst_ = isLow(what.front());
    loneLast_ = isHigh(what.back());
    if (loneFirst_) first_ = what.front(), middle.remove_prefix(1);
    if (loneLast_ && !middle.empty()) last_ = what.back(), middle.remove_suffix(1);
    pattern_ = foldCase(middle);
  } else {
    pattern_ = middle;
  }
  if (pattern_.size() <= kShort) return;
  border_.assign(pattern_.size(), 0);
  for (size_t i = 1, k = 0; i < pattern_.size(); ++i) {
    while (k > 0 && pattern_[i] != pattern_[k]) k = border_[k - 1];
    if (pattern_[i] == pattern_[k]) ++k;
    border_[i] = static_cast<uint32_t>(k);
  }
}

// Knuth, Morris and Pratt: the text is read once, and after a partial match
// the table says how much of it still counts, so no unit is read twice.
template <class Unit, class Found>
void TextFinder::scanWith(std::u16string_view s, size_t from, Unit unit, Found found) const {
  const size_t lead = loneFirst_ ? 1 : 0;
  const size_t p = pattern_.size();
  // Where a match starting at `at` is whole, with its lone ends.
  auto whole = [&](size_t at) {
    return at + size_ <= s.size() && (!loneFirst_ || s[at] == first_) &&
           (!loneLast_ || s[at + size_ - 1] == last_);
  };
  if (p == 0) {  // only lone ends: every place is a candidate
    for (size_t at = from; at + size_ <= s.size(); ++at)
      if (whole(at) && !found(at)) return;
    return;
  }
  const char16_t head = pattern_[0];
  if (p <= kShort) {
    // A short text is compared at each place its first unit matches: no
    // table to make, and at most kShort units read again per place.
    for (size_t j = from + lead; j + p <= s.size(); ++j) {
      if (unit(s, j) != head) continue;
      size_t i = 1;
      while (i < p && unit(s, j + i) == pattern_[i]) ++i;
      if (i == p && whole(j - lead) && !found(j - lead)) return;
    }
    return;
  }
  size_t k = 0;
  for (size_t j = from + lead; j < s.size(); ++j) {
    if (k == 0) {
      // Most of a text is no start of a match: skip it unit by unit.
      while (j < s.size() && unit(s, j) != head) ++j;
      if (j == s.size()) return;
      k = 1;
    } else {
      const char16_t c = unit(s, j);
      while (k > 0 && c != pattern_[k]) k = border_[k - 1];
      if (c == pattern_[k]) ++k;
    }
    if (k < p) continue;
    k = border_[k - 1];
    const size_t at = j + 1 - p - lead;
    if (whole(at) && !found(at)) return;
  }
}

template <class Found>
void TextFinder::scan(std::u16string_view s, size_t from, Found found) const {
  if (size_ == 0 || from >= s.size() || s.size() - from < size_) return;
  // ASCII, most of most texts, is folded in line.
  if (noCase_)
    scanWith(s, from,
             [](std::u16string_view t, size_t j) {
               const char16_t u = t[j];
               if (u >= 0x80) [[unlikely]]
                 return foldedUnit(t, j);
               return u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u + 32) : u;
             },
             found);
  else scanWith(s, from, [](std::u16string_view t, size_t j) { return t[j]; }, found);
}

size_t TextFinder::find(std::u16string_view s, size_t from) const {
  size_t result = npos;
  scan(s, from, [&](size_t at) {
    result = at;
    return false;
  });
  return result;
}

size_t TextFinder::findLast(std::u16string_view s) const {
  size_t result = npos;
  scan(s, 0, [&](size_t at) {
    result = at;
    return true;
  });
  return result;
}

}  // namespace rt
