// What the engine's two script spaces (SsRoot, SsBody) share beyond the
// ScriptSpace interface: lookups that create nothing, and the creation of
// typed values from the type map.  Each space reports its binding changes
// (bindings.h).
#pragma once

#include <string>
#include <string_view>

#include "core/bindings.h"
#include "jespin/values.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace engine {

class Space : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Kestrin.Space");

  // The value `name` resolves to here or in an ancestor (at the root: a
  // variable, else a library function), or null.  Nothing is created, and
  // the name is looked up once along the chain.
  virtual rt::Ref<zorbel::ScriptValue> find(std::u16string_view name) = 0;

  // The variable bound to `name` here or in an ancestor, or null; also null
  // where the answer could change without the binding epoch moving (a name
  // that only a library or another kind of space answers).
  virtual zorbel::ScriptValue* findBound(std::u16string_view name) = 0;

  // Unbinds every name bound here.  A host that is freed does this, so that
  // what its scripts made is freed even when it refers back to the space
  // (a sub-host kept in a variable has this space as its parent).
  virtual void unbindAll() = 0;
};

// unbindAll on an engine space; nothing on any other.
void unbindAllIn(zorbel::ScriptSpace* ss);

// A local binding that takes a rebinding of its name itself instead of
// being replaced by it: a user function's result slot, so that "Set F = v"
// inside F makes v the result while F stays callable there.
class Rebindable : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Kestrin.Rebindable");

  // `v` is null for Nothing.
  virtual void rebind(zorbel::ScriptValue* v) = 0;
};

// find on an engine space; ExistValue then Value on any other.
rt::Ref<zorbel::ScriptValue> findIn(zorbel::ScriptSpace& ss, std::u16string_view name);

// The ProgID the type map gives a type name (case ignored); false when the
// map has no such type.
bool progIdOf(jespin::IVValues& typeDefs, std::u16string_view typeName, std::u16string& progId);

// A new value of the class a ProgID names, keyed `name`.  Raises when the
// class cannot be created (429) or is no script value (430).
rt::Ref<zorbel::ScriptValue> newTypedValue(std::u16string_view progId, std::u16string_view name);

// The members scripts reach a space by: the ScriptSpace operations.
template <class T>
rt::MemberTable<T> spaceMembers(std::u16string className) {
  using Value = rt::Ref<zorbel::ScriptValue>;
  using Name = const std::u16string&;
  return rt::MemberTable<T>(std::move(className))
      .get(u"Parent", [](T& s) { return s.parent(); })
      .set(u"Parent", [](T& s, rt::Ref<zorbel::ScriptSpace> p) { s.setParent(p.get()); })
      .get(u"Value", [](T& s, Name name) { return s.value(name); })
      .let(u"Value", [](T& s, Name name, Value v) { s.letValue(name, v.get()); })
      .set(u"Value", [](T& s, Name name, Value v) { s.setValue(name, v.get()); })
      .get(u"ExistValue", [](T& s, Name name) { return s.existValue(name); })
      .prop(u"RunStop", [](T& s) { return s.runStop(); }, [](T& s, bool b) { s.setRunStop(b); })
      .prop(u"ErrCode", [](T& s) { return s.errCode(); }, [](T& s, int32_t c) { s.setErrCode(c); })
      .prop(u"ErrString", [](T& s) { return s.errString(); },
            [](T& s, Name t) { s.setErrString(t); })
      .get(u"TypeDefs", [](T& s) { return s.typeDefs(); })
      .method(u"NewValue", [](T& s, Name name, Name type) { return s.newValue(name, type); })
      .get(u"WithStack", [](T& s) { return s.withStack(); })
      .get(u"Error", [](T& s) { return rt::Ref<jespin::IErrInfo>(&s.error()); });
}

}  // namespace engine
