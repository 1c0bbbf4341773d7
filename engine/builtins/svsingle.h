// SvSingle: the plain holder of one value.  Every operator and library
// result and every literal operand is one, and hosts use it to put a value
// or an object into a script space.  Flag is always 1; it cannot be called,
// indexed or asked for members (each records 1004).
//
// It is cheap by design: no error record until something fails, no
// allocation beyond the object itself (blocks are pooled).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/direct.h"
#include "core/errors.h"
#include "core/pool.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace engine {

class SvSingle final : public rt::Automation<SvSingle, zorbel::ScriptValue>,
                       public Pooled<SvSingle> {
 public:
  static const rt::MemberTable<SvSingle>& members();

  SvSingle() : err_(u"SvSingle") {}
  explicit SvSingle(rt::Variant v) : err_(u"SvSingle"), value_(std::move(v)) {}

  // `v` as a value of this class, or null.
  static SvSingle* from(zorbel::ScriptValue* v) {
    return v ? static_cast<SvSingle*>(v->query(kThisClass)) : nullptr;
  }
  void* query(const rt::Iid& iid) noexcept override {
    return iid == kThisClass ? this : Automation::query(iid);
  }
  // What the evaluator may do with this value directly: read it.
  Direct direct() const { return Direct{&value_, nullptr, nullptr}; }

  // A new holder of `v`.
  static rt::Ref<SvSingle> of(rt::Variant v) { return rt::make<SvSingle>(std::move(v)); }

  // The held value, without a copy.
  const rt::Variant& held() const { return value_; }

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override;
  int32_t flag() override { return zorbel::FlagValue; }
  rt::Variant value() override { return value_; }
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
  // Answered only by this class (see SvGeneral).
  static constexpr rt::Iid kThisClass = rt::guidOf("Kestrin.SvSingle.Class");

  ErrRecord err_;
  std::u16string key_;
  rt::Variant value_;
};

}  // namespace engine
