#include "values.h"

#include "kestrin/values.h"
#include "rt/activation.h"
#include "rt/error.h"

namespace halvorn {

namespace {

rt::Ref<zorbel::ScriptValue> asValue(rt::Ref<rt::Object> o, std::u16string_view name) {
  rt::Ref<zorbel::ScriptValue> v = rt::queryRef<zorbel::ScriptValue>(o.get());
  if (!v) rt::raise(rt::err::NoAutomation, name);
  return v;
}

}  // namespace

rt::Ref<zorbel::ScriptValue> singleValue(const rt::Variant& v) {
  rt::Ref<zorbel::ScriptValue> single =
      asValue(rt::createInstance(kestrin::kSvSingleClsid), u"Kestrin.SvSingle");
  single->letValue(v);
  return single;
}

rt::Ref<zorbel::ScriptValue> typedValue(std::u16string_view progId, const rt::Variant& v) {
  rt::Ref<zorbel::ScriptValue> typed = asValue(rt::createObject(progId), progId);
  typed->letValue(v);
  return typed;
}

rt::Ref<zorbel::ScriptValue> objectValue(const rt::Variant& v) {
  rt::Ref<zorbel::ScriptValue> held = asValue(rt::createObject(u"Fennick.SvObject"), u"Fennick.SvObject");
  held->setValue(v);
  return held;
}

}  // namespace halvorn
