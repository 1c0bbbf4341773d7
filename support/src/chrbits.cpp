#include "chrbits.h"

#include <algorithm>

#include "rt/convert.h"
#include "rt/text.h"

namespace jespin {

namespace {

constexpr uint32_t kFirstCode = 1, kLastCode = 255;

// The code of the first character; an empty text has none.
uint32_t firstCode(std::u16string_view s) {
  if (s.empty()) rt::raise(rt::err::InvalidCall);
  return rt::ansiCode(s);
}

}  // namespace

const rt::MemberTable<ChrBits>& ChrBits::members() {
  using S = std::u16string;
  static const auto table =
      rt::MemberTable<ChrBits>(u"ChrBits")
          .method(u"Add", [](ChrBits& b, std::span<rt::Variant> items) { b.add(items); })
          .method(u"AddInt", &ChrBits::addInt)
          .method(u"AddChar", [](ChrBits& b, S s) { b.addChar(s); })
          .method(u"IsIn", [](ChrBits& b, S s) { return b.isIn(s); })
          .byDefault()
          .method(u"Clear", &ChrBits::clear);
  return table;
}

void ChrBits::add(std::span<const rt::Variant> items) {
  for (const rt::Variant& item : items) {
    std::u16string s = rt::toText(item);
    if (s.size() == 1) addChar(s);
    else if (s.size() == 3) addRange(firstCode(s), firstCode(std::u16string_view(s).substr(2)));
  }
}

void ChrBits::addInt(int32_t code) {
  if (code >= 0) addRange(static_cast<uint32_t>(code), static_cast<uint32_t>(code));
}

void ChrBits::addChar(std::u16string_view s) {
  uint32_t c = firstCode(s);
  addRange(c, c);
}

bool ChrBits::isIn(std::u16string_view s) const {
  uint32_t c = firstCode(s);
  return c >= kFirstCode && c <= kLastCode && bits_.test(c);
}

void ChrBits::addRange(uint32_t first, uint32_t last) {
  // Only the part of the range inside 1 to 255 can be members.
  for (uint32_t c = std::max(first, kFirstCode); c <= std::min(last, kLastCode); ++c) bits_.set(c);
}

}  // namespace jespin
