#include "core/evalsupport.h"

#include "builtins/svcopy.h"
#include "builtins/svgeneral.h"
#include "rt/ops.h"

namespace engine {

bool truthOf(const rt::Variant& v) {
  switch (v.type()) {
    case rt::VT::Object: return v.object() != nullptr;
    case rt::VT::String: return !v.text().empty();
    case rt::VT::Boolean:
    case rt::VT::Integer: return v.integer() != 0;
    case rt::VT::Long: return v.longValue() != 0;
    case rt::VT::Double: return v.dbl() != 0;
    case rt::VT::Empty: return false;
    case rt::VT::Null: return true;
    default: return rt::compare(v, rt::Variant(int16_t{0}), rt::CompareMode::Binary) != rt::Cmp::Equal;
  }
}

bool valueToBool(zorbel::ScriptValue* v) { return v && truthOf(v->value()); }

bool isArgumentList(zorbel::ScriptValue& sv) {
  if (!(sv.flag() & zorbel::FlagList)) return false;
  zorbel::ScriptValue* v = &sv;
  if (auto* alias = static_cast<kestrin::ISvCopy*>(v->query(kestrin::ISvCopy::iid)))
    v = static_cast<SvCopy*>(alias)->target();
  return v && v->query(kestrin::ISvGeneral::iid);
}

void addFlatSubs(SvGeneral& target, zorbel::ScriptValue& v) {
  if (!(v.flag() & zorbel::FlagList)) {
    target.addSubs(&v);
    return;
  }
  const int32_t n = v.count();
  for (int32_t i = 1; i <= n; ++i) target.addSubs(v.subs(rt::Variant(i), zorbel::ModeValue).get());
}

}  // namespace engine
