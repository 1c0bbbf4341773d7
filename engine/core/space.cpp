#include "core/space.h"

#include "rt/activation.h"
#include "rt/convert.h"

namespace engine {

rt::Ref<zorbel::ScriptValue> findIn(zorbel::ScriptSpace& ss, std::u16string_view name) {
  if (auto* own = static_cast<Space*>(ss.query(Space::iid))) return own->find(name);
  return ss.existValue(name) ? ss.value(name) : nullptr;
}

void unbindAllIn(zorbel::ScriptSpace* ss) {
  if (auto* own = ss ? static_cast<Space*>(ss->query(Space::iid)) : nullptr) own->unbindAll();
}

bool progIdOf(jespin::IVValues& typeDefs, std::u16string_view typeName, std::u16string& progId) {
  if (!typeDefs.exist(typeName)) return false;
  progId = rt::toText(typeDefs.item(rt::Variant(typeName))->value());
  return true;
}

rt::Ref<zorbel::ScriptValue> newTypedValue(std::u16string_view progId, std::u16string_view name) {
  rt::Ref<zorbel::ScriptValue> v = rt::queryRef<zorbel::ScriptValue>(rt::createObject(progId).get());
  if (!v) rt::raise(rt::err::NoAutomation, progId);
  v->setKey(name);
  return v;
}

}  // namespace engine
