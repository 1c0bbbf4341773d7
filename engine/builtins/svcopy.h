// SvCopy: an alias.  It has a name of its own and forwards every other
// operation, unchanged and untrapped, to the value it stands for; script
// spaces bind a by-reference parameter to the caller's variable with it.
//
// An alias of an alias stands for the value at the end of the chain.  An
// alias not yet bound answers like a value that supports nothing (1004 in a
// record of its own) rather than failing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/libname.h"
#include "core/pool.h"
#include "kestrin/values.h"
#include "rt/dispatch.h"
#include "rt/rings.h"
#include "zorbel/zorbel.h"

namespace engine {

class SvCopy final
    : public rt::Automation<SvCopy, zorbel::ScriptValue, kestrin::ISvCopy, rt::HoldsObjects>,
      public Pooled<SvCopy> {
 public:
  static const rt::MemberTable<SvCopy>& members();

  SvCopy() : unbound_(u"SvCopy") {}
  SvCopy(std::u16string_view key, zorbel::ScriptValue* sv) : SvCopy() { init(key, sv); }

  void init(std::u16string_view key, zorbel::ScriptValue* sv) override;
  zorbel::ScriptValue* target() const { return target_.get(); }
  // The value it stands for is what it holds (rt/rings.h).
  void eachHeld(rt::HeldVisitor& visit) noexcept override {
    if (target_) visit.held(target_.get());
  }
  void letGoOfHeld() noexcept override { rt::Ref<zorbel::ScriptValue> gone = std::move(target_); }

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override;
  int32_t flag() override { return target_ ? target_->flag() : 0; }
  rt::Variant value() override;
  void letValue(const rt::Variant& v) override;
  void setValue(const rt::Variant& v) override;
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view name) override;
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& index, int32_t rf) override;
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view name) override;
  jespin::IErrInfo& error() override { return target_ ? target_->error() : unbound_.info(); }
  bool hasError() override { return target_ ? target_->hasError() : unbound_.haveErr(); }

 private:
  // Records 1004 under `source` for an alias not yet bound.
  void notBound(std::u16string_view source) { unbound_.setCode(ErrNotSupported, source); }

  ErrRecord unbound_;  // used only before init
  std::u16string key_;
  rt::Ref<zorbel::ScriptValue> target_;
};

}  // namespace engine
