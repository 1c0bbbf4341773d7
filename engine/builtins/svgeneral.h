// SvGeneral: the general dynamic value.  Every variable a script space makes
// for a new name, every attribute and sub-value of such a variable, and
// every argument list the evaluator builds is one.
//
// It holds one value (the Integer 0 when new), named attributes made on
// first use (x.a), and sub-values reached by key or by position (x["k"],
// x[3]), keyed and unkeyed in one list.  Flag records the last kind of use:
// 0 when new, 17 after a value assignment, 18 after indexing or AddSubs;
// it does not follow the contents.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/direct.h"
#include "core/errors.h"
#include "core/pool.h"
#include "kestrin/values.h"
#include "rt/dispatch.h"
#include "rt/rings.h"
#include "zorbel/zorbel.h"

namespace engine {

class ScriptValues;

class SvGeneral final
    : public rt::Automation<SvGeneral, zorbel::ScriptValue, kestrin::ISvGeneral, rt::HoldsObjects>,
      public DirectHolder,
                        public Pooled<SvGeneral> {
 public:
  static constexpr int32_t FlagNew = 0;
  static constexpr int32_t FlagAssigned = zorbel::FlagValue | zorbel::FlagGeneral;  // 17
  static constexpr int32_t FlagListed = zorbel::FlagList | zorbel::FlagGeneral;     // 18
  // The most sub-values indexing by position grows a value to.
  static constexpr int32_t kMaxGrowth = 1 << 20;

  static const rt::MemberTable<SvGeneral>& members();

  SvGeneral();
  ~SvGeneral() override;

  // The evaluator asks for DirectHolder most: it is answered first; the look
  // for rings asks for HoldsObjects of every value it walks.
  void* query(const rt::Iid& iid) noexcept override {
    if (iid == DirectHolder::iid) return static_cast<DirectHolder*>(this);
    if (iid == rt::HoldsObjects::iid) return static_cast<rt::HoldsObjects*>(this);
    return Automation::query(iid);
  }

  // A new value assigned `v` (flag 17), as a collection's Add makes it.
  static rt::Ref<SvGeneral> holding(const rt::Variant& v);

  // Argument lists: appends `sv` itself.  It goes under its Key when it has
  // one not yet used here, else without a key, so that every argument of a
  // call stays in the list (f(a, a) passes two).  Flag becomes 18; Error is
  // not touched.
  void addSubs(zorbel::ScriptValue* sv) override;

  // The held value and the sub-values, without copies.
  const rt::Variant& held() const { return value_; }
  // The lists of its attributes and of its sub-values, null until made.
  ScriptValues* attributeList() const { return attrs_.get(); }
  ScriptValues* subValueList() const { return subs_.get(); }
  // What it holds, for the look for rings (rt/rings.h): the object it
  // holds as its value, and its two lists.  Let go of, it holds the Integer
  // 0 and no lists.
  void eachHeld(rt::HeldVisitor& visit) noexcept override;
  void letGoOfHeld() noexcept override;
  // What the evaluator may do with this value directly: read and assign.
  Direct direct() override { return Direct{&value_, &err_, this}; }
  // letValue of a value that is not needed any more.
  void assign(rt::Variant&& v) {
    err_.clear();
    flag_ = FlagAssigned;
    if (v.isObject()) [[unlikely]] return assignObject(std::move(v));
    value_ = std::move(v);
  }

  // Whether the value held is the String `text` itself: the same text, not
  // an equal one.
  bool holdsText(const rt::Variant& text) const {
    return value_.isText() && text.isText() && &value_.text() == &text.text();
  }
  // What letValue of the held text with `tail` after it does, in place
  // (the text is unshared first when another holder has it).
  void appendText(std::u16string_view tail) {
    err_.clear();
    value_.appendText(tail);
    flag_ = FlagAssigned;
  }

  // The i-th sub-value (from 1), or null.
  zorbel::ScriptValue* item(int32_t i) const;
  // What subs(i) gives for an i from 1 to count(), without a Variant index:
  // the sub-value itself, the record cleared and the flag 18.
  zorbel::ScriptValue* listed(int32_t i) {
    err_.clear();
    flag_ = FlagListed;
    return item(i);
  }

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override;
  int32_t flag() override { return flag_; }
  rt::Variant value() override;
  void letValue(const rt::Variant& v) override;
  void setValue(const rt::Variant& v) override;
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view name) override;
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& index, int32_t rf) override;
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  jespin::IErrInfo& error() override { return err_.info(); }
  bool hasError() override { return err_.haveErr(); }

 private:
  // Called when the value held has become an object: a point where nothing
  // is half done, so a look for rings may run.
  static void holdsObject() { rt::Rings::lookIfDue(); }
  // assign of an object, kept out of the way of plain values.
  void assignObject(rt::Variant&& v);
  ScriptValues& attributes();
  ScriptValues& subValues();
  rt::Ref<zorbel::ScriptValue> subsAt(const rt::Variant& index);

  ErrRecord err_;
  std::u16string key_;
  int32_t flag_ = FlagNew;
  rt::Variant value_;
  // Made on first use: most values never have attributes or sub-values.
  rt::Ref<ScriptValues> attrs_;
  rt::Ref<ScriptValues> subs_;
};

}  // namespace engine
