// The Dir library (SvDirFuns): files and folders of the machine the engine
// runs on.  Text-gathering frame; the functions that change the file system
// give True when done, and False with 1005 (Source "DirFuns") when given too
// few arguments.  Count records nothing here.
#pragma once

#include <span>
#include <string_view>

#include "builtins/textfun.h"

namespace engine {

class SvDirFuns final : public TextLibFun<SvDirFuns> {
 public:
  static constexpr std::u16string_view kClassName = u"SvDirFuns";
  static constexpr bool kPlainArgs = true;
  static constexpr std::u16string_view kSource = u"DirFuns";
  static std::span<const TextFun> functions();
  int32_t count() override { return 0; }
};

}  // namespace engine
