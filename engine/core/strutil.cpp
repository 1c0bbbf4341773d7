#include "core/strutil.h"

#include "rt/strings.h"

namespace engine {

std::u16string replaceNoCase(std::u16string_view s, std::u16string_view find,
                             std::u16string_view with) {
  std::u16string out;
  size_t from = 0;
  for (size_t at; !find.empty() && (at = rt::findNoCase(s, find, from)) != std::u16string_view::npos;
       from = at + find.size()) {
    out.append(s.substr(from, at - from));
    out.append(with);
  }
  out.append(s.substr(from));
  return out;
}

std::u16string addQuotes(std::u16string_view s) {
  std::u16string out(u"\"");
  out.append(s);
  out += u'"';
  return out;
}

}  // namespace engine
