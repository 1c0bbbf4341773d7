#include "builtins/svcreate.h"

#include "builtins/libfun.h"
#include "builtins/svactivex.h"
#include "core/errors.h"
#include "core/space.h"
#include "rt/activation.h"
#include "rt/convert.h"

namespace engine {

namespace {

// The text of the argument's own value: the one form of the call.  No
// argument is a missing object; several make a list, whose value names no
// class.
std::u16string progIdArg(zorbel::ScriptValue* sv) {
  if (!sv) rt::raise(rt::err::ObjectNotSet);
  return rt::toText(sv->value());
}

// The wrapper CreateObject hands an object in: the class the type map gives
// "Object", or, with no such entry, an automation-object wrapper.
rt::Ref<zorbel::ScriptValue> newWrapper(zorbel::ScriptSpace* ss) {
  rt::Ref<jespin::IVValues> types = ss ? ss->typeDefs() : nullptr;
  std::u16string progId;
  if (types && progIdOf(*types, u"Object", progId)) return newTypedValue(progId, {});
  return rt::make<SvActiveX>();
}

}  // namespace

rt::Ref<zorbel::ScriptValue> objectHolder(zorbel::ScriptSpace* ss, rt::Object* object) {
  rt::Ref<zorbel::ScriptValue> holder = newWrapper(ss);
  holder->setValue(rt::Variant(object));
  if (holder->hasError()) raiseRecorded(holder->error());
  return holder;
}

rt::Ref<zorbel::ScriptValue> SvCreateObj::funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                                  int32_t) {
  err_.clear();
  try {
    rt::Ref<zorbel::ScriptValue> wrapper = newWrapper(ss);
    rt::Ref<rt::Object> object = rt::createObject(progIdArg(sv));
    wrapper->setValue(rt::Variant(object.get()));
    if (wrapper->hasError()) {
      err_.copy(wrapper->error(), kFunCallSource);
      return nullptr;
    }
    return wrapper;
  } catch (const rt::RuntimeError& e) {
    err_.trap(e, kFunCallSource);
    return nullptr;
  }
}

rt::Ref<zorbel::ScriptValue> SvNew::funCall(zorbel::ScriptSpace*, zorbel::ScriptValue* sv, int32_t) {
  err_.clear();
  try {
    const std::u16string progId = progIdArg(sv);
    rt::Ref<zorbel::ScriptValue> v = rt::queryRef<zorbel::ScriptValue>(rt::createObject(progId).get());
    if (!v) rt::raise(rt::err::NoAutomation, progId);
    return v;
  } catch (const rt::RuntimeError& e) {
    err_.trap(e, kFunCallSource);
    return nullptr;
  }
}

}  // namespace engine
