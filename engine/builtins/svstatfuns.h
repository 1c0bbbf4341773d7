// The MathStat library (SvStatFuns): Sum and Average of every argument of
// the call, or of the items of one list value (a collection).  No limit of
// ten and no count check; nested lists are not walked (an item that is a
// list counts with its own Value).  Any other Key gives Integer 0.
#pragma once

#include <string_view>

#include "builtins/libfun.h"

namespace engine {

class SvStatFuns final : public LibFun<SvStatFuns> {
 public:
  static constexpr std::u16string_view kClassName = u"SvStatFuns";

  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;
};

// A new MathStat function object keyed `key` (x.sum of a general value).
rt::Ref<zorbel::ScriptValue> newStatFun(std::u16string_view key);

}  // namespace engine
