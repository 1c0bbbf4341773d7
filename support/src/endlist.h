// What VStack and VQueue share: the same members in the same order, told
// apart only by the names of putting and taking, the events those announce,
// and the end that taking uses.  `Self` gives them:
//
//   kClassName, kPutName, kTakeName   member and class names
//   kTakesLast                        take from the end (the top of a stack)
//   announcePut(sink, value, key, cancel), announceTake(sink, cancel)
#pragma once

#include <span>
#include <string>

#include "rt/dispatch.h"
#include "rt/enumerator.h"
#include "rt/events.h"
#include "rt/rings.h"
#include "valuelist.h"

namespace jespin {

template <class Self, class Iface, class Sink>
class EndList : public rt::Automation<Self, Iface, rt::Enumerable, rt::HoldsObjects>, public ListOwner {
 public:
  static const rt::MemberTable<Self>& members() {
    using S = std::u16string;
    static const auto table =
        rt::MemberTable<Self>(S(Self::kClassName))
            .method(u"Clear", [](Self& l) { l.clear(); })
            .method(u"Exist", [](Self& l, S key) { return l.exist(key); })
            .method(Self::kPutName,
                    [](Self& l, std::span<rt::Variant> args) {
                      return addFromSlots(args, Self::kPutName,
                                          [&](rt::Variant& v, S& k) { return l.put(v, k); });
                    })
            .get(u"Item", [](Self& l, const rt::Variant& index) { return l.item(index); })
            .byDefault()
            .get(u"Count", [](Self& l) { return l.count(); })
            .method(Self::kTakeName, [](Self& l) { return l.take(); })
            .method(u"Remove", [](Self& l, rt::Variant& index) { l.removeByRef(index); })
            .get(u"NewEnum", [](Self& l) { return l.enumerate(); });
    return table;
  }

  void clear() override {
    if (goesAhead(events_, this, [](Sink& s, bool& cancel) { s.willClear(cancel); })) list_.clear();
  }
  bool exist(std::u16string_view key) const override { return list_.exists(key); }
  rt::Ref<IVValue> item(const rt::Variant& index) override { return list_.get(index); }
  int32_t count() const override { return static_cast<int32_t>(list_.count()); }
  void removeByRef(rt::Variant& index) override {
    if (goesAhead(events_, this, [&](Sink& s, bool& cancel) { s.willRemove(index, cancel); }))
      list_.take(index);
  }
  uint32_t advise(rt::Ref<Sink> sink) override { return events_.advise(std::move(sink)); }
  void unadvise(uint32_t cookie) override { events_.unadvise(cookie); }

  rt::Ref<rt::Enumerator> enumerate() override { return list_.enumerate(*this); }
  // Its elements are what it holds (rt/rings.h); let go of without events.
  void eachHeld(rt::HeldVisitor& visit) noexcept override {
    list_.forEach([&](VValue* e) { visit.held(e); });
  }
  void letGoOfHeld() noexcept override { list_.clear(); }
  void elementChanged(IVValue& vv) override {
    events_.raise(this, [&](Sink& s) { s.valueChanged(vv); });
  }

  // Push / PutIn: the steps of VValues.Add, with the put event.
  rt::Ref<IVValue> put(rt::Variant& value, std::u16string& key) {
    if (!goesAhead(events_, this,
                   [&](Sink& s, bool& cancel) { Self::announcePut(s, value, key, cancel); }))
      return nullptr;
    return list_.append(value, key);
  }
  // Pop / GetOut: announced even on an empty list; nothing when cancelled or empty.
  rt::Ref<IVValue> take() {
    if (!goesAhead(events_, this, [](Sink& s, bool& cancel) { Self::announceTake(s, cancel); }))
      return nullptr;
    if (list_.empty()) return nullptr;
    return list_.takeAt(Self::kTakesLast ? list_.count() : 1);
  }

 private:
  rt::EventSource<Sink> events_;
  ValueList list_{*this};
};

}  // namespace jespin
