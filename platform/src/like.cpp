// Like, the pattern match of the language: "?" one character, "*" any run
// of characters, "#" one digit, "[abc]" one character of a list, "[!abc]" one
// character not in it, "a-z" inside brackets a range.  "[]" matches nothing
// (the empty text).  Characters are UTF-16 units, as Len counts them.
//
// The pattern is read whole before matching, so a malformed one (an unclosed
// "[", a range whose ends are in descending order) raises 93 whatever the
// text.  Matching backtracks only to the last "*", so time is bounded by the
// product of the two lengths.
#include <string_view>
#include <vector>

#include "operand.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/ops.h"
#include "rt/text.h"

namespace rt {
namespace {

struct Range {
  char16_t lo, hi;
};

// One element of a read pattern; every element but AnyRun matches exactly
// one character.
struct Element {
  enum Type : uint8_t { Char, AnyChar, Digit, AnyRun, Set } type;
  bool negated = false;
  char16_t ch = 0;          // Char
  uint32_t first = 0;       // Set: its ranges in Pattern::ranges
  uint32_t count = 0;
};

class Pattern {
 public:
  Pattern(std::u16string_view p, bool textMode) : text_(textMode) { read(p); }
  bool matches(std::u16string_view s) const;

 private:
  void read(std::u16string_view p);
  // Index of the "]" that closes the list opened at `open`.
  static size_t closing(std::u16string_view p, size_t open);
  bool matchesOne(const Element& e, char16_t c) const;
  bool inRange(const Range& r, char16_t c) const;
  char16_t fold(char16_t c) const { return text_ ? static_cast<char16_t>(foldChar(c)) : c; }

  bool text_;
  std::vector<Element> elems_;
  std::vector<Range> ranges_;
};

size_t Pattern::closing(std::u16string_view p, size_t open) {
  size_t close = p.find(u']', open + 1);
  if (close == std::u16string_view::npos) raise(err::InvalidPattern);
  return close;
}

void Pattern::read(std::u16string_view p) {
  for (size_t i = 0; i < p.size(); ++i) {
    char16_t c = p[i];
    switch (c) {
      case u'?':
        elems_.push_back({Element::AnyChar});
        break;
      case u'#':
        elems_.push_back({Element::Digit});
        break;
      case u'*':
        // A run of stars is one star.
        if (elems_.empty() || elems_.back().type != Element::AnyRun) elems_.push_back({Element::AnyRun});
        break;
      case u'[': {
        size_t close = closing(p, i);
        Element set{Element::Set};
        size_t j = i + 1;
        if (j < close && p[j] == u'!') {
          set.negated = true;
          ++j;
        }
        set.first = static_cast<uint32_t>(ranges_.size());
        while (j < close) {
          // "-" is a range only between two characters of the list.
          Range r{p[j], p[j]};
          if (j + 2 < close && p[j + 1] == u'-') {
            r.hi = p[j + 2];
            j += 3;
          } else {
            ++j;
          }
          if (r.lo > r.hi) raise(err::InvalidPattern);
          ranges_.push_back(r);
        }
        set.count = static_cast<uint32_t>(ranges_.size()) - set.first;
        if (set.count > 0 || set.negated) elems_.push_back(set);
        i = close;
        break;
      }
      default: {
        Element e{Element::Char};
        e.ch = fold(c);
        elems_.push_back(e);
        break;
      }
    }
  }
}

bool Pattern::inRange(const Range& r, char16_t c) const {
  if (c >= r.lo && c <= r.hi) return true;
  // Case-blind: the folded character against the folded ends.
  char16_t f = fold(c);
  return text_ && f >= fold(r.lo) && f <= fold(r.hi);
}

bool Pattern::matchesOne(const Element& e, char16_t c) const {
  switch (e.type) {
    case Element::Char:
      return e.ch == fold(c);
    case Element::AnyChar:
      return true;
    case Element::Digit: {
      char16_t f = fold(c);
      return f >= u'0' && f <= u'9';
    }
    case Element::Set: {
      bool in = false;
      for (uint32_t k = e.first; k < e.first + e.count && !in; ++k) in = inRange(ranges_[k], c);
      return in != e.negated;
    }
    case Element::AnyRun:
      break;
  }
  return false;
}

bool Pattern::matches(std::u16string_view s) const {
  const size_t none = static_cast<size_t>(-1);
  size_t t = 0, p = 0;
  size_t afterStar = none, starText = 0;  // where to resume after the last "*"
  while (t < s.size()) {
    if (p < elems_.size() && elems_[p].type == Element::AnyRun) {
      afterStar = ++p;
      starText = t;
    } else if (p < elems_.size() && matchesOne(elems_[p], s[t])) {
      ++p;
      ++t;
    } else if (afterStar != none) {
      // Let the last "*" take one more character and try again.
      p = afterStar;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (p < elems_.size() && elems_[p].type == Element::AnyRun) ++p;
  return p == elems_.size();
}

}  // namespace

bool like(std::u16string_view text, std::u16string_view pattern, CompareMode mode) {
  return Pattern(pattern, mode == CompareMode::Text).matches(text);
}

Variant opLike(const Variant& text, const Variant& pattern, CompareMode mode) {
  operand::Plain t(text), p(pattern);
  if (t->isNull() || p->isNull()) return Null{};
  return like(toText(*t), toText(*p), mode);
}

}  // namespace rt
