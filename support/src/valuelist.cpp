#include "valuelist.h"

#include <utility>

#include "rt/convert.h"

namespace jespin {

namespace {

class ElementEnumerator final : public rt::Enumerator {
 public:
  ElementEnumerator(rt::Object& holder, ValueList& list) : holder_(&holder), list_(list) {}
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::Enumerator>(this, iid); }
  bool next(rt::Variant& out) override {
    if (position_ >= list_.count()) return false;
    out = rt::Variant(list_.at(++position_));
    return true;
  }

 private:
  rt::Ref<rt::Object> holder_;  // keeps the list alive
  ValueList& list_;
  size_t position_ = 0;
};

std::optional<std::u16string> keyOrNone(std::u16string_view key) {
  if (key.empty()) return std::nullopt;
  return std::u16string(key);
}

}  // namespace

ValueList::~ValueList() {
  for (size_t i = 1; i <= items_.count(); ++i) items_.at(i).value->linkTo(nullptr);
}

ValueList::Index ValueList::readIndex(const rt::Variant& index) {
  rt::Variant v = rt::valueOf(index);
  Index i;
  switch (v.type()) {
    case rt::VT::String:
      i.key = v.text();
      break;
    case rt::VT::Integer:
      i.position = v.integer();
      break;
    case rt::VT::Long:
      i.position = v.longValue();
      break;
    case rt::VT::Byte:
      i.position = v.byte();
      break;
    default: {
      // Any other number is rounded as every conversion to a position is.
      double d = rt::toDouble(v);
      if (d >= 0.5 && d < 4e9) i.position = static_cast<int64_t>(rt::roundHalfEven(d));
      break;
    }
  }
  return i;
}

VValue* ValueList::lookup(const Index& index) {
  if (index.key) {
    auto* entry = items_.lookup(*index.key);
    return entry ? entry->value.get() : nullptr;
  }
  if (index.position < 1 || static_cast<uint64_t>(index.position) > items_.count()) return nullptr;
  return items_.at(static_cast<size_t>(index.position)).value.get();
}

size_t ValueList::positionOf(const Index& index) const {
  if (index.key) {
    size_t p = items_.find(*index.key);
    if (!p) rt::raise(rt::err::InvalidCall);
    return p;
  }
  if (index.position < 1 || static_cast<uint64_t>(index.position) > items_.count())
    rt::raise(rt::err::SubscriptOutOfRange);
  return static_cast<size_t>(index.position);
}

rt::Ref<VValue> ValueList::find(const rt::Variant& index) { return lookup(readIndex(index)); }

rt::Ref<VValue> ValueList::get(const rt::Variant& index) {
  return at(positionOf(readIndex(index)));
}

rt::Ref<VValue> ValueList::take(const rt::Variant& index) { return takeAt(positionOf(readIndex(index))); }

rt::Ref<VValue> ValueList::takeAt(size_t position) {
  rt::Ref<VValue> e = items_.remove(position);
  e->linkTo(nullptr);
  return e;
}

rt::Ref<VValue> ValueList::append(const rt::Variant& value, std::u16string_view key) {
  auto e = rt::make<VValue>();
  e->setKey(key);
  file(e);
  if (value.isObject()) e->setValue(value.object());
  else e->letValue(value);
  return e;
}

void ValueList::file(const rt::Ref<VValue>& element) {
  items_.add(element, keyOrNone(element->key()));
  element->linkTo(&owner_);
}

void ValueList::clear() {
  // The list is replaced before the old elements go, so whatever their
  // release sets off meets an empty list.
  rt::KeyedList<rt::Ref<VValue>> old;
  std::swap(old, items_);
  for (size_t i = 1; i <= old.count(); ++i) old.at(i).value->linkTo(nullptr);
}

void ValueList::move(const rt::Variant& which, const rt::Variant& beside, bool after) {
  // Both indexes are read before anything changes: reading one may run a
  // default member, which must not find the element out of the list.
  Index from = readIndex(which), to = readIndex(beside);
  size_t was = positionOf(from);
  std::optional<std::u16string> filedKey = items_.at(was).key;
  rt::Ref<VValue> e = items_.remove(was);
  try {
    size_t next = positionOf(to);
    items_.add(e, keyOrNone(e->key()), after ? std::nullopt : std::optional(next),
               after ? std::optional(next) : std::nullopt);
  } catch (...) {
    std::optional<size_t> before;
    if (was <= items_.count()) before = was;
    items_.add(e, std::move(filedKey), before);
    throw;
  }
}

rt::Ref<rt::Enumerator> ValueList::enumerate(rt::Object& holder) {
  return rt::make<ElementEnumerator>(holder, *this);
}

}  // namespace jespin
