#pragma once

#include <string>

#include "jespin/values.h"
#include "rt/dispatch.h"
#include "rt/enumerator.h"
#include "rt/events.h"
#include "rt/rings.h"
#include "valuelist.h"

namespace jespin {

class VValues final : public rt::Automation<VValues, IVValues, rt::Enumerable, rt::HoldsObjects>,
                      public ListOwner {
 public:
  static const rt::MemberTable<VValues>& members();

  void clear() override;
  bool exist(std::u16string_view key) const override { return list_.exists(key); }
  std::u16string listStr() const override;
  void setListStr(std::u16string_view text) override;
  rt::Ref<IVValue> addByRef(rt::Variant& value, std::u16string& key) override;
  rt::Ref<IVValue> item(const rt::Variant& index) override;
  int32_t count() const override { return static_cast<int32_t>(list_.count()); }
  void removeByRef(rt::Variant& index) override;
  void moveToBefore(const rt::Variant& which, const rt::Variant& beside) override {
    list_.move(which, beside, false);
  }
  void moveToAfter(const rt::Variant& which, const rt::Variant& beside) override {
    list_.move(which, beside, true);
  }
  uint32_t advise(rt::Ref<VValuesEvents> sink) override { return events_.advise(std::move(sink)); }
  void unadvise(uint32_t cookie) override { events_.unadvise(cookie); }

  rt::Ref<rt::Enumerator> enumerate() override { return list_.enumerate(*this); }
  // Its elements are what it holds (rt/rings.h); let go of without events.
  void eachHeld(rt::HeldVisitor& visit) noexcept override {
    list_.forEach([&](VValue* e) { visit.held(e); });
  }
  void letGoOfHeld() noexcept override { list_.clear(); }
  void elementChanged(IVValue& vv) override;

 private:
  rt::EventSource<VValuesEvents> events_;
  ValueList list_{*this};
};

}  // namespace jespin
