// The keyed collection that serves every list class: items in the order of
// adding, positions from 1, optional text keys unique without regard to case.
// Failures raise the runtime's errors: 9 for a position out of range, 5 for a
// key that is not there (or both "before" and "after" given), 457 for a key
// that is already taken.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rt/api.h"
#include "rt/dispatch.h"
#include "rt/enumerator.h"
#include "rt/error.h"
#include "rt/keyindex.h"
#include "rt/rings.h"
#include "rt/text.h"

namespace rt {

template <class T>
class KeyedList {
 public:
  struct Entry {
    T value;
    std::optional<std::u16string> key;  // as given
  };

  size_t count() const { return items_.size(); }
  bool empty() const { return items_.empty(); }

  // Appends, or inserts before / after the item at a position (from 1).
  // Returns the new item's position.
  size_t add(T value, std::optional<std::u16string> key = std::nullopt,
             std::optional<size_t> before = std::nullopt, std::optional<size_t> after = std::nullopt) {
    if (before && after) raise(err::InvalidCall);
    size_t at = items_.size();
    if (before) at = checkPosition(*before) - 1;
    else if (after) at = checkPosition(*after);
    if (key && keys_.find(*key)) raise(err::KeyExists);
    auto e = std::make_unique<Entry>(Entry{std::move(value), std::move(key)});
    Entry* raw = e.get();
    // Room first, so the index never files an entry the list then fails to take.
    if (items_.size() == items_.capacity()) items_.reserve(items_.size() * 2 + 8);
    if (raw->key) keys_.insert(raw);
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), std::move(e));
    return at + 1;
  }

  // Position (from 1) of the item under `key`, or 0.
  size_t find(std::u16string_view key) const {
    const Entry* e = keys_.find(key);
    if (!e) return 0;
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i].get() == e) return i + 1;
    return 0;
  }
  bool exists(std::u16string_view key) const { return keys_.find(key) != nullptr; }

  Entry& at(size_t position) { return *items_[checkPosition(position) - 1]; }
  const Entry& at(size_t position) const { return *items_[checkPosition(position) - 1]; }
  Entry& at(std::u16string_view key) {
    Entry* e = keys_.find(key);
    if (!e) raise(err::InvalidCall);
    return *e;
  }
  // The entry under `key`, or nullptr.
  Entry* lookup(std::u16string_view key) { return keys_.find(key); }

  // Removes and returns the item at a position.
  T remove(size_t position) {
    size_t i = checkPosition(position) - 1;
    std::unique_ptr<Entry> e = std::move(items_[i]);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
    if (e->key) keys_.erase(e.get());
    return std::move(e->value);
  }
  T remove(std::u16string_view key) {
    size_t p = find(key);
    if (!p) raise(err::InvalidCall);
    return remove(p);
  }
  void clear() {
    keys_.clear();
    items_.clear();
  }
  // Empties the list and hands over its entries, so that letting go of
  // them finds the list consistent.
  std::vector<std::unique_ptr<Entry>> takeAll() noexcept {
    keys_.clear();
    return std::move(items_);
  }
  template <class Visit>
  void forEach(Visit visit) const {
    for (const std::unique_ptr<Entry>& e : items_) visit(e->value);
  }

 private:
  size_t checkPosition(size_t p) const {
    if (p < 1 || p > items_.size()) raise(err::SubscriptOutOfRange);
    return p;
  }

  static std::u16string_view keyOf(const Entry& e) { return *e.key; }

  std::vector<std::unique_ptr<Entry>> items_;
  KeyIndex<Entry, &KeyedList::keyOf> keys_;
};

// The runtime's collection object (New Collection): Add, Count, Item (the
// default member, by position or key), Remove, and For Each.
class RT_API Collection : public Automation<Collection, Enumerable, HoldsObjects> {
 public:
  static const MemberTable<Collection>& members();

  void add(const Variant& item, std::optional<Variant> key, std::optional<Variant> before,
           std::optional<Variant> after);
  int32_t count() const { return static_cast<int32_t>(list_.count()); }
  Variant item(const Variant& index);
  void remove(const Variant& index);
  void clear() { list_.clear(); }
  bool exists(std::u16string_view key) const { return list_.exists(key); }
  Ref<Enumerator> enumerate() override;

  KeyedList<Variant>& list() { return list_; }

  // The objects among its items are what it holds (rt/rings.h).
  void eachHeld(HeldVisitor& visit) noexcept override {
    list_.forEach([&](const Variant& v) {
      if (v.isObject()) visit.held(v.object());
    });
  }
  void letGoOfHeld() noexcept override { auto gone = list_.takeAll(); }

 private:
  size_t positionOf(const Variant& index);
  size_t numberedPosition(const Variant& number);
  KeyedList<Variant> list_;
};

}  // namespace rt
