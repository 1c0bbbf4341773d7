// The WinComm library (SvWinComm): Beep, MsgBox and InputBox, through the
// runtime's UI host.  Text-gathering frame; a wrong count records 1005 with
// Source "WinComm" and shows nothing.
#pragma once

#include <span>
#include <string_view>

#include "builtins/textfun.h"

namespace engine {

class SvWinComm final : public TextLibFun<SvWinComm> {
 public:
  static constexpr std::u16string_view kClassName = u"SvWinComm";
  static constexpr bool kPlainArgs = true;
  static constexpr std::u16string_view kSource = u"WinComm";
  static std::span<const TextFun> functions();
};

}  // namespace engine
