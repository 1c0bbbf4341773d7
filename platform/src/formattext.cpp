// Format sections: splitting a format, telling what a section formats, and
// text sections (@ a character or a space, & a character or nothing, < lower
// case, > upper case, ! fill from the left).
#include <string>

#include "formatparts.h"
#include "rt/text.h"

namespace rt::fmt {

std::vector<Section> splitSections(std::u16string_view format) {
  std::vector<Section> sections(1);
  for (size_t i = 0; i < format.size(); ++i) {
    char16_t c = format[i];
    if (c == u'"') {
      size_t end = format.find(u'"', i + 1);
      if (end == std::u16string_view::npos) end = format.size();
      for (size_t k = i + 1; k < end; ++k) sections.back().push_back({format[k], true});
      i = end;
    } else if (c == u'\\') {
      if (++i < format.size()) sections.back().push_back({format[i], true});
    } else if (c == u';') {
      sections.emplace_back();
    } else {
      sections.back().push_back({c, false});
    }
  }
  return sections;
}

Kind kindOf(const Section& s) {
  for (size_t i = 0; i < s.size(); ++i) {
    const Piece& p = s[i];
    if (p.quoted) continue;
    switch (p.ch) {
      case u'0':
      case u'#':
      case u'.':
      case u'%': return Kind::Number;
      case u'@':
      case u'&': return Kind::Text;
      default:
        if (isDateToken(s, i)) return Kind::Date;
    }
  }
  return Kind::Literal;
}

std::u16string formatTextSection(std::u16string_view text, const Section& s) {
  enum class Case { Keep, Lower, Upper } change = Case::Keep;
  bool fromLeft = false;
  size_t slots = 0;
  for (const Piece& p : s) {
    if (p.quoted) continue;
    if (p.ch == u'<') change = Case::Lower;
    else if (p.ch == u'>') change = Case::Upper;
    else if (p.ch == u'!') fromLeft = true;
    else if (p.ch == u'@' || p.ch == u'&') ++slots;
  }
  std::u16string t = change == Case::Lower   ? toLower(text)
                     : change == Case::Upper ? toUpper(text)
                                             : std::u16string(text);
  // Slot k (from 0) takes character k + shift; filling from the right, the
  // text lines up with the last slot and the first slot takes any extra.
  size_t length = t.size();
  ptrdiff_t shift = fromLeft ? 0 : static_cast<ptrdiff_t>(length) - static_cast<ptrdiff_t>(slots);
  std::u16string out;
  size_t slot = 0;
  for (const Piece& p : s) {
    bool placeholder = !p.quoted && (p.ch == u'@' || p.ch == u'&');
    if (!placeholder) {
      if (p.quoted || (p.ch != u'<' && p.ch != u'>' && p.ch != u'!')) out.push_back(p.ch);
      continue;
    }
    if (slot == 0 && shift > 0) out.append(t, 0, static_cast<size_t>(shift));
    ptrdiff_t at = static_cast<ptrdiff_t>(slot) + shift;
    if (at >= 0 && at < static_cast<ptrdiff_t>(length)) out.push_back(t[at]);
    else if (p.ch == u'@') out.push_back(u' ');
    if (++slot == slots && fromLeft && length > slots) out.append(t, slots, std::u16string::npos);
  }
  if (slots == 0) out += t;
  return out;
}

}  // namespace rt::fmt
