#include "vvalue.h"

#include "rt/convert.h"
#include "rt/strings.h"

namespace jespin {

const rt::MemberTable<VValue>& VValue::members() {
  using S = std::u16string;
  static const auto table =
      rt::MemberTable<VValue>(u"VValue")
          .prop(u"DataChanged", &VValue::dataChanged, &VValue::setDataChanged)
          .prop(u"Str", &VValue::str, [](VValue& v, S text) { v.setStr(text); })
          .prop(u"key", &VValue::key, [](VValue& v, S key) { v.setKey(key); })
          .let(u"Value", [](VValue& v, const rt::Variant& x) { v.letValue(x); })
          .set(u"Value", [](VValue& v, rt::Ref<rt::Object> o) { v.setValue(o.get()); })
          .get(u"Value", &VValue::value)
          .byDefault()
          .prop(u"Tag", &VValue::tag, [](VValue& v, S tag) { v.setTag(tag); })
          .get(u"Parent", &VValue::parent);
  return table;
}

std::u16string VValue::str() const {
  // Joined as "&" joins: Null reads as no text.
  return key_ + u"=" + (value_.isNull() ? std::u16string() : rt::toText(value_));
}

void VValue::setStr(std::u16string_view text) {
  key_ = rt::splitHead(text, u"=");
  value_ = rt::Variant(text);  // kept as text, never read as a number
  dataChanged_ = true;
}

void VValue::setKey(std::u16string_view key) { key_ = key; }

void VValue::setTag(std::u16string_view tag) { tag_ = tag; }

void VValue::letValue(const rt::Variant& value) {
  value_ = rt::valueOf(value);
  assigned();
}

void VValue::setValue(rt::Object* object) {
  value_ = rt::Variant(object);
  assigned();
}

void VValue::assigned() {
  dataChanged_ = true;
  if (owner_) {
    rt::Ref<VValue> keep(this);  // a listener may drop the list and with it this element
    owner_->elementChanged(*this);
  }
}

}  // namespace jespin
