#include "builtins/libfun.h"

#include "core/errors.h"
#include "rt/error.h"

namespace engine {

namespace {

[[noreturn]] void raiseErrorOf(zorbel::ScriptValue& v) { raiseRecorded(v.error()); }

}  // namespace

rt::Ref<zorbel::ScriptValue> argItem(zorbel::ScriptValue& list, int32_t i) {
  rt::Ref<zorbel::ScriptValue> item = list.subs(rt::Variant(i), zorbel::ModeValue);
  if (!item) {
    if (list.hasError()) raiseErrorOf(list);
    rt::raise(rt::err::ArgumentNotOptional);
  }
  return item;
}

rt::Variant argValue(zorbel::ScriptValue& list, int32_t i) { return argItem(list, i)->value(); }

void letArgValue(zorbel::ScriptValue& list, int32_t i, const rt::Variant& v) {
  rt::Ref<zorbel::ScriptValue> item = argItem(list, i);
  item->letValue(v);
  if (item->hasError()) raiseErrorOf(*item);
}

}  // namespace engine
