#include "builtins/svcopy.h"

#include "rt/error.h"

namespace engine {

const rt::MemberTable<SvCopy>& SvCopy::members() {
  static const auto table =
      rt::MemberTable<SvCopy>(u"SvCopy")
          .method(u"Init", [](SvCopy& c, const std::u16string& key, const rt::Variant& sv) {
            rt::Object* o = rt::objectArg(sv);
            rt::Ref<zorbel::ScriptValue> v = rt::queryRef<zorbel::ScriptValue>(o);
            if (o && !v) rt::raise(rt::err::TypeMismatch);
            c.init(key, v.get());
          });
  return table;
}

// An alias of an alias binds to the value at the end of the chain: it
// forwards the same way, and deep recursion through by-reference
// parameters does not build forwarding chains as deep as the recursion.
void SvCopy::init(std::u16string_view key, zorbel::ScriptValue* sv) {
  while (sv) {
    auto* alias = static_cast<kestrin::ISvCopy*>(sv->query(kestrin::ISvCopy::iid));
    if (!alias) break;
    if (alias == static_cast<kestrin::ISvCopy*>(this) && !target_) rt::raise(rt::err::InvalidCall);
    sv = static_cast<SvCopy*>(alias)->target();
  }
  key_ = key;
  target_ = sv;
}

int32_t SvCopy::count() {
  if (target_) return target_->count();
  notBound(u"ScriptValue_Count");
  return 0;
}

rt::Variant SvCopy::value() {
  if (target_) return target_->value();
  notBound(u"Get_ScriptValue_Value");
  return rt::Variant();
}

void SvCopy::letValue(const rt::Variant& v) {
  if (target_) target_->letValue(v);
  else notBound(u"Let_ScriptValue_Value");
}

void SvCopy::setValue(const rt::Variant& v) {
  if (target_) target_->setValue(v);
  else notBound(u"Set_ScriptValue_Value");
}

rt::Ref<zorbel::ScriptValue> SvCopy::attr(std::u16string_view name) {
  if (target_) return target_->attr(name);
  notBound(u"ScriptValue_Attr");
  return nullptr;
}

rt::Ref<zorbel::ScriptValue> SvCopy::subs(const rt::Variant& index, int32_t rf) {
  if (target_) return target_->subs(index, rf);
  notBound(u"ScriptValue_Subs");
  return nullptr;
}

rt::Ref<zorbel::ScriptValue> SvCopy::funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                             int32_t reFlag) {
  if (target_) return target_->funCall(ss, sv, reFlag);
  notBound(u"ScriptValue_FunCall");
  return nullptr;
}

rt::Ref<zorbel::ScriptValue> SvCopy::objAttr(std::u16string_view name) {
  return target_ ? target_->objAttr(name) : nullptr;
}

}  // namespace engine
