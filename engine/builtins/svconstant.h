// Values that scripts can read but never change: the root's "Nothing" and
// "ScriptHost".  Assigning to one, rebinding it or using it as anything but
// a value records 1004; its name is fixed when it is made, so binding it
// under another name does not rename it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/errors.h"
#include "core/libname.h"
#include "core/hostchannel.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace engine {

// What every read-only value answers to: a value that can never change,
// so that binding a name to it (Set) binds the name to what it holds.
class Constant : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = ENGINE_IID("Constant");
};

template <class Self>
class ReadOnlyValue : public rt::Automation<Self, zorbel::ScriptValue, Constant> {
 public:
  static const rt::MemberTable<Self>& members() {
    static const rt::MemberTable<Self> table{std::u16string(Self::kClassName)};
    return table;
  }

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view) override {}
  int32_t count() override { return refuse(u"ScriptValue_Count"), 0; }
  int32_t flag() override { return zorbel::FlagValue; }
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

 protected:
  explicit ReadOnlyValue(std::u16string_view key) : err_(Self::kClassName), key_(key) {}

 private:
  void refuse(std::u16string_view source) { err_.setCode(ErrNotSupported, source); }

  ErrRecord err_;
  const std::u16string key_;
};

// A fixed value.
class SvConstant final : public ReadOnlyValue<SvConstant> {
 public:
  static constexpr std::u16string_view kClassName = u"SvConstant";
  SvConstant(std::u16string_view key, rt::Variant value)
      : ReadOnlyValue(key), value_(std::move(value)) {}
  rt::Variant value() override { return value_; }

 private:
  const rt::Variant value_;
};

// The host object itself, while the host lives (Nothing after).
class SvHostValue final : public ReadOnlyValue<SvHostValue> {
 public:
  static constexpr std::u16string_view kClassName = u"SvHostValue";
  SvHostValue(std::u16string_view key, rt::Ref<HostLink> link)
      : ReadOnlyValue(key), link_(std::move(link)) {}
  rt::Variant value() override {
    HostChannel* h = link_->host();
    return rt::Variant(h ? static_cast<rt::Object*>(h) : nullptr);
  }

 private:
  rt::Ref<HostLink> link_;
};

}  // namespace engine
