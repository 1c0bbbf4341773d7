#include "rt/strings.h"

#include "rt/error.h"
#include "rt/text.h"

namespace rt {

namespace {

bool isSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDFFF; }

char32_t foldUnit(char16_t u) {
  if (u < 0x80) return (u >= 'A' && u <= 'Z') ? u + 32 : u;
  return foldChar(u);
}

}  // namespace

void ensureTextRoom(size_t have, size_t more) {
  if (have > kLongestText || more > kLongestText - have) raise(err::OutOfStringSpace);
}

namespace {

std::u16string pad(std::u16string_view s, int32_t width, std::u16string_view fill, bool left) {
  if (width <= 0 || s.size() >= static_cast<size_t>(width) || fill.empty()) return std::u16string(s);
  size_t copies = static_cast<size_t>(width) - s.size();
  if (copies > (kLongestText - s.size()) / fill.size()) raise(err::OutOfStringSpace);
  std::u16string out;
  out.reserve(s.size() + copies * fill.size());
  if (!left) out += s;
  for (size_t i = 0; i < copies; ++i) out += fill;
  if (left) out += s;
  return out;
}

}  // namespace

size_t findNoCase(std::u16string_view s, std::u16string_view sep, size_t from) {
  size_t m = sep.size();
  if (m == 0 || s.size() < m) return std::u16string_view::npos;
  // Simple folding keeps every character's length in code units, so a match
  // covers exactly sep.size() units of s.  The first unit screens candidates
  // unless it is half of a pair, whose folding needs the whole character.
  bool screen = !isSurrogate(sep[0]);
  char32_t first = screen ? foldUnit(sep[0]) : 0;
  for (size_t i = from; i + m <= s.size(); ++i) {
    if (screen && (isSurrogate(s[i]) || foldUnit(s[i]) != first)) continue;
    if (equalsNoCase(s.substr(i, m), sep)) return i;
  }
  return std::u16string_view::npos;
}

std::u16string_view splitHead(std::u16string_view& rest, std::u16string_view sep) {
  size_t p = findNoCase(rest, sep);
  std::u16string_view head = rest;
  if (p == std::u16string_view::npos) {
    rest = {};
  } else {
    head = rest.substr(0, p);
    rest.remove_prefix(p + sep.size());
  }
  return head;
}

std::u16string splitHead(std::u16string& s, std::u16string_view sep) {
  std::u16string_view rest = s;
  std::u16string head(splitHead(rest, sep));
  s = std::u16string(rest);
  return head;
}

std::u16string padLeft(std::u16string_view s, int32_t width, std::u16string_view fill) {
  return pad(s, width, fill, true);
}

std::u16string padRight(std::u16string_view s, int32_t width, std::u16string_view fill) {
  return pad(s, width, fill, false);
}

}  // namespace rt
