#include "builtins/textsearch.h"

#include "rt/error.h"
#include "rt/finder.h"

namespace engine {

namespace {

constexpr size_t npos = std::u16string_view::npos;

bool noCase(rt::CompareMode mode) { return mode == rt::CompareMode::Text; }

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
  size_t at = rt::TextFinder(what, noCase(mode)).find(s, static_cast<size_t>(start) - 1);
  return at == npos ? 0 : static_cast<int32_t>(at + 1);
}

int32_t findBackFrom(std::u16string_view s, std::u16string_view what, int32_t start,
                     rt::CompareMode mode) {
  if (start == 0 || start < -1) rt::raise(rt::err::InvalidCall);
  if (s.empty()) return 0;
  size_t end = start == -1 ? s.size() : static_cast<size_t>(start);
  if (end > s.size()) return 0;
  if (what.empty()) return static_cast<int32_t>(end);
  size_t last = rt::TextFinder(what, noCase(mode)).findLast(s.substr(0, end));
  return last == npos ? 0 : static_cast<int32_t>(last + 1);
}

}  // namespace engine
