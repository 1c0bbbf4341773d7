#include "builtins/svsingle.h"

namespace engine {

const rt::MemberTable<SvSingle>& SvSingle::members() {
  static const rt::MemberTable<SvSingle> table{u"SvSingle"};
  return table;
}

int32_t SvSingle::count() {
  err_.setCode(ErrNotSupported, u"ScriptValue_Count");
  return 0;
}

// The value is taken as it comes: an object inside stays a reference.
void SvSingle::letValue(const rt::Variant& v) {
  err_.clear();
  value_ = v;
}

void SvSingle::setValue(const rt::Variant& v) {
  err_.clear();
  value_ = v;
}

rt::Ref<zorbel::ScriptValue> SvSingle::attr(std::u16string_view) {
  err_.setCode(ErrNotSupported, u"ScriptValue_Attr");
  return nullptr;
}

rt::Ref<zorbel::ScriptValue> SvSingle::subs(const rt::Variant&, int32_t) {
  err_.setCode(ErrNotSupported, u"ScriptValue_Subs");
  return nullptr;
}

rt::Ref<zorbel::ScriptValue> SvSingle::funCall(zorbel::ScriptSpace*, zorbel::ScriptValue*, int32_t) {
  err_.setCode(ErrNotSupported, u"ScriptValue_FunCall");
  return nullptr;
}

}  // namespace engine
