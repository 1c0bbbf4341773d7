// What the engine's two script spaces (SsRoot, SsBody) share beyond the
// ScriptSpace interface: the bindings each holds with their shape, lookups
// that create nothing, and the creation of typed values from the type map.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/libname.h"
#include "jespin/values.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace engine {

class IFunLibs;
class ScriptValues;

// A shape stands for the names bound in a space, in their order.  Binding a
// name at the end moves a space to the shape that follows its own by that
// name, shared with every space that bound the same names in the same order
// (the spaces of successive calls of one function); removing a binding
// gives a shape of its own.  Two spaces of one shape find a name at the same
// position, which is what lets the evaluator keep where a name resolved
// (bindings.h).
using Shape = uint64_t;
inline constexpr Shape kEmptyShape = 1;

// One step of shapes kept by code that binds the same name again and again
// in spaces of the same shape (a function's call binding its parameters),
// so that it need not be looked up each time.
struct ShapeStep {
  Shape from = 0;
  Shape to = 0;
};

class Space : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = ENGINE_IID("Space");

  // The value `name` resolves to here or in an ancestor (at the root: a
  // variable, else a library function), or null.  Nothing is created, and
  // the name is looked up once along the chain.
  virtual rt::Ref<zorbel::ScriptValue> find(std::u16string_view name) = 0;

  // Unbinds every name bound here.  A host that is freed does this, so that
  // what its scripts made is freed even when it refers back to the space
  // (a sub-host kept in a variable has this space as its parent).
  void unbindAll();

  // What name resolution reads: the names bound here, their shape, and
  // the parent when it is an engine space (null at the root, or when the
  // parent is another kind of space, which only its own lookup answers).
  ScriptValues& bindings() const { return *bindings_; }
  Shape shape() const { return shape_; }
  Space* enclosing() const { return enclosing_; }

  // The value bound to `name` here, or null.
  zorbel::ScriptValue* local(std::u16string_view name) const;

  // The function libraries a name bound nowhere is looked up in: the
  // root's; null for any other space.
  virtual IFunLibs* functionLibs() const { return nullptr; }

 protected:
  Space();
  ~Space() override;

  // Every change of the bindings goes through these, which keep the shape.
  // bind stores `v` under `name` at the end; false when the name is bound
  // here already.  `step`, when given, is the step this name took before,
  // used when it fits and kept otherwise.
  bool bind(zorbel::ScriptValue* v, std::u16string_view name, ShapeStep* step = nullptr);
  // Binds `v` under its own Key, as ScriptValues::addObj stores it; never
  // raises (false instead).
  bool bindUnderKey(zorbel::ScriptValue* v);
  // A new variable holding the Integer 0.
  rt::Ref<zorbel::ScriptValue> bindNewVariable(std::u16string_view name);
  bool unbind(std::u16string_view name);
  // Binds `v` under `name`, bound here already, at the same position: the
  // shape stays, and a name kept where it resolved finds `v` there.  False
  // when the name is not bound here.
  bool rebind(std::u16string_view name, zorbel::ScriptValue* v);
  void setEnclosing(Space* s) { enclosing_ = s; }

 private:
  rt::Ref<ScriptValues> bindings_;
  Shape shape_ = kEmptyShape;
  Space* enclosing_ = nullptr;
};

// A host lets go of everything an engine space binds, rings of values that
// nothing else holds included (rt/rings.h); nothing on any other space.
void unbindAllIn(zorbel::ScriptSpace* ss);

// A local binding that takes a rebinding of its name itself instead of
// being replaced by it: a user function's result slot, so that "Set F = v"
// inside F makes v the result while F stays callable there.
class Rebindable : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = ENGINE_IID("Rebindable");

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
