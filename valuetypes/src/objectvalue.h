// The automation-object value: holds one object and lets scripts use it by
// late binding.  Member access hands out bound members (bound.h) that call
// back into the four public operations when they are read, assigned or
// called; nothing about the held object is cached.
//
// Every operation that can fail clears the record first and records the
// failure instead of raising; the caller learns of it from the record and a
// null result.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "record.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace fennick {

class SvObject final : public rt::Automation<SvObject, zorbel::ScriptValue> {
 public:
  // Found again behind an object reference (the bound members' Init).
  static constexpr rt::Iid iid = rt::guidOf("Fennick.SvObject.Class");
  static const rt::MemberTable<SvObject>& members();
  void* query(const rt::Iid& id) noexcept override;

  SvObject();

  // Holds `o` (null for none), as Value set does, without touching the record.
  void hold(rt::Object* o) { held_ = o; }

  // Method `fnName` with the arguments of `sv`.  reFlag 0 drops the result,
  // 1 answers a new SvVariant, 2 a new SvObject (nothing when no object is
  // held); any other reFlag calls nothing.
  rt::Ref<zorbel::ScriptValue> objFunCall(std::u16string_view fnName, zorbel::ScriptSpace* ss,
                                          zorbel::ScriptValue* sv, int32_t reFlag);
  // Assigns `rhs` to property `vName` (the default member when empty) with
  // the arguments of `pm` in front of it.
  void objCallSet(std::u16string_view vName, const rt::Variant& rhs, zorbel::ScriptValue* pm);
  void objCallLet(std::u16string_view vName, const rt::Variant& rhs, zorbel::ScriptValue* pm);
  // Reads property `vName` (the default member when empty; without arguments
  // the held object itself).  rFlag 0 or 1 answers a new SvVariant, 2 a new
  // SvObject; any other rFlag calls nothing.
  rt::Ref<zorbel::ScriptValue> objCallGet(std::u16string_view vName, zorbel::ScriptValue* pm,
                                          int32_t rFlag);

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  // The held object's Count.
  int32_t count() override;
  int32_t flag() override { return zorbel::FlagValue | zorbel::FlagCall | zorbel::FlagTyped; }
  rt::Variant value() override { return rt::Variant(held_); }
  void letValue(const rt::Variant& v) override;
  void setValue(const rt::Variant& v) override;
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view name) override;
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& index, int32_t rf) override;
  // The default member bound to the call's arguments; calls nothing yet.
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view name) override;
  jespin::IErrInfo& error() override { return record_.info(); }
  bool hasError() override { return record_.haveErr(); }

 private:
  rt::Ref<zorbel::ScriptValue> member(std::u16string_view name, int32_t mode);
  void assign(std::u16string_view vName, const rt::Variant& rhs, zorbel::ScriptValue* pm, int kind,
              std::u16string_view op);

  ErrorRecord record_;
  std::u16string key_;
  rt::Ref<rt::Object> held_;
};

}  // namespace fennick
