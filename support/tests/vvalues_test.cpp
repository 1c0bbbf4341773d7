#include "vvalues.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "rt/collection.h"
#include "rt/text.h"
#include "testing.h"

namespace {

using jespin::IVValue;
using jespin::VValues;
using rt::Ref;
using rt::Variant;
using namespace testing_jespin;

// Records every event and lets a test answer it.
class Listener final : public jespin::VValuesEvents {
 public:
  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<jespin::VValuesEvents>(this, iid);
  }
  void add(Variant& value, std::u16string& key, bool& cancel) override {
    log += u"Add(" + key + u")";
    if (onAdd) onAdd(value, key, cancel);
  }
  void remove(Variant& index, bool& cancel) override {
    log += u"Remove";
    if (onRemove) onRemove(index, cancel);
  }
  void clear(bool& cancel) override {
    log += u"Clear";
    if (onClear) onClear(cancel);
  }
  void valueChanged(IVValue& vv) override { log += u"Changed(" + vv.key() + u")"; }

  std::u16string log;
  std::function<void(Variant&, std::u16string&, bool&)> onAdd;
  std::function<void(Variant&, bool&)> onRemove;
  std::function<void(bool&)> onClear;
};

// A list of text values filed under their own text as key: "a;b" gives a=a, b=b.
Ref<VValues> listOf(std::initializer_list<const char16_t*> keys) {
  auto l = rt::make<VValues>();
  for (const char16_t* k : keys) l->add(Variant(k), k);
  return l;
}

// The keys in list order, joined with ",".
std::u16string keysOf(VValues& l) {
  std::u16string out;
  for (int32_t i = 1; i <= l.count(); ++i) out += (i > 1 ? u"," : u"") + l.item(num(i))->key();
  return out;
}

std::vector<Ref<IVValue>> elementsOf(VValues& l) {
  std::vector<Ref<IVValue>> out;
  for (int32_t i = 1; i <= l.count(); ++i) out.push_back(l.item(num(i)));
  return out;
}

TEST(VValues, KeepsOrderAndCaseBlindKeys) {
  auto l = rt::make<VValues>();
  l->add(text(u"one"), u"Name");
  l->add(text(u"two"));
  l->add(text(u"three"), u"Other");
  EXPECT_EQ(l->count(), 3);
  EXPECT_EQ(l->item(num(2))->value().text(), u"two");
  EXPECT_EQ(l->item(text(u"NAME"))->value().text(), u"one");
  EXPECT_EQ(l->item(text(u"other"))->value().text(), u"three");
  EXPECT_TRUE(l->exist(u"name"));
  EXPECT_FALSE(l->exist(u"two"));  // unkeyed
  EXPECT_FALSE(l->exist(u"1"));    // never a position
  EXPECT_EQ(l->item(num(2))->key(), u"");
  EXPECT_TRUE(l->item(num(1))->dataChanged());

  EXPECT_EQ(errorOf([&] { l->add(text(u"dup"), u"NAME"); }), 457);
  EXPECT_EQ(l->count(), 3);
}

TEST(VValues, AnObjectIsHeldByReference) {
  auto l = rt::make<VValues>();
  auto obj = rt::make<rt::Collection>();
  Ref<IVValue> e = l->add(Variant(obj));
  ASSERT_TRUE(e->value().isObject());
  EXPECT_EQ(e->value().object(), static_cast<rt::Object*>(obj.get()));
}

TEST(VValues, MissesGiveAFreshBlankElement) {
  auto l = listOf({u"a", u"b", u"c"});
  const Variant misses[] = {num(5), num(0), num(-1), text(u"zz"), text(u""), Variant(rt::Null{})};
  for (const Variant& index : misses) {
    Ref<IVValue> blank = l->item(index);
    ASSERT_TRUE(blank);
    ASSERT_TRUE(blank->value().isText());
    EXPECT_EQ(blank->value().text(), u"");
    EXPECT_TRUE(blank->dataChanged());
    EXPECT_EQ(blank->key(), u"");
    EXPECT_FALSE(blank->parent());
    // What one caller does with it never shows in a later miss.
    blank->letValue(text(u"changed"));
    blank->setKey(u"k");
  }
  EXPECT_EQ(l->item(num(9))->value().text(), u"");
  EXPECT_NE(l->item(num(9)), l->item(num(9)));
  EXPECT_EQ(l->count(), 3);
}

TEST(VValues, AddEventMayChangeOrCancel) {
  struct Case {
    const char* what;
    std::function<void(Variant&, std::u16string&, bool&)> answer;
    bool added;
    std::u16string key, value;
  };
  const Case cases[] = {
      {"untouched", nullptr, true, u"k", u"v"},
      {"new value", [](Variant& v, std::u16string&, bool&) { v = text(u"w"); }, true, u"k", u"w"},
      {"new key", [](Variant&, std::u16string& k, bool&) { k = u"other"; }, true, u"other", u"v"},
      {"key cleared", [](Variant&, std::u16string& k, bool&) { k.clear(); }, true, u"", u"v"},
      {"cancelled", [](Variant&, std::u16string&, bool& c) { c = true; }, false, u"", u""},
  };
  for (const Case& c : cases) {
    auto l = rt::make<VValues>();
    auto sink = rt::make<Listener>();
    sink->onAdd = c.answer;
    l->advise(sink);
    Ref<IVValue> e = l->add(text(u"v"), u"k");
    EXPECT_EQ(bool(e), c.added) << c.what;
    EXPECT_EQ(l->count(), c.added ? 1 : 0) << c.what;
    if (!e) continue;
    EXPECT_EQ(e->key(), c.key) << c.what;
    EXPECT_EQ(e->value().text(), c.value) << c.what;
    if (!c.key.empty()) {
      EXPECT_TRUE(l->exist(c.key)) << c.what;
    }
    EXPECT_FALSE(l->exist(u"k") && c.key != u"k") << c.what;
  }
}

TEST(VValues, AddOfATakenKeyIsRefusedAfterTheEvent) {
  auto l = listOf({u"a"});
  auto sink = rt::make<Listener>();
  l->advise(sink);
  EXPECT_EQ(errorOf([&] { l->add(text(u"x"), u"A"); }), 457);
  EXPECT_EQ(sink->log, u"Add(A)");
  EXPECT_EQ(l->count(), 1);
}

TEST(VValues, RemoveEventMayRedirectOrCancel) {
  auto l = listOf({u"a", u"b", u"c"});
  auto sink = rt::make<Listener>();
  l->advise(sink);
  sink->onRemove = [](Variant& index, bool&) { index = text(u"c"); };
  Variant index = num(1);
  l->removeByRef(index);
  EXPECT_EQ(keysOf(*l), u"a,b");
  EXPECT_EQ(index.text(), u"c");  // the caller sees the listener's change

  sink->onRemove = [](Variant&, bool& cancel) { cancel = true; };
  l->remove(num(1));
  EXPECT_EQ(keysOf(*l), u"a,b");

  sink->onRemove = nullptr;
  EXPECT_EQ(errorOf([&] { l->remove(num(3)); }), 9);
  EXPECT_EQ(errorOf([&] { l->remove(text(u"zz")); }), 5);
  l->remove(text(u"A"));
  EXPECT_EQ(keysOf(*l), u"b");
}

TEST(VValues, ClearEventMayCancel) {
  auto l = listOf({u"a", u"b"});
  Ref<IVValue> kept = l->item(num(1));
  auto sink = rt::make<Listener>();
  l->advise(sink);
  sink->onClear = [](bool& cancel) { cancel = true; };
  l->clear();
  EXPECT_EQ(l->count(), 2);
  sink->onClear = nullptr;
  l->clear();
  EXPECT_EQ(l->count(), 0);
  EXPECT_FALSE(l->exist(u"a"));
  EXPECT_EQ(kept->key(), u"a");  // a caller's element outlives the list's hold
  EXPECT_FALSE(kept->parent());
  EXPECT_EQ(sink->log, u"ClearClear");
}

TEST(VValues, EveryListenerSeesTheSameCancel) {
  auto l = listOf({u"a"});
  auto first = rt::make<Listener>(), second = rt::make<Listener>();
  bool secondSaw = false;
  first->onClear = [](bool& cancel) { cancel = true; };
  second->onClear = [&](bool& cancel) { secondSaw = cancel; };
  l->advise(first);
  uint32_t cookie = l->advise(second);
  l->clear();
  EXPECT_TRUE(secondSaw);
  EXPECT_EQ(l->count(), 1);
  l->unadvise(cookie);
  l->clear();
  EXPECT_EQ(second->log, u"Clear");
}

TEST(VValues, FiledElementsReportValueChanges) {
  auto l = rt::make<VValues>();
  auto sink = rt::make<Listener>();
  l->advise(sink);
  Ref<IVValue> e = l->add(text(u"1"), u"k");
  EXPECT_EQ(sink->log, u"Add(k)Changed(k)");
  EXPECT_EQ(e->parent().get(), static_cast<rt::Object*>(l.get()));
  sink->log.clear();
  e->letValue(text(u"2"));
  e->setValue(nullptr);
  e->setStr(u"k=3");  // Str announces nothing
  EXPECT_EQ(sink->log, u"Changed(k)Changed(k)");
  sink->log.clear();
  l->remove(text(u"k"));
  e->letValue(text(u"4"));  // out of the list: no longer reported
  EXPECT_EQ(sink->log, u"Remove");
  EXPECT_FALSE(e->parent());
}

TEST(VValues, ElementOutlivesItsList) {
  Ref<IVValue> e;
  {
    auto l = listOf({u"a"});
    e = l->item(num(1));
  }
  EXPECT_FALSE(e->parent());
  e->letValue(text(u"still fine"));
  EXPECT_EQ(e->value().text(), u"still fine");
}

TEST(VValues, ListStrRoundTrips) {
  struct Case {
    std::u16string in, out;
    int count;
  };
  const Case cases[] = {
      {u"a=1;b=2", u"a=1;b=2", 2},
      {u"x;y=2", u"x=;y=2", 2},
      {u"a=1;", u"a=1", 1},
      {u"", u"", 0},
      {u"k=a=b", u"k=a=b", 1},
      {u"=v", u"=v", 1},    // an empty key files the element without one
      {u";;", u"=;=", 2},
      {u"p=1;=2;=3", u"p=1;=2;=3", 3},
  };
  for (const Case& c : cases) {
    auto l = rt::make<VValues>();
    l->setListStr(c.in);
    EXPECT_EQ(l->count(), c.count) << rt::toUtf8(c.in);
    EXPECT_EQ(l->listStr(), c.out) << rt::toUtf8(c.in);
  }
  auto l = rt::make<VValues>();
  l->setListStr(u"a=1;b=2");
  EXPECT_TRUE(l->exist(u"B"));
  EXPECT_TRUE(l->item(text(u"a"))->value().isText());
  EXPECT_EQ(l->item(text(u"a"))->value().text(), u"1");
}

TEST(VValues, ListStrAppendsWithoutEvents) {
  auto l = listOf({u"x"});
  auto sink = rt::make<Listener>();
  l->advise(sink);
  l->setListStr(u"a=1;b=2");
  EXPECT_EQ(keysOf(*l), u"x,a,b");
  EXPECT_EQ(sink->log, u"");
  EXPECT_EQ(l->item(num(2))->parent().get(), static_cast<rt::Object*>(l.get()));
}

TEST(VValues, ListStrStopsAtADuplicateKey) {
  auto l = rt::make<VValues>();
  EXPECT_EQ(errorOf([&] { l->setListStr(u"a=1;b=2;A=3;c=4"); }), 457);
  EXPECT_EQ(keysOf(*l), u"a,b");
}

TEST(VValues, MovesBeforeAndAfter) {
  struct Case {
    Variant which, beside;
    bool after;
    std::u16string result;
  };
  const Case cases[] = {
      {num(1), num(3), false, u"b,c,a,d"},
      {num(1), num(3), true, u"b,c,d,a"},
      {num(4), num(1), false, u"d,a,b,c"},
      {num(4), num(1), true, u"a,d,b,c"},
      {text(u"B"), text(u"d"), true, u"a,c,d,b"},
      {num(2), num(2), false, u"a,b,c,d"},  // before the one that was third
      {num(2), num(1), true, u"a,b,c,d"},
  };
  for (const Case& c : cases) {
    auto l = listOf({u"a", u"b", u"c", u"d"});
    auto sink = rt::make<Listener>();
    l->advise(sink);
    if (c.after) l->moveToAfter(c.which, c.beside);
    else l->moveToBefore(c.which, c.beside);
    EXPECT_EQ(keysOf(*l), c.result);
    EXPECT_EQ(sink->log, u"");  // moves announce nothing
    EXPECT_TRUE(l->exist(u"a") && l->exist(u"b") && l->exist(u"c") && l->exist(u"d"));
  }
}

TEST(VValues, AMoveRefilesUnderTheNewKey) {
  auto l = listOf({u"a", u"b", u"c"});
  Ref<IVValue> e = l->item(text(u"a"));
  e->setKey(u"z");
  EXPECT_EQ(l->item(text(u"a")), e);  // filed under its old key until moved
  EXPECT_FALSE(l->exist(u"z"));
  l->moveToAfter(text(u"a"), num(2));
  EXPECT_EQ(keysOf(*l), u"b,c,z");
  EXPECT_FALSE(l->exist(u"a"));
  EXPECT_EQ(l->item(text(u"Z")), e);
  e->setKey(u"");
  l->moveToBefore(num(3), num(1));
  EXPECT_EQ(keysOf(*l), u",b,c");
  EXPECT_FALSE(l->exist(u"z"));
}

TEST(VValues, AFailedMoveLosesNothing) {
  struct Case {
    const char* what;
    Variant which, beside;
    std::u16string newKey;  // given to the moved element first, when not empty
    int error;
  };
  const Case cases[] = {
      {"which missing", num(7), num(1), u"", 9},
      {"which key missing", text(u"zz"), num(1), u"", 5},
      {"beside past the end", num(2), num(4), u"", 9},
      {"beside key missing", num(2), text(u"zz"), u"", 5},
      {"beside is the moved one", text(u"b"), text(u"b"), u"", 5},
      {"new key taken", num(2), num(1), u"C", 457},
      {"last, beside missing", num(3), num(9), u"", 9},
  };
  for (const Case& c : cases) {
    auto l = listOf({u"a", u"b", u"c"});
    std::vector<Ref<IVValue>> before = elementsOf(*l);
    if (!c.newKey.empty()) l->item(c.which)->setKey(c.newKey);
    EXPECT_EQ(errorOf([&] { l->moveToBefore(c.which, c.beside); }), c.error) << c.what;
    EXPECT_EQ(errorOf([&] { l->moveToAfter(c.which, c.beside); }), c.error) << c.what;
    EXPECT_EQ(elementsOf(*l), before) << c.what;
    // Still filed under the keys they had.
    EXPECT_EQ(l->item(text(u"a")), before[0]) << c.what;
    EXPECT_EQ(l->item(text(u"b")), before[1]) << c.what;
    EXPECT_EQ(l->item(text(u"c")), before[2]) << c.what;
  }
}

TEST(VValues, ForEachWalksInOrder) {
  auto l = listOf({u"a", u"b", u"c"});
  Ref<rt::Enumerator> en = rt::enumeratorOf(l.get());
  l = nullptr;  // the enumerator keeps the list
  std::u16string seen;
  Variant v;
  while (en->next(v)) seen += rt::queryRef<IVValue>(v.object())->key();
  EXPECT_EQ(seen, u"abc");
}

TEST(VValues, LateBoundMembers) {
  auto l = rt::make<VValues>();
  rt::Object* o = l.get();
  Variant e = call(o, u"Add", rt::Method, {text(u"1"), text(u"one")});
  ASSERT_TRUE(e.isObject());
  call(o, u"add", rt::Method, {text(u"2")});
  call(o, u"ListStr", rt::PropLet, {text(u"x=9")});
  EXPECT_EQ(call(o, u"Count", rt::PropGet).longValue(), 3);
  EXPECT_EQ(call(o, u"listSTR", rt::PropGet).text(), u"one=1;=2;x=9");
  EXPECT_TRUE(call(o, u"Exist", rt::Method, {text(u"ONE")}).boolean());
  Variant byDefault = callValue(o, rt::PropGet, {text(u"x")});
  EXPECT_EQ(rt::getProperty(byDefault.object(), u"Value").text(), u"9");
  call(o, u"MoveToBefore", rt::Method, {text(u"x"), num(1)});
  call(o, u"MoveToAfter", rt::Method, {num(2), num(2)});
  EXPECT_EQ(call(o, u"ListStr", rt::PropGet).text(), u"x=9;=2;one=1");
  call(o, u"Remove", rt::Method, {num(2)});
  Variant en = call(o, u"NewEnum", rt::PropGet);
  EXPECT_TRUE(rt::queryRef<rt::Enumerator>(en.object()));
  call(o, u"Clear", rt::Method);
  EXPECT_EQ(call(o, u"Count", rt::PropGet).longValue(), 0);

  EXPECT_EQ(errorOf([&] { call(o, u"Add", rt::Method); }), 450);
  EXPECT_EQ(errorOf([&] { call(o, u"Add", rt::Method, {num(1), text(u"a"), num(3)}); }), 450);
}

TEST(VValues, LateBoundAddWritesBackThroughTheSlots) {
  auto l = rt::make<VValues>();
  auto sink = rt::make<Listener>();
  sink->onAdd = [](Variant& v, std::u16string& k, bool&) {
    v = text(u"changed");
    k = u"renamed";
  };
  l->advise(sink);
  std::vector<Variant> slots{text(u"v"), text(u"k")};
  rt::callByName(l.get(), u"Add", rt::Method, slots);
  EXPECT_EQ(slots[0].text(), u"changed");
  EXPECT_EQ(slots[1].text(), u"renamed");
  EXPECT_TRUE(l->exist(u"renamed"));
}

}  // namespace
