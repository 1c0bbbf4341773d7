// The Date library (SvDateFuns): the clock, and computing with dates.
// Text-gathering frame; a date argument arrives as the locale's text for it
// and is read back by the same rules.  A wrong count records 1005 with
// Source "DateFuns".
#pragma once

#include <span>
#include <string_view>

#include "builtins/textfun.h"

namespace engine {

class SvDateFuns final : public TextLibFun<SvDateFuns> {
 public:
  static constexpr std::u16string_view kClassName = u"SvDateFuns";
  static constexpr bool kPlainArgs = true;
  static constexpr std::u16string_view kSource = u"DateFuns";
  static std::span<const TextFun> functions();
};

}  // namespace engine
