// SsBody: a nested scope with its own local variables and a parent space.
// The host's top-level space and the scope of each user-function call are
// bodies.  Apart from its locals a body keeps nothing of its own: run-stop
// flag, error code and text, type map, With stack and error record are the
// parent's, and so, up the chain, the root's.
//
// Reading a name resolves through the chain up to the root and its
// libraries; a name found nowhere becomes a new local holding the Integer 0.
// Dim always declares in the innermost space.  Set is where the editions
// differ: each library builds its own setValue (ssbodyset.cpp of each).
//
// A space is never its own ancestor, so every walk up the chain ends; each
// step of one checks the stack room left, so that a chain of spaces linked
// by a script cannot overflow the stack either: a lookup past it fails with
// 28, and what is passed on to the parent stops there.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/pool.h"
#include "core/space.h"
#include "rt/dispatch.h"
#include "rt/stack.h"
#include "zorbel/zorbel.h"

namespace engine {

class SsBody final : public rt::Automation<SsBody, zorbel::ScriptSpace, Space>,
                     public Pooled<SsBody> {
 public:
  static const rt::MemberTable<SsBody>& members();

  SsBody();
  ~SsBody() override;

  rt::Ref<zorbel::ScriptSpace> parent() override { return parent_; }
  // Raises 5, the parent left as it was, when `space` is this space or has
  // it among its ancestors.
  void setParent(zorbel::ScriptSpace* space) override;
  rt::Ref<zorbel::ScriptValue> value(std::u16string_view name) override;
  // Assigns to the local, else to the ancestor's value of that name, else
  // binds `v` itself as a new local.
  void letValue(std::u16string_view name, zorbel::ScriptValue* v) override;
  // Rebinding (Set, parameters, functions): by the edition's rules.
  void setValue(std::u16string_view name, zorbel::ScriptValue* v) override;
  bool existValue(std::u16string_view name) override;
  // Binds `v` under a name not bound here, re-keyed to it: what setValue
  // does in a space that has no parent yet, without its other cases.  False
  // (and nothing changed) when the name is bound here already.  `step` as
  // for Space::bind.
  bool bindNew(std::u16string_view name, zorbel::ScriptValue* v, ShapeStep* step = nullptr);
  // Unbinds every local and forgets the parent, so that the space can serve
  // another call as if new.
  void reset();
  bool runStop() override {
    zorbel::ScriptSpace* up = upward();
    return up && up->runStop();
  }
  void setRunStop(bool stop) override;
  int32_t errCode() override {
    zorbel::ScriptSpace* up = upward();
    return up ? up->errCode() : 0;
  }
  void setErrCode(int32_t code) override;
  std::u16string errString() override {
    zorbel::ScriptSpace* up = upward();
    return up ? up->errString() : std::u16string();
  }
  void setErrString(std::u16string_view text) override;
  rt::Ref<jespin::IVValues> typeDefs() override;
  rt::Ref<zorbel::ScriptValue> newValue(std::u16string_view name,
                                        std::u16string_view typeName) override;
  rt::Ref<jespin::IVStack> withStack() override;
  // The parent's record; a body not yet given a parent, or one too far down
  // a chain for the stack left, answers with a record of its own.
  jespin::IErrInfo& error() override {
    zorbel::ScriptSpace* up = upward();
    return up ? up->error() : orphan_.info();
  }

  rt::Ref<zorbel::ScriptValue> find(std::u16string_view name) override;
  // The evaluator asks for Space most: it is answered first.
  void* query(const rt::Iid& iid) noexcept override {
    return iid == Space::iid ? static_cast<Space*>(this) : Automation::query(iid);
  }

 private:
  // The parent, for one more step up the chain of what a body passes on:
  // null, as if there were none, when the stack has no room left for it.
  zorbel::ScriptSpace* upward() const { return rt::stack::enough() ? parent_.get() : nullptr; }

  rt::Ref<zorbel::ScriptSpace> parent_;
  ErrRecord orphan_;
};

// What Set binds `name` to in `ss`: `v` itself, keyed `name`, or an alias
// of it when it is bound under another name, or a new holder of what a
// constant holds.  `v` is not null.
rt::Ref<zorbel::ScriptValue> setBinding(zorbel::ScriptSpace& ss, std::u16string_view name,
                                        zorbel::ScriptValue* v);

}  // namespace engine
