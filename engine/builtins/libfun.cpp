#include "builtins/libfun.h"

#include "core/errors.h"
#include "rt/error.h"

namespace engine {

rt::Ref<zorbel::ScriptValue> argItem(zorbel::ScriptValue& list, int32_t i) {
  rt::Ref<zorbel::ScriptValue> item = list.subs(rt::Variant(i), zorbel::ModeValue);
  if (!item) {
    if (list.hasError()) raiseRecorded(list.error());
    rt::raise(rt::err::ArgumentNotOptional);
  }
  return item;
}

rt::Variant argValue(zorbel::ScriptValue& list, int32_t i) { return argItem(list, i)->value(); }

void letArgValue(zorbel::ScriptValue& list, int32_t i, const rt::Variant& v) {
  rt::Ref<zorbel::ScriptValue> item = argItem(list, i);
  item->letValue(v);
  if (item->hasError()) raiseRecorded(item->error());
}

}  // namespace engine
