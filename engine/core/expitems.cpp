#include "core/expitems.h"

#include "rt/error.h"

namespace engine {

namespace {

size_t checkedIndex(int32_t i, size_t size) {
  if (i < 1 || static_cast<size_t>(i) > size) rt::raise(rt::err::SubscriptOutOfRange);
  return static_cast<size_t>(i - 1);
}

// Reading a count from a damaged stream must not spin: a stream that has
// run out of data says so before the next item is read.
void requireMore(nubrel::VStream& vs) {
  if (vs.eof()) rt::raise(rt::err::PastEndOfFile);
}

}  // namespace

ExpItem& ExpItems::add(int32_t iType) {
  items_.push_back(ExpItem{iType, rt::Variant()});
  return items_.back();
}

bool ExpItems::addObj(const ExpItem& ei) {
  items_.push_back(ei);
  return true;
}

void ExpItems::addAll(const ExpItems& other) {
  items_.insert(items_.end(), other.items_.begin(), other.items_.end());
}

ExpItem& ExpItems::item(int32_t i) { return items_[checkedIndex(i, items_.size())]; }

const ExpItem& ExpItems::item(int32_t i) const { return items_[checkedIndex(i, items_.size())]; }

void ExpItems::remove(int32_t i) {
  items_.erase(items_.begin() + static_cast<ptrdiff_t>(checkedIndex(i, items_.size())));
}

rt::Ref<ExpItems> ExpItems::copy() const {
  rt::Ref<ExpItems> c = rt::make<ExpItems>();
  c->sptModeIndex = sptModeIndex;
  c->sptModeLine = sptModeLine;
  c->items_ = items_;
  return c;
}

std::u16string ExpItems::toString() const {
  std::u16string s;
  for (const ExpItem& ei : items_) s += ei.toString();
  return s;
}

void ExpItems::writeStream(nubrel::VStream& vs) const {
  vs.setVLong(sptModeIndex);
  vs.setVLong(sptModeLine);
  vs.setVLong(count());
  for (const ExpItem& ei : items_) ei.writeStream(vs);
}

void ExpItems::readStream(nubrel::VStream& vs) {
  sptModeIndex = vs.vLong();
  sptModeLine = vs.vLong();
  int32_t n = vs.vLong();
  for (int32_t i = 0; i < n; ++i) {
    requireMore(vs);
    ExpItem ei;
    ei.readStream(vs);
    items_.push_back(std::move(ei));
  }
}

rt::Ref<ExpItems> ItemsColl::add(std::u16string_view s) {
  rt::Ref<ExpItems> ies = rt::make<ExpItems>();
  ies->init(s);
  lists_.push_back(ies);
  return ies;
}

bool ItemsColl::addObj(const ExpItems& ies) {
  lists_.push_back(ies.copy());
  return true;
}

void ItemsColl::addExpItems(rt::Ref<ExpItems> ies) { lists_.push_back(std::move(ies)); }

ExpItems& ItemsColl::item(int32_t i) { return *lists_[checkedIndex(i, lists_.size())]; }

void ItemsColl::remove(int32_t i) {
  lists_.erase(lists_.begin() + static_cast<ptrdiff_t>(checkedIndex(i, lists_.size())));
}

}  // namespace engine
