#pragma once

#include <string>
#include <utility>

#include "jespin/values.h"
#include "rt/dispatch.h"
#include "rt/rings.h"

namespace jespin {

// A list that files elements and hears their value changes.
class ListOwner : public virtual rt::Object {
 public:
  virtual void elementChanged(IVValue& vv) = 0;
};

class VValue final : public rt::Automation<VValue, IVValue, rt::HoldsObjects> {
 public:
  static const rt::MemberTable<VValue>& members();

  bool dataChanged() const override { return dataChanged_; }
  void setDataChanged(bool changed) override { dataChanged_ = changed; }
  std::u16string str() const override;
  void setStr(std::u16string_view text) override;
  std::u16string key() const override { return key_; }
  void setKey(std::u16string_view key) override;
  rt::Variant value() const override { return value_; }
  void letValue(const rt::Variant& value) override;
  void setValue(rt::Object* object) override;
  std::u16string tag() const override { return tag_; }
  void setTag(std::u16string_view tag) override;
  rt::Ref<rt::Object> parent() const override { return rt::Ref<rt::Object>(owner_); }

  // An object it holds as its value is what it holds (rt/rings.h).
  void eachHeld(rt::HeldVisitor& visit) noexcept override {
    if (value_.isObject()) visit.held(value_.object());
  }
  void letGoOfHeld() noexcept override { rt::Variant gone = std::exchange(value_, rt::Variant()); }

  // The list the element is filed in, told of value changes; not owned: the
  // list unlinks its elements when they leave it and when it ends.
  void linkTo(ListOwner* owner) { owner_ = owner; }

 private:
  void assigned();

  bool dataChanged_ = false;
  std::u16string key_;
  rt::Variant value_;
  std::u16string tag_;
  ListOwner* owner_ = nullptr;
};

}  // namespace jespin
