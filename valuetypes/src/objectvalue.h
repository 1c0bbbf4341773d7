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
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "record.h"
#include "rt/dispatch.h"
#include "rt/rings.h"
#include "zorbel/zorbel.h"

namespace fennick {

class SvObject final : public rt::Automation<SvObject, zorbel::ScriptValue, rt::HoldsObjects>,
                       public zorbel::ObjectMembers {
 public:
  // Found again behind an object reference (the bound members' Init).
  static constexpr rt::Iid iid = rt::guidOf("Fennick.SvObject.Class");
  static const rt::MemberTable<SvObject>& members();
  void* query(const rt::Iid& id) noexcept override;

  SvObject();

  // Holds `o` (null for none), as Value set does, without touching the record.
  void hold(rt::Object* o) { held_.take(o); }
  // The object held is what it holds (rt/rings.h).
  void eachHeld(rt::HeldVisitor& visit) noexcept override { visit.held(held_.get()); }
  void letGoOfHeld() noexcept override {
    rt::Ref<rt::Object> gone = held_.ref();
    held_.take(nullptr);
  }

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
  rt::Variant value() override { return rt::Variant(held_.ref()); }
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

  // Member uses without a bound member (zorbel::ObjectMembers).
  rt::Variant readMember(std::u16string_view name, rt::MemberSite& site) override;
  Call callMember(std::u16string_view name, rt::MemberSite& site, zorbel::ScriptSpace* ss,
                  zorbel::ScriptValue* sv, const rt::Variant* plainArg, int32_t reFlag) override;
  rt::Ref<zorbel::ScriptValue> letMember(std::u16string_view name, rt::MemberSite& site,
                                         const rt::Variant& v) override;

 private:
  // The arguments of a call: one plain value, or those of an argument
  // object, read when the call is made.
  struct CallArgs {
    zorbel::ScriptValue* object;
    const rt::Variant* plain;
    std::span<rt::Variant> values(rt::Variant& one, std::vector<rt::Variant>& list,
                                  std::u16string_view callName) const;
  };
  // What a call or read gives: a holder, or with `plainWanted` a result
  // that needs none (no object, value mode) as a plain value.
  struct Result {
    bool plainWanted = false;
    bool isPlain = false;
    rt::Variant plain;
    rt::Ref<zorbel::ScriptValue> holder;
  };

  // The steps of ObjFunCall and ObjCallGet; false when they recorded a
  // failure.  With a site, the member's ID is kept there.
  bool callHeld(std::u16string_view fnName, const CallArgs& in, int32_t reFlag,
                rt::MemberSite* site, Result& out);
  bool getHeld(std::u16string_view vName, zorbel::ScriptValue* pm, int32_t rFlag,
               rt::MemberSite* site, Result& out);
  rt::Variant invokeHeld(std::u16string_view name, int kinds, std::span<rt::Variant> args,
                         rt::MemberSite* site);
  rt::Ref<zorbel::ScriptValue> member(std::u16string_view name, int32_t mode);
  void assign(std::u16string_view vName, const rt::Variant& rhs, zorbel::ScriptValue* pm, int kind,
              std::u16string_view op, rt::MemberSite* site);
  rt::Ref<zorbel::ScriptValue> failedMember(std::u16string_view name, std::u16string_view op);

  ErrorRecord record_;
  std::u16string key_;
  rt::HeldObject held_;
};

}  // namespace fennick
