// What the library's tests share: an argument list as the engine builds one,
// a recording automation object, and small helpers.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "rt/dispatch.h"
#include "rt/error.h"
#include "rt/locale.h"
#include "rt/testing.h"
#include "zorbel/zorbel.h"

namespace fennick_test {

using rt::testing::call;
using rt::testing::errorOf;

// Pins a locale profile and puts the previous one back.
class LocaleScope {
 public:
  explicit LocaleScope(rt::LocaleId id) : saved_(rt::currentLocale().id) { rt::setLocale(id); }
  ~LocaleScope() { rt::setLocale(saved_); }

 private:
  rt::LocaleId saved_;
};

// A plain value as a script value (a new SvVariant).
rt::Ref<zorbel::ScriptValue> single(const rt::Variant& v);

// An argument list (FlagList) of script values holding `items`.
class ArgList final : public zorbel::ScriptValue {
 public:
  explicit ArgList(std::vector<rt::Ref<zorbel::ScriptValue>> items);
  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<zorbel::ScriptValue>(this, iid);
  }
  std::u16string key() override { return {}; }
  void setKey(std::u16string_view) override {}
  int32_t count() override { return static_cast<int32_t>(items_.size()); }
  int32_t flag() override { return zorbel::FlagList | zorbel::FlagGeneral; }
  rt::Variant value() override { return {}; }
  void letValue(const rt::Variant&) override {}
  void setValue(const rt::Variant&) override {}
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view) override { return nullptr; }
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& index, int32_t rf) override;
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace*, zorbel::ScriptValue*,
                                       int32_t) override {
    return nullptr;
  }
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  jespin::IErrInfo& error() override { return *error_; }

 protected:
  void destroy() noexcept override { delete this; }

 private:
  std::vector<rt::Ref<zorbel::ScriptValue>> items_;
  rt::Ref<jespin::IErrInfo> error_;
};

// An argument list of plain values.
rt::Ref<ArgList> args(std::initializer_list<rt::Variant> values);

// A fake automation object that records every call made on it.  Its members:
// "Name" (answers "rec"), "Item" (answers 42), "Child" (answers another
// recorder), "Count" (answers 3) and the default member (answers "default");
// any other name is unknown.  `failNext` makes the next call raise 5.
class Recorder final : public rt::Dispatch {
 public:
  static constexpr rt::Iid iid = rt::guidOf("FennickTest.Recorder");
  static constexpr std::u16string_view kProgId = u"FennickTest.Recorder";
  // Registers the class for this process (once).
  static void registerClass();

  struct Call {
    std::u16string name;  // empty: the default member
    int kinds;
    std::vector<rt::Variant> args;
  };

  void* query(const rt::Iid& id) noexcept override {
    return id == iid ? this : rt::queryAmong<rt::Dispatch>(this, id);
  }
  rt::DispId memberId(std::u16string_view name) override;
  rt::Variant invoke(rt::DispId id, int kinds, std::span<rt::Variant> args) override;
  std::u16string typeName() override { return u"Recorder"; }

  std::vector<Call> calls;
  bool failNext = false;

 protected:
  void destroy() noexcept override { delete this; }
};

// A new recorder, created by its ProgID.
rt::Ref<Recorder> newRecorder();

}  // namespace fennick_test
