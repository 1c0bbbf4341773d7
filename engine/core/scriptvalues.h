// ScriptValues: the engine's ordered, keyed collection of script values.
// It holds the variables of every script space and the attributes and
// sub-values of every general value.
//
// Items keep insertion order, positions from 1; an item is stored without a
// key or under a text key, unique without regard to case.  The key is fixed
// when the item is stored: changing the item's Key later does not re-file it.
// Items are counted references.
//
// Engine code uses the fast paths (find, at, bind) that take no Variant and
// hand out uncounted pointers, valid while the item stays in the collection.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/direct.h"
#include "core/pool.h"
#include "core/strutil.h"
#include "kestrin/values.h"
#include "rt/dispatch.h"
#include "rt/enumerator.h"
#include "rt/rings.h"
#include "zorbel/zorbel.h"

namespace engine {

class ScriptValues final
    : public rt::Automation<ScriptValues, kestrin::IScriptValues, rt::Enumerable, rt::HoldsObjects>,
      public Pooled<ScriptValues> {
 public:
  static const rt::MemberTable<ScriptValues>& members();

  ScriptValues();
  // The variables of a script space: the space answers for them, so the
  // look for rings never walks them (rt/rings.h).
  struct OfSpace {};
  explicit ScriptValues(OfSpace) { untraced(); }
  ~ScriptValues() override;

  // Its items are what it holds.
  void eachHeld(rt::HeldVisitor& visit) noexcept override {
    for (const Item& it : items_) visit.held(it.value.get());
  }
  void letGoOfHeld() noexcept override { clear(); }

  // --- The members ---
  void clear() override;
  bool exist(std::u16string_view key) const override { return find(key) != nullptr; }
  rt::Ref<zorbel::ScriptValue> add(const rt::Variant& value, std::u16string_view key) override;
  bool addObj(zorbel::ScriptValue* v) override;
  rt::Ref<zorbel::ScriptValue> item(const rt::Variant& indexKey) override;
  int32_t count() const override { return static_cast<int32_t>(items_.size()); }
  void remove(const rt::Variant& indexKey) override;
  rt::Ref<rt::Enumerator> enumerate() override;

  // --- Fast paths for the engine ---
  // The item under `key`, or null.
  zorbel::ScriptValue* find(std::u16string_view key) const;
  // The item at a position from 1 (in range), and what the evaluator may do
  // with it directly (direct.h; asked once per item).
  struct Bound {
    zorbel::ScriptValue* value;
    Direct direct;
  };
  Bound boundAt(int32_t position) const {
    return Bound{items_[position - 1].value.get(), directAt(position)};
  }
  // Only what the evaluator may do with the item at `position`.
  const Direct& directAt(int32_t position) const {
    const Item& it = items_[position - 1];
    if (!it.probed) {
      it.direct = directOf(it.value.get());
      it.probed = true;
    }
    return it.direct;
  }
  // The position (from 1) of the item under `key`, or 0.
  int32_t positionOf(std::u16string_view key) const {
    return static_cast<int32_t>(slotOf(key) + 1);
  }
  // Whether a position from 1 is in range: asked for every kept name read,
  // so without dividing by the item size as count() does.
  bool holds(int32_t position) const {
    return position >= 1 && items_.begin() + (position - 1) < items_.end();
  }
  // The item at a position from 1, or null outside 1..count.
  zorbel::ScriptValue* at(int32_t position) const {
    return position >= 1 && position <= count() ? items_[position - 1].value.get() : nullptr;
  }
  // Stores `v` under `key` (none when empty); false when the key is in use.
  bool addUnder(zorbel::ScriptValue* v, std::u16string_view key);
  // The same for a value and a key known not to be in use.
  void append(zorbel::ScriptValue* v, std::u16string_view key);
  // Removes the item under `key`; false when there is none.
  bool removeKey(std::u16string_view key);
  // Stores `v` in place of the item under `key`, at its position; false
  // when there is none.  The item that was there is let go last.
  bool replace(std::u16string_view key, zorbel::ScriptValue* v);

 private:
  struct Item {
    Item(zorbel::ScriptValue* v, std::u16string_view k, bool isKeyed)
        : value(v), key(k), keyed(isKeyed) {}
    rt::Ref<zorbel::ScriptValue> value;
    std::u16string key;  // as stored; meaningful only when `keyed`
    bool keyed = false;
    mutable bool probed = false;  // `direct` has been asked
    mutable Direct direct;
  };
  using Index = std::unordered_map<std::u16string, size_t, NoCaseHash, NoCaseEq>;

  // Position (from 0) of the item under `key`, or -1.
  ptrdiff_t slotOf(std::u16string_view key) const;
  void eraseAt(size_t slot);
  void buildIndex();

  std::vector<Item> items_;
  size_t keyed_ = 0;
  // Built once the keyed items outgrow a linear search.
  std::unique_ptr<Index> index_;
};

}  // namespace engine
