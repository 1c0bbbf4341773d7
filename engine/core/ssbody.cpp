#include "core/ssbody.h"

#include "builtins/svconstant.h"
#include "builtins/svcopy.h"
#include "builtins/svcreate.h"
#include "builtins/svgeneral.h"
#include "core/bindings.h"
#include "rt/text.h"

namespace engine {

namespace {

constexpr std::u16string_view kNewValue = u"ScriptSpace_NewValue";

[[noreturn]] void noParent() { rt::raise(rt::err::ObjectNotSet); }

}  // namespace

// What Set binds a name to: the value object itself, so that afterwards
// the name and whatever else stands for that object stand for the same one,
// whatever kind of value it is.  A value bound under another name is bound
// through an alias, which keeps that name's Key.  A constant (Nothing,
// ScriptHost) never changes: the name gets a new holder of the object it
// holds, as CreateObject makes one, or a variable holding Nothing, so that
// "x = 1" goes on working after "Set x = Nothing".
rt::Ref<zorbel::ScriptValue> setBinding(zorbel::ScriptSpace& ss, std::u16string_view name,
                                        zorbel::ScriptValue* v) {
  if (v->query(Constant::iid)) {
    const rt::Variant held = v->value();
    rt::Ref<zorbel::ScriptValue> holder = held.isObject() && !held.isNothing()
                                              ? objectHolder(&ss, held.object())
                                              : SvGeneral::holding(held);
    holder->setKey(name);
    return holder;
  }
  if (!(v->flag() & zorbel::FlagCall) && !v->key().empty() && !rt::equalsNoCase(v->key(), name))
    return rt::make<SvCopy>(name, v);
  v->setKey(name);
  return v;
}

const rt::MemberTable<SsBody>& SsBody::members() {
  static const auto table = spaceMembers<SsBody>(u"SsBody");
  return table;
}

SsBody::SsBody() : orphan_(u"SsBody") {}
SsBody::~SsBody() = default;

void SsBody::setParent(zorbel::ScriptSpace* space) {
  // A space that became its own ancestor would send every lookup round
  // the loop for ever.  The chain above `space` has no loop, so this ends.
  // A space that nothing else holds is no space's parent (a child holds
  // its parent): a call's new space is given its caller without a walk.
  if (refCount() > 1)
    for (rt::Ref<zorbel::ScriptSpace> up(space); up; up = up->parent())
      if (up.get() == this)
      rt::raiseWith(rt::err::InvalidCall,
                    rt::errorText(rt::err::InvalidCall) + u"：脚本空间不能成为自己的上级空间",
                    u"ScriptSpace_Parent");
  parent_ = space;
  setEnclosing(space ? EngineSpaces::of(*space) : nullptr);
}

rt::Ref<zorbel::ScriptValue> SsBody::find(std::u16string_view name) {
  if (zorbel::ScriptValue* v = local(name)) return v;
  if (!parent_) return nullptr;
  rt::stack::check();
  if (Space* up = enclosing()) return up->find(name);
  return findIn(*parent_, name);
}

rt::Ref<zorbel::ScriptValue> SsBody::value(std::u16string_view name) {
  if (rt::Ref<zorbel::ScriptValue> v = find(name)) return v;
  return bindNewVariable(name);
}

void SsBody::letValue(std::u16string_view name, zorbel::ScriptValue* v) {
  rt::Ref<zorbel::ScriptValue> keep(v);
  if (!v) rt::raise(rt::err::ObjectNotSet);
  // An ancestor's name takes the assignment there (a library function
  // object refuses it in its own record).
  if (rt::Ref<zorbel::ScriptValue> bound = find(name)) {
    bound->letValue(v->value());
    return;
  }
  v->setKey(name);
  bindUnderKey(v);
}

bool SsBody::bindNew(std::u16string_view name, zorbel::ScriptValue* v, ShapeStep* step) {
  if (!v || !bind(v, name, step)) return false;
  v->setKey(name);
  return true;
}

void SsBody::reset() {
  unbindAll();
  setParent(nullptr);
}

bool SsBody::existValue(std::u16string_view name) {
  if (local(name)) return true;
  if (!parent_) return false;
  rt::stack::check();
  return parent_->existValue(name);
}

void SsBody::setRunStop(bool stop) {
  if (zorbel::ScriptSpace* up = upward()) up->setRunStop(stop);
}

void SsBody::setErrCode(int32_t code) {
  if (zorbel::ScriptSpace* up = upward()) up->setErrCode(code);
}

void SsBody::setErrString(std::u16string_view text) {
  if (zorbel::ScriptSpace* up = upward()) up->setErrString(text);
}

rt::Ref<jespin::IVValues> SsBody::typeDefs() {
  if (!parent_) noParent();
  rt::stack::check();
  return parent_->typeDefs();
}

rt::Ref<jespin::IVStack> SsBody::withStack() {
  if (!parent_) noParent();
  rt::stack::check();
  return parent_->withStack();
}

// The shared record is cleared first, so an earlier error is never blamed on
// this declaration.
rt::Ref<zorbel::ScriptValue> SsBody::newValue(std::u16string_view name,
                                              std::u16string_view typeName) {
  jespin::IErrInfo& rec = error();
  rec.clear();
  try {
    std::u16string progId;
    if (local(name)) {
      engine::setErrCode(rec, ErrDefinedTwice, kNewValue);
    } else if (!progIdOf(*typeDefs(), typeName, progId)) {
      setErrCode(ErrBadType);
      engine::setErrCode(rec, ErrBadType, kNewValue);
    } else {
      rt::Ref<zorbel::ScriptValue> v = newTypedValue(progId, name);
      bindUnderKey(v.get());
      return v;
    }
  } catch (const rt::RuntimeError& e) {
    rec.readError(e.number(), e.source(), e.description(), kNewValue);
  }
  return nullptr;
}

}  // namespace engine
