// The conversion library (SvCTypes): CBool, CByte, CCur, CDate, CDbl, CDec,
// CInt, CLng, CSng, CStr and CVar convert the text of their first argument
// (further arguments are gathered and ignored).  Unlike the other text
// libraries it checks for a missing argument before it looks at the name:
// a call without one records 1005 with Source "cTypeFuns" and gives
// Integer 0.  Reading its Value gives Empty.
#pragma once

#include <span>
#include <string_view>

#include "builtins/textfun.h"

namespace engine {

class SvCTypes final : public TextLibFun<SvCTypes> {
 public:
  static constexpr std::u16string_view kClassName = u"SvCTypes";
  static constexpr bool kPlainArgs = true;
  static constexpr std::u16string_view kSource = u"cTypeFuns";
  static std::span<const TextFun> functions();

  rt::Variant evalFun(const TextArgs& args);
};

}  // namespace engine
