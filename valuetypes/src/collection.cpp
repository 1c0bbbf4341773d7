#include "collection.h"

#include <new>
#include <optional>
#include <utility>

#include "arguments.h"
#include "objectvalue.h"
#include "scalars.h"

namespace fennick {

namespace {

// An item as a script value: one that is a script value already is handed
// out itself (so assigning through it changes the stored object), any other
// object in a new SvObject, a plain value in a new SvVariant.
rt::Ref<zorbel::ScriptValue> scriptValueOf(const rt::Variant& item) {
  if (!item.isObject()) return newValue<SvVariant>(item);
  if (auto sv = rt::queryRef<zorbel::ScriptValue>(item.object())) return sv;
  rt::Ref<SvObject> holder = rt::make<SvObject>();
  holder->hold(item.object());
  return holder;
}

// The value an index stands for: a script value given as the index is read.
rt::Variant plainIndex(const rt::Variant& index) {
  if (index.isObject() && index.object())
    if (auto sv = rt::queryRef<zorbel::ScriptValue>(index.object())) return sv->value();
  return index;
}

zorbel::ScriptValue& argument(zorbel::ScriptValue* sv) {
  if (!sv) rt::raise(rt::err::ObjectNotSet);
  return *sv;
}

}  // namespace

const rt::MemberTable<SvCollection>& SvCollection::members() {
  using Arg = rt::Ref<zorbel::ScriptValue>;
  static const auto table =
      rt::MemberTable<SvCollection>(u"SvCollection")
          .method(u"Add", [](SvCollection& c, Arg sv) { c.add(sv.get()); })
          .method(u"Remove", [](SvCollection& c, Arg sv) { c.remove(sv.get()); })
          .method(u"Clear", [](SvCollection& c, Arg sv) { c.clear(sv.get()); })
          .method(u"Exist", [](SvCollection& c, Arg sv) { return c.exist(sv.get()); });
  return table;
}

void* SvCollection::query(const rt::Iid& id) noexcept {
  if (id == iid) return this;
  return Automation::query(id);
}

SvCollection::SvCollection() : items_(rt::make<rt::Collection>()), record_(u"SvCollection") {}

void SvCollection::letGoOfHeld() noexcept {
  try {
    rt::Ref<rt::Collection> gone = std::exchange(items_, rt::make<rt::Collection>());
  } catch (const std::bad_alloc&) {
    // Kept: the inner collection lets go of its own items when it goes too.
  }
}

void SvCollection::add(zorbel::ScriptValue* sv) {
  zorbel::ScriptValue& arg = argument(sv);
  int32_t n = (arg.flag() & zorbel::FlagList) ? arg.count() : 0;
  rt::Variant item = n >= 1 ? listItem(arg, 1) : arg.value();
  std::optional<rt::Variant> key;
  if (n >= 2) key = listItem(arg, 2);
  items_->add(item, key, std::nullopt, std::nullopt);
}

void SvCollection::remove(zorbel::ScriptValue* sv) { items_->remove(argument(sv).value()); }

void SvCollection::clear(zorbel::ScriptValue*) {
  // Swapped, not emptied: a For Each over the old items may still be running.
  items_ = rt::make<rt::Collection>();
}

rt::Ref<zorbel::ScriptValue> SvCollection::exist(zorbel::ScriptValue* sv) {
  rt::Ref<SvBoolean> found = newValue<SvBoolean>(rt::Variant(false));
  try {
    items_->item(argument(sv).value());
    found->letValue(rt::Variant(true));
  } catch (const rt::RuntimeError&) {
    // Any failure of the lookup means "not there".
  }
  return found;
}

rt::Ref<zorbel::ScriptValue> SvCollection::attr(std::u16string_view name) {
  rt::Ref<SvCollFns> fns = rt::make<SvCollFns>();
  fns->init(this, name);
  return fns;
}

rt::Ref<zorbel::ScriptValue> SvCollection::subs(const rt::Variant& index, int32_t) {
  return scriptValueOf(items_->item(plainIndex(index)));
}

}  // namespace fennick
