#include "modstr.h"

#include "rt/error.h"
#include "rt/filenames.h"

namespace halvorn {

std::u16string stripQuotes(std::u16string_view text) {
  if (text == u"\"") rt::raise(rt::err::InvalidCall);
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"')
    return std::u16string(text.substr(1, text.size() - 2));
  return std::u16string(text);
}

std::u16string bracket(std::u16string_view text) { return u"[" + rt::fs::shownName(text) + u"]"; }

}  // namespace halvorn
