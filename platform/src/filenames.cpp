#include "rt/filenames.h"

#include <algorithm>
#include <iterator>

#include "hiddenchars.h"
#include "surrogates.h"

namespace rt::fs {

namespace {

// textOfBytes keeps the byte b as the unit kByteUnit + b; only bytes from
// 0x80 on are ever kept (every encoding here decodes ASCII).
constexpr char16_t kByteUnit = 0xDC00;

// Whether name[i] is a byte textOfBytes kept: such a unit, not the second
// half of a surrogate pair.
bool keptByteAt(std::u16string_view name, size_t i) {
  const char16_t c = name[i];
  return c >= kByteUnit + 0x80 && c <= kByteUnit + 0xFF && !(i > 0 && utf16::isHigh(name[i - 1]));
}

// Of the categories Cc, Cf, Zl and Zp.
bool isHidden(char32_t c) {
  using hidden::kRanges;
  if (c >= 0x20 && c < 0x7F) return false;
  auto r = std::upper_bound(std::begin(kRanges), std::end(kRanges), c,
                            [](char32_t v, const hidden::Range& x) { return v < x.first; });
  return r != std::begin(kRanges) && c <= std::prev(r)->last;
}

void appendHex(std::u16string& out, char16_t kind, char32_t c, int digits) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  out += u'\\';
  out += kind;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
}

// The bytes of the character that starts `bytes`, decoded into `c`: the
// fewest (up to four) that decode and encode back to themselves.  0 when
// no character starts there.
size_t charLength(std::string_view bytes, Encoding e, std::u16string& c) {
  for (size_t n = 1; n <= 4 && n <= bytes.size(); ++n) {
    std::string_view part = bytes.substr(0, n);
    c = decode(part, e);
    if (encode(c, e) == part) return n;
  }
  return 0;
}

}  // namespace

std::u16string textOfBytes(std::string_view bytes, Encoding e) {
  std::u16string text = decode(bytes, e);
  if (encode(text, e) == bytes) return text;
  text.clear();
  for (size_t i = 0; i < bytes.size();) {
    std::u16string c;
    size_t n = charLength(bytes.substr(i), e, c);
    if (n == 0) {
      text += static_cast<char16_t>(kByteUnit + static_cast<uint8_t>(bytes[i]));
      n = 1;
    } else {
      text += c;
    }
    i += n;
  }
  return text;
}

std::string bytesOfName(std::u16string_view name) {
  std::string bytes;
  size_t from = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    if (!keptByteAt(name, i)) continue;
    bytes += toUtf8(name.substr(from, i - from));
    bytes += static_cast<char>(name[i] - kByteUnit);
    from = i + 1;
  }
  if (from == 0) return toUtf8(name);
  return bytes + toUtf8(name.substr(from));
}

std::u16string shownName(std::u16string_view name) {
  std::u16string shown;
  shown.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    const size_t at = i;
    const char32_t c = utf16::nextCodePoint(name, i);
    if (c < 0x20 || c == 0x7F || keptByteAt(name, at))
      appendHex(shown, u'x', c & 0xFF, 2);
    else if (isHidden(c))
      appendHex(shown, c > 0xFFFF ? u'U' : u'u', c, c > 0xFFFF ? 8 : 4);
    else
      shown.append(name.substr(at, i - at));
  }
  return shown;
}

}  // namespace rt::fs
