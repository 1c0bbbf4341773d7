#include "rt/strings.h"

#include "rt/error.h"
#include "rt/finder.h"
#include "rt/text.h"

namespace rt {

std::vector<std::u16string_view> splitLines(std::u16string_view s) {
  std::vector<std::u16string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != u'\r' && s[i] != u'\n') continue;
    lines.push_back(s.substr(start, i - start));
    if (s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < s.size()) lines.push_back(s.substr(start));
  return lines;
}

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
  return TextFinder(sep, true).find(s, from);
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
