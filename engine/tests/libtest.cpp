#include "libtest.h"

#include "core/errors.h"
#include "rt/convert.h"
#include "testsupport.h"

namespace enginetest {

rt::Ref<engine::SvGeneral> argList(std::initializer_list<rt::Variant> args) {
  rt::Ref<engine::SvGeneral> list = rt::make<engine::SvGeneral>();
  for (const rt::Variant& a : args) list->addSubs(engine::SvSingle::of(a).get());
  return list;
}

Outcome call(zorbel::ScriptValue& fn, zorbel::ScriptValue* args) {
  rt::Ref<zorbel::ScriptValue> r = fn.funCall(nullptr, args, zorbel::ModeValue);
  Outcome o;
  if (!r) {
    o.value = "Nothing";
  } else {
    rt::Variant v = r->value();
    o.value = utf8(rt::typeNameOf(v.type()));
    if (!v.isEmpty() && !v.isNull()) o.value += " " + utf8(rt::toText(v));
  }
  if (fn.hasError()) {
    int32_t n = fn.error().number();
    bool own = static_cast<uint32_t>(n) >= 0x80040000u && static_cast<uint32_t>(n) < 0x80050000u;
    o.error = std::to_string(own ? n - engine::errNumber(0) : n) + " " + utf8(fn.error().source());
  }
  return o;
}

}  // namespace enginetest
