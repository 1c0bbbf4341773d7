#include "values.h"

#include "edition.h"
#include "newobject.h"
#include "rt/activation.h"
#include "rt/dispatch.h"
#include "rt/error.h"
#include "rt/text.h"

namespace appiface {

namespace {

rt::Ref<zorbel::ScriptValue> typed(std::string_view progId) {
  return newObject<zorbel::ScriptValue>(rt::classIdOf(progId));
}

}  // namespace

rt::Ref<zorbel::ScriptValue> booleanValue(bool b) {
  rt::Ref<zorbel::ScriptValue> v = typed("Fennick.SvBoolean");
  v->letValue(rt::Variant(b));
  return v;
}

rt::Ref<zorbel::ScriptValue> answerValue(const rt::Variant& v) {
  if (v.isObject()) return objectValue(v);
  rt::Ref<zorbel::ScriptValue> holder = typed("Fennick.SvVariant");
  holder->letValue(v);
  return holder;
}

rt::Ref<zorbel::ScriptValue> collectionValue(jespin::IVValues& answers) {
  rt::Ref<zorbel::ScriptValue> coll = typed("Fennick.SvCollection");
  for (int32_t i = 1; i <= answers.count(); ++i) {
    rt::Variant item(answerValue(answers.item(rt::Variant(i))->value()));
    rt::callByName(coll.get(), u"Add", rt::Method, std::span<rt::Variant>(&item, 1));
  }
  return coll;
}

rt::Ref<zorbel::ScriptValue> objectValue(const rt::Variant& v) {
  if (!v.isObject()) rt::raise(rt::err::ObjectRequired);
  rt::Ref<zorbel::ScriptValue> holder = typed("Fennick.SvObject");
  holder->setValue(v);
  return holder;
}

rt::Ref<zorbel::ScriptValue> textValue(std::u16string_view text) {
  rt::Ref<zorbel::ScriptValue> v =
      rt::queryRef<zorbel::ScriptValue>(rt::createObject(u"Fennick.SvString").get());
  if (!v) rt::raise(rt::err::NoAutomation, u"Fennick.SvString");
  v->letValue(rt::Variant(text));
  return v;
}

rt::Ref<zorbel::ScriptValue> singleValue(std::u16string_view text) {
  rt::Ref<zorbel::ScriptValue> v = newObject<zorbel::ScriptValue>(kEdition.singleClsid);
  v->letValue(rt::Variant(text));
  return v;
}

rt::Variant firstAnswer(jespin::IVValues& answers) {
  return answers.item(rt::Variant(int32_t{1}))->value();
}

rt::Ref<jespin::IVValues> newList() { return newObject<jespin::IVValues>(jespin::IVValues::clsid); }

}  // namespace appiface
