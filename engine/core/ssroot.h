// SsRoot: the root script space, one per host.  It holds the global
// variables (the host's built-in names among them), the function libraries,
// the type map that Dim and the deftype directive use, the With stack, the
// run-stop flag, the error code and text, and the error record that every
// space of its chain shares.
//
// Reading a name never fails: a variable, else a library function (a new
// function object each time), else a new variable holding the Integer 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/space.h"
#include "jespin/stack.h"
#include "jespin/values.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace engine {

class IFunLibs;

class SsRoot final : public rt::Automation<SsRoot, zorbel::ScriptSpace, Space> {
 public:
  static const rt::MemberTable<SsRoot>& members();

  SsRoot();
  ~SsRoot() override;

  rt::Ref<zorbel::ScriptSpace> parent() override { return nullptr; }
  void setParent(zorbel::ScriptSpace*) override {}  // the root has none
  rt::Ref<zorbel::ScriptValue> value(std::u16string_view name) override;
  void letValue(std::u16string_view name, zorbel::ScriptValue* v) override;
  void setValue(std::u16string_view name, zorbel::ScriptValue* v) override;
  bool existValue(std::u16string_view name) override;
  bool runStop() override { return runStop_; }
  void setRunStop(bool stop) override { runStop_ = stop; }
  int32_t errCode() override { return errCode_; }
  void setErrCode(int32_t code) override { errCode_ = code; }
  std::u16string errString() override { return errString_; }
  void setErrString(std::u16string_view text) override { errString_ = text; }
  rt::Ref<jespin::IVValues> typeDefs() override { return typeDefs_; }
  // Failures record the bare codes 201 and 202 as Number.
  rt::Ref<zorbel::ScriptValue> newValue(std::u16string_view name,
                                        std::u16string_view typeName) override;
  rt::Ref<jespin::IVStack> withStack() override { return with_; }
  jespin::IErrInfo& error() override { return error_.info(); }

  rt::Ref<zorbel::ScriptValue> find(std::u16string_view name) override;
  IFunLibs* functionLibs() const override { return libs_.get(); }
  // The evaluator asks for Space most: it is answered first.
  void* query(const rt::Iid& iid) noexcept override {
    return iid == Space::iid ? static_cast<Space*>(this) : Automation::query(iid);
  }

 private:
  void loadTypeDefs();

  ErrRecord error_;
  rt::Ref<IFunLibs> libs_;  // in lookup order
  bool runStop_ = false;
  int32_t errCode_ = 0;
  std::u16string errString_;
  rt::Ref<jespin::IVValues> typeDefs_;
  rt::Ref<jespin::IVStack> with_;
};

}  // namespace engine
