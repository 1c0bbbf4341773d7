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
//
// A member of an automation object (o.Name) is kept the same way: the
// operand holds the object's value and the member, and what the operator
// does with it (reads it, calls it, assigns to it) goes to the object
// directly (zorbel::ObjectMembers).  The bound member attr() would make is
// made only where the member itself is handed out.
#pragma once

#include <utility>

#include "core/direct.h"
#include "rt/error.h"
#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace engine {

// What a member node keeps for the direct uses of its member: the name and
// the ID it resolved to last.
struct MemberUse {
  std::u16string_view name;
  rt::MemberSite site;
};

class Operand {
 public:
  Operand() = default;
  // A plain value may be the operand's own: copies would point into the
  // original.
  Operand(const Operand&) = delete;
  Operand& operator=(const Operand&) = delete;

  bool absent() const { return !obj_ && !plain_; }
  bool isPlain() const { return plain_ != nullptr; }
  // The value object; null for a plain value, an absent operand, or a
  // member not used yet.
  zorbel::ScriptValue* object() const { return member_ ? nullptr : obj_.get(); }
  void reset() {
    obj_ = nullptr;
    member_ = nullptr;
    direct_ = Direct{};
    own_.clear();
    plain_ = nullptr;
  }
  void setPlain(rt::Variant v) {
    obj_ = nullptr;
    member_ = nullptr;
    direct_ = Direct{};
    own_ = std::move(v);
    plain_ = &own_;
  }
  // A value that stays put while the operand is used: a literal of the tree.
  void setLiteral(const rt::Variant& v) {
    obj_ = nullptr;
    member_ = nullptr;
    direct_ = Direct{};
    own_.clear();
    plain_ = &v;
  }
  void setObject(rt::Ref<zorbel::ScriptValue> o) {
    own_.clear();
    plain_ = nullptr;
    member_ = nullptr;
    direct_ = Direct{};
    obj_ = std::move(o);
  }
  // Member `use` of the object value `target`, which `access` belongs to.
  void setMember(rt::Ref<zorbel::ScriptValue> target, zorbel::ObjectMembers& access,
                 MemberUse& use) {
    setObject(std::move(target));
    access_ = &access;
    member_ = &use;
  }
  bool isMember() const { return member_ != nullptr; }
  // For a member: the object's direct access, and the member.
  zorbel::ObjectMembers& access() const { return *access_; }
  MemberUse& member() const { return *member_; }
  // A value object with what the evaluator may do with it directly.
  void setObject(zorbel::ScriptValue* o, const Direct& direct) {
    setObject(o);
    direct_ = direct;
  }
  const Direct& direct() const { return direct_; }
  // The engine variable the operand is, or null.
  SvGeneral* variable() const { return direct_.variable; }

  // The plain value: a value object's Value, read now.  Reading an absent
  // operand is the use of a missing object (91).
  rt::Variant value() const {
    if (obj_) return member_ ? memberValue() : obj_->value();
    if (!plain_) rt::raise(rt::err::ObjectNotSet);
    return *plain_;
  }
  // The same without a copy of a plain value or of an engine holder's value;
  // any other value object's Value is read into `scratch`.
  const rt::Variant& read(rt::Variant& scratch) const {
    if (const rt::Variant* held = direct_.peek()) return *held;
    if (obj_) return scratch = member_ ? memberValue() : obj_->value();
    if (!plain_) rt::raise(rt::err::ObjectNotSet);
    return *plain_;
  }

  // Whether reading the value runs no code (value objects other than the
  // engine's holders may run a function to answer).
  bool readsQuietly() const { return plain_ || direct_.peek(); }

  // The operand as an object: a computed value gets a new holder, a member
  // the bound member attr() makes; absent gives null.
  rt::Ref<zorbel::ScriptValue> toObject() const;
  // The same, where an absent operand is the use of a missing object (91).
  rt::Ref<zorbel::ScriptValue> requireObject() const;

 private:
  // A member's value, read now.
  rt::Variant memberValue() const;

  rt::Ref<zorbel::ScriptValue> obj_;   // the value object, or a member's object
  rt::Variant own_;
  const rt::Variant* plain_ = nullptr;  // own_ or a literal; null: no plain value
  Direct direct_;                       // what may be done with obj_ directly
  MemberUse* member_ = nullptr;         // set: obj_ is the object of this member
  zorbel::ObjectMembers* access_ = nullptr;
};

// The values of two operands, read left first as value() reads them, and
// read in place where that is safe: the left one only when reading the
// right one runs no code that could change it, and neither when one is an
// object (whose value an operator reads by running its default member).
class OperandValues {
 public:
  OperandValues(const Operand& l, const Operand& r) {
    if (!r.readsQuietly()) {
      a_ = &(sa_ = l.value());
      b_ = &r.read(sb_);
    } else {
      a_ = &l.read(sa_);
      b_ = &r.read(sb_);
    }
    if (a_->isObject() || b_->isObject()) {
      if (a_ != &sa_) a_ = &(sa_ = *a_);
      if (b_ != &sb_) b_ = &(sb_ = *b_);
    }
  }
  OperandValues(const OperandValues&) = delete;
  OperandValues& operator=(const OperandValues&) = delete;

  const rt::Variant& left() const { return *a_; }
  const rt::Variant& right() const { return *b_; }

 private:
  rt::Variant sa_, sb_;
  const rt::Variant* a_;
  const rt::Variant* b_;
};

}  // namespace engine
