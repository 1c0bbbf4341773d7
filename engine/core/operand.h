// What evaluating one side of a tree node gives: nothing, a value object (a
// variable, a member, what a callee returned), or a plain value computed on
// the way (a literal, an operator's result).
//
// A computed value is seen by nobody but the operator that reads it, so it
// needs no holder object; one is made only where an object is wanted (call
// arguments, lists, rebinding, a tree's result handed out).  A literal is
// not even copied: the operand refers to the tree's own value, and trees
// outlive their evaluation.  A value object is read only when the operator
// needs its value, after both sides have been evaluated, so `x + f()` sees
// what f did to x.
#pragma once

#include <utility>

#include "rt/error.h"
#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace engine {

class Operand {
 public:
  rt::Ref<zorbel::ScriptValue> obj;

  Operand() = default;
  // A plain value may be the operand's own: copies would point into the
  // original.
  Operand(const Operand&) = delete;
  Operand& operator=(const Operand&) = delete;

  bool absent() const { return !obj && !plain_; }
  bool isPlain() const { return plain_ != nullptr; }
  void reset() {
    obj = nullptr;
    own_.clear();
    plain_ = nullptr;
  }
  void setPlain(rt::Variant v) {
    obj = nullptr;
    own_ = std::move(v);
    plain_ = &own_;
  }
  // A value that stays put while the operand is used: a literal of the tree.
  void setLiteral(const rt::Variant& v) {
    obj = nullptr;
    own_.clear();
    plain_ = &v;
  }
  void setObject(rt::Ref<zorbel::ScriptValue> o) {
    own_.clear();
    plain_ = nullptr;
    obj = std::move(o);
  }

  // The plain value: a value object's Value, read now.  Reading an absent
  // operand is the use of a missing object (91).
  rt::Variant value() const {
    if (obj) return obj->value();
    if (!plain_) rt::raise(rt::err::ObjectNotSet);
    return *plain_;
  }
  // The same without a copy of a plain value; a value object's Value is
  // read into `scratch`.
  const rt::Variant& read(rt::Variant& scratch) const {
    if (obj) return scratch = obj->value();
    if (!plain_) rt::raise(rt::err::ObjectNotSet);
    return *plain_;
  }

  // The operand as an object: a computed value gets a new holder; absent
  // gives null.
  rt::Ref<zorbel::ScriptValue> toObject() const;
  // The same, where an absent operand is the use of a missing object (91).
  rt::Ref<zorbel::ScriptValue> requireObject() const;

 private:
  rt::Variant own_;
  const rt::Variant* plain_ = nullptr;  // own_ or a literal; null: no plain value
};

}  // namespace engine
