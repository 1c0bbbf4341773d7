#include "rt/collection.h"

#include <cmath>

namespace rt {

namespace {

class CollectionEnumerator final : public Enumerator {
 public:
  explicit CollectionEnumerator(Ref<Collection> c) : c_(std::move(c)) {}
  void* query(const Iid& iid) noexcept override { return queryAmong<Enumerator>(this, iid); }
  bool next(Variant& out) override {
    if (pos_ >= c_->list().count()) return false;
    out = c_->list().at(++pos_).value;
    return true;
  }

 private:
  Ref<Collection> c_;
  size_t pos_ = 0;
};

}  // namespace

const MemberTable<Collection>& Collection::members() {
  static const auto table = MemberTable<Collection>(u"Collection")
                                .method(u"Item", &Collection::item)
                                .byDefault()
                                .method(u"Add", &Collection::add)
                                .get(u"Count", &Collection::count)
                                .method(u"Remove", &Collection::remove);
  return table;
}

// The position a number gives.
size_t Collection::numberedPosition(const Variant& number) {
  double d = toDouble(number);
  if (!(d >= 1 && d <= static_cast<double>(list_.count()))) raise(err::SubscriptOutOfRange);
  return static_cast<size_t>(toLong(number));
}

// A position given as a number, or a key given as text.
size_t Collection::positionOf(const Variant& index) {
  Variant v = valueOf(index);
  if (!v.isText()) return numberedPosition(v);
  size_t p = list_.find(v.text());
  if (!p) raise(err::InvalidCall);
  return p;
}

void Collection::add(const Variant& item, std::optional<Variant> key, std::optional<Variant> before,
                     std::optional<Variant> after) {
  std::optional<std::u16string> k;
  if (key && !key->isEmpty()) {
    Variant kv = valueOf(*key);
    if (!kv.isText()) raise(err::TypeMismatch);
    k = kv.text();
  }
  std::optional<size_t> b, a;
  if (before && !before->isEmpty()) b = positionOf(*before);
  if (after && !after->isEmpty()) a = positionOf(*after);
  list_.add(item, std::move(k), b, a);
}

Variant Collection::item(const Variant& index) {
  Variant v = valueOf(index);
  if (!v.isText()) return list_.at(numberedPosition(v)).value;
  // Straight through the key index: finding the position walks the items.
  KeyedList<Variant>::Entry* e = list_.lookup(v.text());
  if (!e) raise(err::InvalidCall);
  return e->value;
}

void Collection::remove(const Variant& index) { list_.remove(positionOf(index)); }

Ref<Enumerator> Collection::enumerate() { return make<CollectionEnumerator>(Ref<Collection>(this)); }

}  // namespace rt
