#include "core/strutil.h"

#include "rt/error.h"
#include "rt/finder.h"
#include "rt/strings.h"

namespace engine {

std::u16string replaceText(std::u16string_view s, std::u16string_view find,
                           std::u16string_view with, int32_t count, bool noCase) {
  const rt::TextFinder finder(find, noCase);  // prepared once for every match
  auto next = [&](size_t from) { return finder.find(s, from); };
  std::u16string out;
  out.reserve(s.size());  // most replacements change the length little
  size_t from = 0;
  for (size_t at; count != 0 && !find.empty() && (at = next(from)) != std::u16string_view::npos;
       from = at + find.size(), count -= count > 0) {
    rt::ensureTextRoom(out.size(), (at - from) + with.size());
    out.append(s.substr(from, at - from));
    out.append(with);
  }
  rt::ensureTextRoom(out.size(), s.size() - from);
  out.append(s.substr(from));
  return out;
}

std::u16string replaceNoCase(std::u16string_view s, std::u16string_view find,
                             std::u16string_view with) {
  return replaceText(s, find, with, -1, true);
}

std::u16string addQuotes(std::u16string_view s) {
  std::u16string out(u"\"");
  out.append(s);
  out += u'"';
  return out;
}

}  // namespace engine
