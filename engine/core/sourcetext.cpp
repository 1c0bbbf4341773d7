#include "core/sourcetext.h"

#include "core/errors.h"

namespace engine {

std::u16string clearSptRem(std::u16string_view s, bool& inBlockComment) {
  std::u16string out;
  bool inQuotes = false;
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    char16_t next = i + 1 < s.size() ? s[i + 1] : u'\0';
    if (inBlockComment) {
      if (c == u'*' && next == u'/') {
        inBlockComment = false;
        ++i;
      }
      continue;
    }
    if (c == u'"') {
      inQuotes = !inQuotes;
    } else if (!inQuotes) {
      if ((c == u'/' && next == u'/') || c == u'\'') break;
      if (c == u'/' && next == u'*') {
        inBlockComment = true;
        ++i;
        continue;
      }
    }
    out += c;
  }
  if (inQuotes) raiseCode(ErrQuote, qualifiedSource(u"ScriptHost.ClearSptRem"));
  return out;
}

std::u16string_view trimBlanks(std::u16string_view s) {
  size_t b = s.find_first_not_of(u' ');
  if (b == std::u16string_view::npos) return {};
  size_t e = s.find_last_not_of(u' ');
  return s.substr(b, e - b + 1);
}

}  // namespace engine
