// The Math library (SvMathFuns): Abs, Atn, Cos, Exp, Fix, Int, Log, Rnd,
// Sgn, Sin, Sqr, Tan.  Unlike the text-gathering libraries it works on the
// Value of the argument object itself (an argument list passes its own
// value); a call without an argument records 1005 and gives Nothing; a Key
// that names none of its functions hands the argument back unchanged.
#pragma once

#include "builtins/libfun.h"

namespace engine {

class SvMathFuns final : public LibFun<SvMathFuns> {
 public:
  static constexpr std::u16string_view kClassName = u"SvMathFuns";

  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;
};

}  // namespace engine
