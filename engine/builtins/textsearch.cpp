#include "builtins/textsearch.h"

#include "rt/error.h"
#include "rt/strings.h"

namespace engine {

namespace {

constexpr size_t npos = std::u16string_view::npos;

size_t find(std::u16string_view s, std::u16string_view what, size_t from, rt::CompareMode mode) {
  return mode == rt::CompareMode::Text ? rt::findNoCase(s, what, from) : s.find(what, from);
}

}  // namespace

rt::CompareMode compareModeOf(int32_t mode) {
  switch (mode) {
    case -1:
    case 0: return rt::CompareMode::Binary;
    case 1:
    case 2: return rt::CompareMode::Text;
    default: rt::raise(rt::err::InvalidCall);
  }
}

int32_t findFrom(std::u16string_view s, std::u16string_view what, int32_t start,
                 rt::CompareMode mode) {
  if (start < 1) rt::raise(rt::err::InvalidCall);
  if (s.empty() || static_cast<size_t>(start) > s.size()) return 0;
  if (what.empty()) return start;
  size_t at = find(s, what, static_cast<size_t>(start) - 1, mode);
  return at == npos ? 0 : static_cast<int32_t>(at + 1);
}

int32_t findBackFrom(std::u16string_view s, std::u16string_view what, int32_t start,
                     rt::CompareMode mode) {
  if (start == 0 || start < -1) rt::raise(rt::err::InvalidCall);
  if (s.empty()) return 0;
  size_t end = start == -1 ? s.size() : static_cast<size_t>(start);
  if (end > s.size()) return 0;
  if (what.empty()) return static_cast<int32_t>(end);
  std::u16string_view window = s.substr(0, end);
  size_t last = npos;
  if (mode == rt::CompareMode::Binary) {
    last = window.rfind(what);
  } else {
    // The case-blind search only runs forward: keep the last match.
    for (size_t at = find(window, what, 0, mode); at != npos; at = find(window, what, at + 1, mode))
      last = at;
  }
  return last == npos ? 0 : static_cast<int32_t>(last + 1);
}

}  // namespace engine
