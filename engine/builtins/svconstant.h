// A value that scripts can read but never change: the root's "Nothing".
// Assigning to it, rebinding it or using it as anything but a value records
// 1004; its name is fixed when it is made, so binding it elsewhere does not
// rename it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace engine {

class SvConstant final : public rt::Automation<SvConstant, zorbel::ScriptValue> {
 public:
  static const rt::MemberTable<SvConstant>& members();

  SvConstant(std::u16string_view key, rt::Variant value)
      : err_(u"SvConstant"), key_(key), value_(std::move(value)) {}

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view) override {}
  int32_t count() override { return refuse(u"ScriptValue_Count"), 0; }
  int32_t flag() override { return zorbel::FlagValue; }
  rt::Variant value() override { return value_; }
  void letValue(const rt::Variant&) override { refuse(u"Let_ScriptValue_Value"); }
  void setValue(const rt::Variant&) override { refuse(u"Set_ScriptValue_Value"); }
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view) override {
    return refuse(u"ScriptValue_Attr"), nullptr;
  }
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant&, int32_t) override {
    return refuse(u"ScriptValue_Subs"), nullptr;
  }
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace*, zorbel::ScriptValue*, int32_t) override {
    return refuse(u"ScriptValue_FunCall"), nullptr;
  }
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  jespin::IErrInfo& error() override { return err_.info(); }
  bool hasError() override { return err_.haveErr(); }

 private:
  void refuse(std::u16string_view source) { err_.setCode(ErrNotSupported, source); }

  ErrRecord err_;
  const std::u16string key_;
  const rt::Variant value_;
};

}  // namespace engine
