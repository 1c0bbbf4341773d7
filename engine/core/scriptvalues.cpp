#include "core/scriptvalues.h"

#include "builtins/svgeneral.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/text.h"

namespace engine {

namespace {

// Below this many items a linear search beats hashing.
constexpr size_t kIndexFrom = 8;
// Room made for the first keyed items at once: most spaces (a function
// call's) hold a few names.
constexpr size_t kFirstRoom = 4;
// The most room an emptied collection keeps.
constexpr size_t kKeptRoom = 16;

class ValuesEnumerator final : public rt::Enumerator {
 public:
  explicit ValuesEnumerator(rt::Ref<ScriptValues> list) : list_(std::move(list)) {}
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::Enumerator>(this, iid); }
  bool next(rt::Variant& out) override {
    zorbel::ScriptValue* v = list_->at(++pos_);
    if (!v) return false;
    out = rt::Variant(static_cast<rt::Object*>(v));
    return true;
  }

 private:
  rt::Ref<ScriptValues> list_;
  int32_t pos_ = 0;
};

// A ScriptValue handed in through late binding; null for anything else.
rt::Ref<zorbel::ScriptValue> scriptValueArg(const rt::Variant& v) {
  return v.isObject() ? rt::queryRef<zorbel::ScriptValue>(v.object()) : nullptr;
}

}  // namespace

const rt::MemberTable<ScriptValues>& ScriptValues::members() {
  static const auto table =
      rt::MemberTable<ScriptValues>(u"ScriptValues")
          .method(u"Clear", &ScriptValues::clear)
          .method(u"Exist", [](ScriptValues& l, const std::u16string& vn) { return l.exist(vn); })
          .method(u"Add",
                  [](ScriptValues& l, const rt::Variant& value, std::optional<std::u16string> key) {
                    return rt::Variant(l.add(value, key ? *key : std::u16string()));
                  })
          .method(u"AddObj",
                  [](ScriptValues& l, const rt::Variant& v) {
                    return l.addObj(scriptValueArg(v).get());
                  })
          .method(u"Item", [](ScriptValues& l, const rt::Variant& i) { return rt::Variant(l.item(i)); })
          .byDefault()
          .get(u"Count", [](ScriptValues& l) { return l.count(); })
          .method(u"Remove", &ScriptValues::remove)
          .get(u"NewEnum", [](ScriptValues& l) { return rt::Variant(l.enumerate()); });
  return table;
}

ScriptValues::ScriptValues() = default;
ScriptValues::~ScriptValues() = default;

// Each item is released once it has left the collection, which is
// consistent at that moment: an item's release may reach back into it.  A
// small collection keeps its room (a space that serves call after call).
void ScriptValues::clear() {
  index_.reset();
  while (!items_.empty()) {
    rt::Ref<zorbel::ScriptValue> gone = std::move(items_.back().value);
    if (items_.back().keyed) --keyed_;
    items_.pop_back();
  }
  if (items_.capacity() > kKeptRoom) std::vector<Item>().swap(items_);
}

ptrdiff_t ScriptValues::slotOf(std::u16string_view key) const {
  if (index_) {
    auto it = index_->find(key);
    return it == index_->end() ? -1 : static_cast<ptrdiff_t>(it->second);
  }
  if (keyed_ == 0) return -1;
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].keyed && sameName(items_[i].key, key)) return static_cast<ptrdiff_t>(i);
  return -1;
}

zorbel::ScriptValue* ScriptValues::find(std::u16string_view key) const {
  ptrdiff_t s = slotOf(key);
  return s < 0 ? nullptr : items_[static_cast<size_t>(s)].value.get();
}

bool ScriptValues::addUnder(zorbel::ScriptValue* v, std::u16string_view key) {
  if (!v || (!key.empty() && slotOf(key) >= 0)) return false;
  append(v, key);
  return true;
}

void ScriptValues::append(zorbel::ScriptValue* v, std::u16string_view key) {
  const bool keyed = !key.empty();
  if (items_.empty()) items_.reserve(kFirstRoom);
  items_.emplace_back(v, key, keyed);
  if (keyed) ++keyed_;
  // Unkeyed items count too: a search walks past them.
  if (index_) {
    if (keyed) index_->emplace(items_.back().key, items_.size() - 1);
  } else if (keyed_ > 0 && items_.size() > kIndexFrom) {
    buildIndex();
  }
}

void ScriptValues::buildIndex() {
  index_ = std::make_unique<Index>();
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].keyed) index_->emplace(items_[i].key, i);
}

rt::Ref<zorbel::ScriptValue> ScriptValues::add(const rt::Variant& value, std::u16string_view key) {
  if (!key.empty() && slotOf(key) >= 0) rt::raise(rt::err::KeyExists);
  rt::Ref<SvGeneral> g = SvGeneral::holding(value);
  if (!key.empty()) g->setKey(key);
  addUnder(g.get(), key);
  return g;
}

bool ScriptValues::addObj(zorbel::ScriptValue* v) {
  if (!v) return false;
  try {
    return addUnder(v, v->key());
  } catch (...) {  // never raises: a failing Key or a failed allocation answers False
    return false;
  }
}

rt::Ref<zorbel::ScriptValue> ScriptValues::item(const rt::Variant& indexKey) {
  if (indexKey.isText()) return find(indexKey.text());
  try {
    return at(rt::toLong(indexKey));
  } catch (const rt::RuntimeError&) {
    return nullptr;
  }
}

void ScriptValues::eraseAt(size_t slot) {
  rt::Ref<zorbel::ScriptValue> gone = std::move(items_[slot].value);
  if (items_[slot].keyed) --keyed_;
  items_.erase(items_.begin() + static_cast<ptrdiff_t>(slot));
  if (index_) buildIndex();  // positions after the slot moved
}

bool ScriptValues::removeKey(std::u16string_view key) {
  ptrdiff_t s = slotOf(key);
  if (s < 0) return false;
  eraseAt(static_cast<size_t>(s));
  return true;
}

bool ScriptValues::replace(std::u16string_view key, zorbel::ScriptValue* v) {
  ptrdiff_t s = slotOf(key);
  if (s < 0 || !v) return false;
  Item& it = items_[static_cast<size_t>(s)];
  rt::Ref<zorbel::ScriptValue> gone = std::move(it.value);
  it.value = v;
  it.probed = false;
  return true;
}

void ScriptValues::remove(const rt::Variant& indexKey) {
  if (indexKey.isText()) {
    if (!removeKey(indexKey.text())) rt::raise(rt::err::InvalidCall);
    return;
  }
  int32_t p = rt::toLong(indexKey);
  if (p < 1 || p > count()) rt::raise(rt::err::SubscriptOutOfRange);
  eraseAt(static_cast<size_t>(p - 1));
}

rt::Ref<rt::Enumerator> ScriptValues::enumerate() {
  return rt::make<ValuesEnumerator>(rt::Ref<ScriptValues>(this));
}

}  // namespace engine
