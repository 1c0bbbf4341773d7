// The String library (SvStrFuns): 31 text functions on the text-gathering
// frame, from Chr to StrReverse.  A wrong argument count records 1005 with
// Source "StrFuns" (Len then gives Integer 0).  Searches and replacements
// without a mode ignore case, StrComp without one does not.
#pragma once

#include <span>
#include <string_view>

#include "builtins/textfun.h"

namespace engine {

class SvStrFuns final : public TextLibFun<SvStrFuns> {
 public:
  static constexpr std::u16string_view kClassName = u"SvStrFuns";
  static constexpr bool kPlainArgs = true;
  static constexpr std::u16string_view kSource = u"StrFuns";
  static std::span<const TextFun> functions();

  // A text too long to build fails with the runtime's error 7, trapped like
  // any other failure, rather than ending the program.
  rt::Variant evalFun(const TextArgs& args);
};

}  // namespace engine
