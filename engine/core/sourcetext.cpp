#include "core/sourcetext.h"

#include "core/errors.h"

namespace engine {

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
