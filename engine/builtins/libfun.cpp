#include "builtins/libfun.h"

#include "rt/error.h"

namespace engine {

rt::Variant argValue(zorbel::ScriptValue& list, int32_t i) {
  rt::Ref<zorbel::ScriptValue> item = list.subs(rt::Variant(i), zorbel::ModeValue);
  if (!item) {
    if (list.hasError()) {
      jespin::IErrInfo& e = list.error();
      rt::raiseWith(e.number(), e.description(), e.source());
    }
    rt::raise(rt::err::ArgumentNotOptional);
  }
  return item->value();
}

}  // namespace engine
