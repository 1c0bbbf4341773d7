// SsBody: a nested scope with its own local variables and a parent space.
// The host's top-level space and the scope of each user-function call are
// bodies.  Apart from its locals a body keeps nothing of its own: run-stop
// flag, error code and text, type map, With stack and error record are the
// parent's, and so, up the chain, the root's.
//
// Reading a name resolves through the chain up to the root and its
// libraries; a name found nowhere becomes a new local holding the Integer 0.
// Dim always declares in the innermost space.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/pool.h"
#include "core/space.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace engine {

class SsBody final : public rt::Automation<SsBody, zorbel::ScriptSpace, Space>,
                     public Pooled<SsBody> {
 public:
  static const rt::MemberTable<SsBody>& members();

  SsBody();
  ~SsBody() override;

  rt::Ref<zorbel::ScriptSpace> parent() override { return parent_; }
  void setParent(zorbel::ScriptSpace* space) override;
  rt::Ref<zorbel::ScriptValue> value(std::u16string_view name) override;
  // Assigns to the local, else to the ancestor's value of that name, else
  // binds `v` itself as a new local.
  void letValue(std::u16string_view name, zorbel::ScriptValue* v) override;
  // Rebinding (Set, parameters, functions); see ssbody.cpp for the rules.
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
  bool runStop() override { return parent_ && parent_->runStop(); }
  void setRunStop(bool stop) override;
  int32_t errCode() override { return parent_ ? parent_->errCode() : 0; }
  void setErrCode(int32_t code) override;
  std::u16string errString() override { return parent_ ? parent_->errString() : std::u16string(); }
  void setErrString(std::u16string_view text) override;
  rt::Ref<jespin::IVValues> typeDefs() override;
  rt::Ref<zorbel::ScriptValue> newValue(std::u16string_view name,
                                        std::u16string_view typeName) override;
  rt::Ref<jespin::IVStack> withStack() override;
  // The parent's record; a body not yet given a parent answers with a
  // record of its own.
  jespin::IErrInfo& error() override { return parent_ ? parent_->error() : orphan_.info(); }

  rt::Ref<zorbel::ScriptValue> find(std::u16string_view name) override;
  // The evaluator asks for Space most: it is answered first.
  void* query(const rt::Iid& iid) noexcept override {
    return iid == Space::iid ? static_cast<Space*>(this) : Automation::query(iid);
  }

 private:
  rt::Ref<zorbel::ScriptSpace> parent_;
  ErrRecord orphan_;
};

}  // namespace engine
