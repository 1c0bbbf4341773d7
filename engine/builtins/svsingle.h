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
                       public DirectHolder,
                       public Pooled<SvSingle> {
 public:
  static const rt::MemberTable<SvSingle>& members();

  SvSingle() : err_(u"SvSingle") {}
  explicit SvSingle(rt::Variant v) : err_(u"SvSingle"), value_(std::move(v)) {}

  // The evaluator asks for DirectHolder most: it is answered first.
  void* query(const rt::Iid& iid) noexcept override {
    return iid == DirectHolder::iid ? static_cast<DirectHolder*>(this) : Automation::query(iid);
  }
  // What the evaluator may do with this value directly: read it.
  Direct direct() override { return Direct{&value_, nullptr, nullptr}; }

  // A new holder of `v`.
  static rt::Ref<SvSingle> of(rt::Variant v) { return rt::make<SvSingle>(std::move(v)); }

  // The held value, without a copy.
  const rt::Variant& held() const { return value_; }
  // Takes `v` as a new holder of it would, when the one reference left is
  // its keeper's and it has recorded nothing, so that nobody can tell it
  // from a new one; false otherwise.
  bool renew(const rt::Variant& v) {
    if (refCount() != 1 || err_.made()) return false;
    key_.clear();
    value_ = v;
    return true;
  }

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
  ErrRecord err_;
  std::u16string key_;
  rt::Variant value_;
};

}  // namespace engine
