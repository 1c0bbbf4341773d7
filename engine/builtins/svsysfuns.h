// The System library (SvSysFuns).  TypeName, IIf and Switch work on the
// argument objects themselves, so that a condition keeps its truth and a
// chosen value keeps its type and identity: IIf and Switch hand back the
// chosen argument object, with no new holder.  Every other name goes
// through the text frame: QBColor, RGB, Rnd, Randomize, DoEvents, Shell,
// Environ; a wrong count records 1005 with Source "SysFuns".
#pragma once

#include <span>
#include <string_view>

#include "builtins/textfun.h"

namespace engine {

class SvSysFuns final : public TextLibFun<SvSysFuns> {
 public:
  static constexpr std::u16string_view kClassName = u"SvSysFuns";
  static constexpr std::u16string_view kSource = u"SysFuns";
  static std::span<const TextFun> functions();

  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;
};

}  // namespace engine
