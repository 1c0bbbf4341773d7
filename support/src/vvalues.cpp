#include "vvalues.h"

#include "rt/strings.h"

namespace jespin {

const rt::MemberTable<VValues>& VValues::members() {
  using S = std::u16string;
  static const auto table =
      rt::MemberTable<VValues>(u"VValues")
          .method(u"Clear", &VValues::clear)
          .method(u"Exist", [](VValues& l, S key) { return l.exist(key); })
          .prop(u"ListStr", &VValues::listStr, [](VValues& l, S text) { l.setListStr(text); })
          .method(u"Add",
                  [](VValues& l, std::span<rt::Variant> args) {
                    return addFromSlots(args, u"Add",
                                        [&](rt::Variant& v, S& k) { return l.addByRef(v, k); });
                  })
          .get(u"Item", &VValues::item)
          .byDefault()
          .get(u"Count", &VValues::count)
          .method(u"Remove", &VValues::removeByRef)
          .get(u"NewEnum", [](VValues& l) { return l.enumerate(); })
          .method(u"MoveToBefore", &VValues::moveToBefore)
          .method(u"MoveToAfter", &VValues::moveToAfter);
  return table;
}

void VValues::clear() {
  if (goesAhead(events_, this, [](VValuesEvents& s, bool& cancel) { s.clear(cancel); }))
    list_.clear();
}

std::u16string VValues::listStr() const {
  std::u16string out;
  for (size_t i = 1; i <= list_.count(); ++i) {
    if (i > 1) out += u';';
    out += list_.at(i)->str();
  }
  return out;
}

void VValues::setListStr(std::u16string_view text) {
  // No escaping: ";" always ends a piece and the first "=" its key.  A piece
  // with an empty key is filed without one.
  while (!text.empty()) {
    auto piece = rt::make<VValue>();
    piece->setStr(rt::splitHead(text, u";"));
    list_.file(piece);
  }
}

rt::Ref<IVValue> VValues::addByRef(rt::Variant& value, std::u16string& key) {
  if (!goesAhead(events_, this,
                 [&](VValuesEvents& s, bool& cancel) { s.add(value, key, cancel); }))
    return nullptr;
  return list_.append(value, key);
}

rt::Ref<IVValue> VValues::item(const rt::Variant& index) {
  rt::Ref<VValue> found;
  try {
    found = list_.find(index);
  } catch (const rt::RuntimeError&) {
    // An index that reads as neither number nor text misses like any other.
  }
  if (found) return found;
  // A miss hands out a blank element of its own, so what one caller does with
  // it never shows in the next miss.
  auto blank = rt::make<VValue>();
  blank->letValue(rt::Variant(u""));
  return blank;
}

void VValues::removeByRef(rt::Variant& index) {
  if (goesAhead(events_, this,
                [&](VValuesEvents& s, bool& cancel) { s.remove(index, cancel); }))
    list_.take(index);
}

void VValues::elementChanged(IVValue& vv) {
  events_.raise(this, [&](VValuesEvents& s) { s.valueChanged(vv); });
}

}  // namespace jespin
