#include "builtins/strconv.h"

#include "rt/error.h"
#include "rt/text.h"

namespace engine {

namespace {

// The half-width katakana U+FF61..U+FF9F, as full-width characters.
constexpr std::u16string_view kHalfKana =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
    u"マミムメモヤユヨラリルレロワン゛゜";
constexpr char16_t kHalfFirst = 0xFF61;
constexpr char16_t kHalfVoiced = 0xFF9E, kHalfSemiVoiced = 0xFF9F;
// Kana whose voiced form is the next code point, and those whose
// semi-voiced form is the one after that.
constexpr std::u16string_view kVoiceable = u"カキクケコサシスセソタチツテトハヒフヘホ";
constexpr std::u16string_view kSemiVoiceable = u"ハヒフヘホ";
constexpr char16_t kU = u'ウ', kVu = u'ヴ';
// Signs with a full-width form of their own: ¢ £ ¬ ¯ ¦ ¥ ₩ at U+FFE0..U+FFE6.
constexpr std::u16string_view kHalfSigns = u"\u00A2\u00A3\u00AC\u00AF\u00A6\u00A5\u20A9";

bool isSeparator(char16_t c) { return c == 0 || (c >= 9 && c <= 13) || c == u' '; }

// Upper-case the first letter of every word, lower-case the rest.
std::u16string properCase(std::u16string_view s) {
  std::u16string out;
  out.reserve(s.size());
  bool start = true;
  for (size_t i = 0; i < s.size();) {
    size_t n = (s[i] >= 0xD800 && s[i] <= 0xDBFF && i + 1 < s.size()) ? 2 : 1;
    std::u16string_view ch = s.substr(i, n);
    out += start ? rt::toUpper(ch) : rt::toLower(ch);
    start = isSeparator(s[i]);
    i += n;
  }
  return out;
}

std::u16string toWide(std::u16string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    if (c >= 0x21 && c <= 0x7E) {
      out.push_back(static_cast<char16_t>(c + 0xFEE0));
    } else if (c == u' ') {
      out.push_back(0x3000);
    } else if (c >= kHalfFirst && c < kHalfFirst + kHalfKana.size()) {
      // A following sound mark joins the kana before it.
      char16_t full = kHalfKana[c - kHalfFirst];
      char16_t mark = i + 1 < s.size() ? s[i + 1] : 0;
      char16_t joined = 0;
      if (mark == kHalfVoiced && full == kU) joined = kVu;
      else if (mark == kHalfVoiced && kVoiceable.find(full) != kVoiceable.npos) joined = full + 1;
      else if (mark == kHalfSemiVoiced && kSemiVoiceable.find(full) != kSemiVoiceable.npos) joined = full + 2;
      if (joined) ++i;
      out.push_back(joined ? joined : full);
    } else if (size_t at = kHalfSigns.find(c); at != kHalfSigns.npos) {
      out.push_back(static_cast<char16_t>(0xFFE0 + at));
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// The half-width form of a full-width katakana, or 0.
char16_t halfKana(char16_t full) {
  size_t at = kHalfKana.find(full);
  return at == kHalfKana.npos ? 0 : static_cast<char16_t>(kHalfFirst + at);
}

std::u16string toNarrow(std::u16string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (char16_t c : s) {
    if (c >= 0xFF01 && c <= 0xFF5E) {
      out.push_back(static_cast<char16_t>(c - 0xFEE0));
    } else if (c == 0x3000) {
      out.push_back(u' ');
    } else if (c >= 0xFFE0 && c < 0xFFE0 + kHalfSigns.size()) {
      out.push_back(kHalfSigns[c - 0xFFE0]);
    } else if (char16_t h = halfKana(c)) {
      out.push_back(h);
    } else if (c == kVu) {
      out += {halfKana(kU), kHalfVoiced};
    } else if (kVoiceable.find(static_cast<char16_t>(c - 1)) != kVoiceable.npos) {
      out += {halfKana(static_cast<char16_t>(c - 1)), kHalfVoiced};
    } else if (kSemiVoiceable.find(static_cast<char16_t>(c - 2)) != kSemiVoiceable.npos) {
      out += {halfKana(static_cast<char16_t>(c - 2)), kHalfSemiVoiced};
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// Hiragana U+3041..U+3096 and the iteration marks ゝゞ sit 0x60 below their
// katakana.
std::u16string shiftKana(std::u16string_view s, bool toKatakana) {
  std::u16string out(s);
  for (char16_t& c : out) {
    bool hira = (c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E;
    bool kata = (c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE;
    if (toKatakana && hira) c += 0x60;
    else if (!toKatakana && kata) c -= 0x60;
  }
  return out;
}

// Code-page bytes held two to a unit, low byte first.
std::u16string packBytes(const std::string& bytes) {
  std::u16string out;
  out.reserve((bytes.size() + 1) / 2);
  for (size_t i = 0; i < bytes.size(); i += 2) {
    unsigned lo = static_cast<unsigned char>(bytes[i]);
    unsigned hi = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    out.push_back(static_cast<char16_t>(lo | hi << 8));
  }
  return out;
}

std::string unpackBytes(std::u16string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  for (size_t i = 0; i < s.size(); ++i) {
    out.push_back(static_cast<char>(s[i] & 0xFF));
    // A last unit with an empty high byte held one byte only.
    if (i + 1 < s.size() || (s[i] >> 8) != 0) out.push_back(static_cast<char>(s[i] >> 8));
  }
  return out;
}

}  // namespace

std::u16string convertText(std::u16string_view s, int32_t conversion) {
  auto both = [&](int32_t a, int32_t b) { return (conversion & a) && (conversion & b); };
  if (conversion < 0 || conversion > 255 || both(conv::Wide, conv::Narrow) ||
      both(conv::Katakana, conv::Hiragana) || both(conv::Unicode, conv::FromUnicode))
    rt::raise(rt::err::InvalidCall);
  std::u16string t = (conversion & conv::Unicode) ? rt::fromAnsi(unpackBytes(s)) : std::u16string(s);
  switch (conversion & conv::Proper) {
    case conv::Upper: t = rt::toUpper(t); break;
    case conv::Lower: t = rt::toLower(t); break;
    case conv::Proper: t = properCase(t); break;
    default: break;
  }
  if (conversion & conv::Wide) t = toWide(t);
  if (conversion & conv::Narrow) t = toNarrow(t);
  if (conversion & conv::Katakana) t = shiftKana(t, true);
  if (conversion & conv::Hiragana) t = shiftKana(t, false);
  if (conversion & conv::FromUnicode) t = packBytes(rt::toAnsi(t));
  return t;
}

}  // namespace engine
