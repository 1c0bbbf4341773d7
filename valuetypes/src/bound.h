// Bound members of an object value: SvObjFns names a property or method of
// the held object, SvObjAttr stands for its default member; both may carry
// arguments.  Making one calls nothing.  Reading, assigning or calling it
// goes through the object value's public operations every time, and a
// failure recorded there is copied into the member's own record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "objectvalue.h"
#include "record.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace fennick {

// What a bound member refers to, and the steps both classes share.  Each step
// clears the record first, so a success after a failure reports success.
class Binding {
 public:
  explicit Binding(std::u16string_view className) : record(className) {}

  // The member's value, read as an object when `mode` is 2.  Without a
  // parent, Nothing.  A read that gives nothing raises the cause the object
  // value recorded (and records it here).
  rt::Variant read();
  // Let (or set, `byReference`) the member to `v`.
  void assign(const rt::Variant& v, bool byReference);
  // Member `name` of the object that reading this member gives.
  rt::Ref<zorbel::ScriptValue> memberOf(std::u16string_view name, bool objectWanted);
  // Calls the member as a method with the call's own arguments and mode.
  rt::Ref<zorbel::ScriptValue> call(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                    int32_t reFlag);
  // Own code 1004 under `op`: something a bound member does not support.
  void unsupported(std::u16string_view op);
  // Copies the failure the parent recorded under `op` (91 when it holds
  // none), and raises it as reading the member does.
  void takeFailure(std::u16string_view op);
  [[noreturn]] void raiseFailure(std::u16string_view op);

  ErrorRecord record;
  std::u16string key;
  rt::Ref<SvObject> parent;
  std::u16string name;                // empty: the default member
  rt::Ref<zorbel::ScriptValue> args;  // bound arguments of reads and assignments
  int32_t mode = zorbel::ModeStatement;

 private:
  bool haveParent(std::u16string_view op);
};

template <class Self>
class BoundValue : public rt::Automation<Self, zorbel::ScriptValue> {
 public:
  std::u16string key() override { return b_.key; }
  void setKey(std::u16string_view key) override { b_.key = key; }
  int32_t count() override {
    b_.unsupported(u"ScriptValue_Count");
    return 0;
  }
  int32_t flag() override { return zorbel::FlagValue | zorbel::FlagCall; }
  rt::Variant value() override { return b_.read(); }
  void letValue(const rt::Variant& v) override { b_.assign(v, false); }
  void setValue(const rt::Variant& v) override { b_.assign(v, true); }
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view name) override {
    return b_.memberOf(name, false);
  }
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override {
    return b_.call(ss, sv, reFlag);
  }
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view name) override {
    return b_.memberOf(name, true);
  }
  jespin::IErrInfo& error() override { return b_.record.info(); }
  bool hasError() override { return b_.record.haveErr(); }

 protected:
  explicit BoundValue(std::u16string_view className) : b_(className) {}
  Binding b_;
};

// A named member.  `reFlag` is the mode of its reads: 2 an object, anything
// else a value.
class SvObjFns final : public BoundValue<SvObjFns> {
 public:
  static const rt::MemberTable<SvObjFns>& members();

  SvObjFns() : BoundValue(u"SvObjFns") { b_.mode = zorbel::ModeValue; }
  int32_t reFlag() const { return b_.mode; }
  void setReFlag(int32_t mode) { b_.mode = mode; }
  // What a use of the member would have recorded, or raised, when its
  // parent failed under `op` (the parent reached directly, objectvalue.h).
  void takeFailure(std::u16string_view op) { b_.takeFailure(op); }
  [[noreturn]] void raiseFailure(std::u16string_view op) { b_.raiseFailure(op); }
  // Leaves the bound arguments and reFlag as they are.
  void init(SvObject* pv, std::u16string_view fn);
  void init2(SvObject* pv, std::u16string_view fn, zorbel::ScriptValue* fnPm);

  // The same member with the index's script value as its bound arguments,
  // read in mode `rf`.  An index that holds no script value raises.
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& index, int32_t rf) override;
};

// The default member (or, with a name, that member) with bound arguments and
// an access mode.
class SvObjAttr final : public BoundValue<SvObjAttr> {
 public:
  static const rt::MemberTable<SvObjAttr>& members();

  SvObjAttr() : BoundValue(u"SvObjAttr") {}
  void init(SvObject* pv, std::u16string_view fn, zorbel::ScriptValue* pm, int32_t rf);

  // Not supported: recorded, nothing returned.
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& index, int32_t rf) override;
};

}  // namespace fennick
