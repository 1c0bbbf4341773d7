// What evaluating one side of a tree node gives: nothing, a value object (a
// variable, a member, what a callee returned), or a plain value computed on
// the way (a literal, an operator's result).
//
// A computed value is seen by nobody but the operator that reads it, so it
// needs no holder object; one is made only where an object is wanted (call
// arguments, lists, rebinding, a tree's result handed out).  A value object
// is read only when the operator needs its value, after both sides have been
// evaluated, so `x + f()` sees what f did to x.
#pragma once

#include <utility>

#include "rt/error.h"
#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace engine {

struct Operand {
  rt::Ref<zorbel::ScriptValue> obj;
  rt::Variant plain;
  bool isPlain = false;

  bool absent() const { return !obj && !isPlain; }
  void reset() {
    obj = nullptr;
    plain.clear();
    isPlain = false;
  }
  void setPlain(rt::Variant v) {
    obj = nullptr;
    plain = std::move(v);
    isPlain = true;
  }
  void setObject(rt::Ref<zorbel::ScriptValue> o) {
    plain.clear();
    isPlain = false;
    obj = std::move(o);
  }

  // The plain value: a value object's Value, read now.  Reading an absent
  // operand is the use of a missing object (91).
  rt::Variant value() const {
    if (obj) return obj->value();
    if (!isPlain) rt::raise(rt::err::ObjectNotSet);
    return plain;
  }

  // The operand as an object: a computed value gets a new holder; absent
  // gives null.
  rt::Ref<zorbel::ScriptValue> toObject() const;
  // The same, where an absent operand is the use of a missing object (91).
  rt::Ref<zorbel::ScriptValue> requireObject() const;
};

}  // namespace engine
