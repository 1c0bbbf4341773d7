// SvFunReturn: a user function's result slot.  Each call binds a new one
// under the function's name in the call's space: the body assigns its result
// to it (F = 5, Set F = obj) and calls the function again through it
// (F(n - 1)), always with the caller's space of the running call.
//
// While the call runs, the slot is callable (Flag of its function).  When
// the call ends the function lets go of it (finish): from then on it is a
// plain result, so TypeName and the spaces see the value it holds.
//
// Most calls end by dropping their slot, and a recursion makes one per
// call: a slot whose last holder lets it go lets go of what it holds then,
// as its destruction would, and waits for a later call (make).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/direct.h"
#include "core/errors.h"
#include "core/pool.h"
#include "core/space.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace engine {

class SvFunReturn final : public rt::Automation<SvFunReturn, zorbel::ScriptValue, Rebindable>,
                          public DirectHolder,
                          public QuietTarget,
                          public Pooled<SvFunReturn> {
 public:
  static const rt::MemberTable<SvFunReturn>& members();

  SvFunReturn() : err_(u"SvFunReturn") {}

  // A slot for a new call: one let go of before when there is one.  It
  // holds nothing; its key is set when the call binds it.
  static rt::Ref<SvFunReturn> make();

  // The evaluator asks for DirectHolder most: it is answered first.
  void* query(const rt::Iid& iid) noexcept override {
    return iid == DirectHolder::iid ? static_cast<DirectHolder*>(this) : Automation::query(iid);
  }
  // F = v is letValue's own step while no object is held (which takes it).
  Direct direct() override { return Direct{nullptr, nullptr, nullptr, this}; }
  bool assignQuietly(rt::Variant& v) override {
    if (held_) return false;
    err_.clear();
    value_ = std::move(v);
    return true;
  }

  // The function the slot belongs to.
  void setPv(zorbel::ScriptValue* p) { fun_ = p; }
  // Ends the call: the slot forgets its function and answers what the call
  // gives back, the object the body set (Set F = obj) or the slot itself.
  rt::Ref<zorbel::ScriptValue> finish();

  // Set F = v: an object, a callable value or a list is held as it is (the
  // result is v itself); a plain value is taken by value; Nothing makes
  // the result Nothing.
  void rebind(zorbel::ScriptValue* v) override;

  std::u16string key() override { return key_; }
  // A slot made again is bound under the same name, mostly.
  void setKey(std::u16string_view key) override {
    if (std::u16string_view(key_) != key) key_ = key;
  }
  int32_t count() override;
  int32_t flag() override;
  rt::Variant value() override;
  // With a held object, forwarded to it; else the result value.
  void letValue(const rt::Variant& v) override;
  // Holds the script value `v` refers to (Nothing: none); an object that is
  // no script value is kept as the result value.
  void setValue(const rt::Variant& v) override;
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view name) override;
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& index, int32_t rf) override;
  // Calls the function again with the space that called the running one
  // (the parent of `ss`); its failure is copied here.
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  // Its own record when that holds an error, else the held object's.
  jespin::IErrInfo& error() override;
  bool hasError() override;

 protected:
  void destroy() noexcept override;

 private:
  void refuse(std::u16string_view source) { err_.setCode(ErrNotSupported, source); }

  ErrRecord err_;
  std::u16string key_;
  rt::Variant value_;
  rt::Ref<zorbel::ScriptValue> held_;
  rt::Ref<zorbel::ScriptValue> fun_;
};

}  // namespace engine
