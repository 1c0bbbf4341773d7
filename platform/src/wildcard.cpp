#include "rt/wildcard.h"

#include <string>

#include "rt/text.h"
#include "surrogates.h"

namespace rt {

namespace {

// Folded code points: "?" takes a whole character, also one of two units.
std::u32string folded(std::u16string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) out += rt::foldChar(rt::utf16::nextCodePoint(s, i));
  return out;
}

// Plain matching, going back to the last star on a mismatch: linear for one
// star, never worse than pattern times name.
bool globMatch(std::u32string_view p, std::u32string_view n) {
  size_t pi = 0, ni = 0, star = std::u32string_view::npos, starName = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == U'?' || (p[pi] != U'*' && p[pi] == n[ni]))) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == U'*') {
      star = pi++;
      starName = ni;
    } else if (star != std::u32string_view::npos) {
      pi = star + 1;
      ni = ++starName;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == U'*') ++pi;
  return pi == p.size();
}

}  // namespace

bool hasWildcards(std::u16string_view pattern) {
  return pattern.find_first_of(u"*?") != std::u16string_view::npos;
}

bool matchesWildcard(std::u16string_view pattern, std::u16string_view name) {
  std::u32string p = folded(pattern), n = folded(name);
  if (globMatch(p, n)) return true;
  // A name without a dot is matched as if it ended in one.
  return n.find(U'.') == std::u32string::npos && globMatch(p, n + U'.');
}

}  // namespace rt
