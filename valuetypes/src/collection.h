// The collection value: an ordered list of values with optional text keys,
// over the runtime's keyed collection, and the bound member that carries a
// script's call of Add, Remove, Clear or Exist to it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "record.h"
#include "rt/collection.h"
#include "rt/dispatch.h"
#include "rt/rings.h"
#include "zorbel/zorbel.h"

namespace fennick {

class SvCollection final : public rt::Automation<SvCollection, zorbel::ScriptValue, rt::HoldsObjects> {
 public:
  // Found again behind an object reference (SvCollFns's Init).
  static constexpr rt::Iid iid = rt::guidOf("Fennick.SvCollection.Class");
  static const rt::MemberTable<SvCollection>& members();
  void* query(const rt::Iid& id) noexcept override;

  SvCollection();

  // Two or more arguments: item 1 under the key item 2; otherwise the value
  // (or the one item of a list) without a key.  Failures raise.
  void add(zorbel::ScriptValue* sv);
  // By position or key; failures raise.
  void remove(zorbel::ScriptValue* sv);
  // A new empty inner collection; `sv` is not read.
  void clear(zorbel::ScriptValue* sv);
  // A new SvBoolean: whether the position or key is there.  Never fails.
  rt::Ref<zorbel::ScriptValue> exist(zorbel::ScriptValue* sv);

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override { return items_->count(); }
  int32_t flag() override { return zorbel::FlagValue | zorbel::FlagList | zorbel::FlagTyped; }
  // The inner collection itself, for For Each.
  rt::Variant value() override { return rt::Variant(items_); }
  void letValue(const rt::Variant&) override {}
  void setValue(const rt::Variant&) override {}
  // A bound member for any name; calling it does the work.
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view name) override;
  // The item as a script value: a script value item itself, any other item
  // in a new value holding it.  A missing item raises.
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& index, int32_t rf) override;
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace*, zorbel::ScriptValue*,
                                       int32_t) override {
    return nullptr;
  }
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  jespin::IErrInfo& error() override { return record_.info(); }
  bool hasError() override { return record_.haveErr(); }

  // Its inner collection is what it holds (rt/rings.h), shared with what
  // was handed it (For Each): let go of, an empty one takes its place.
  void eachHeld(rt::HeldVisitor& visit) noexcept override { visit.held(items_.get()); }
  void letGoOfHeld() noexcept override;

 private:
  rt::Ref<rt::Collection> items_;
  ErrorRecord record_;
  std::u16string key_;
};

class SvCollFns final : public rt::Automation<SvCollFns, zorbel::ScriptValue> {
 public:
  static const rt::MemberTable<SvCollFns>& members();

  SvCollFns();
  void init(SvCollection* pv, std::u16string_view fn);

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override { return 0; }
  int32_t flag() override { return zorbel::FlagValue | zorbel::FlagCall; }
  // The bound collection.
  rt::Variant value() override { return rt::Variant(coll_); }
  void letValue(const rt::Variant&) override {}
  void setValue(const rt::Variant&) override {}
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view) override { return nullptr; }
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant&, int32_t) override { return nullptr; }
  // Calls the bound method with the call's arguments; its failures, and a
  // name the collection does not have, fail the call.
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  jespin::IErrInfo& error() override { return record_.info(); }
  bool hasError() override { return record_.haveErr(); }

 private:
  ErrorRecord record_;
  std::u16string key_;
  rt::Ref<SvCollection> coll_;
  std::u16string name_;
};

}  // namespace fennick
