#include "stackqueue.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "testing.h"

namespace {

using jespin::IVValue;
using jespin::VQueue;
using jespin::VStack;
using rt::Ref;
using rt::Variant;
using namespace testing_jespin;

// The two classes through late binding: one table of cases serves both.
struct Kind {
  const char* name;
  std::function<Ref<rt::Object>()> create;
  std::u16string put, take;
  bool takesLast;
};
const Kind kKinds[] = {
    {"VStack", [] { return Ref<rt::Object>(rt::make<VStack>()); }, u"Push", u"Pop", true},
    {"VQueue", [] { return Ref<rt::Object>(rt::make<VQueue>()); }, u"PutIn", u"GetOut", false},
};

std::u16string valueText(const Variant& element) {
  return element.isNothing() ? u"(none)" : rt::getProperty(element.object(), u"Value").text();
}

// The values from position 1 up, joined with ",".
std::u16string contents(rt::Object* o) {
  std::u16string out;
  int32_t n = call(o, u"Count", rt::PropGet).longValue();
  for (int32_t i = 1; i <= n; ++i) out += (i > 1 ? u"," : u"") + valueText(call(o, u"Item", rt::PropGet, {num(i)}));
  return out;
}

TEST(StackAndQueue, TakeFromTheirEnd) {
  for (const Kind& k : kKinds) {
    Ref<rt::Object> o = k.create();
    for (const char16_t* v : {u"a", u"b", u"c"}) call(o.get(), k.put, rt::Method, {text(v)});
    EXPECT_EQ(contents(o.get()), u"a,b,c") << k.name;
    std::u16string first = valueText(call(o.get(), k.take, rt::Method));
    std::u16string second = valueText(call(o.get(), k.take, rt::Method));
    EXPECT_EQ(first + second, k.takesLast ? u"cb" : u"ab") << k.name;
    EXPECT_EQ(contents(o.get()), k.takesLast ? u"a" : u"c") << k.name;
    call(o.get(), k.take, rt::Method);
    EXPECT_TRUE(call(o.get(), k.take, rt::Method).isNothing()) << k.name;  // empty: no error
  }
}

TEST(StackAndQueue, KeysAndMisses) {
  for (const Kind& k : kKinds) {
    Ref<rt::Object> o = k.create();
    call(o.get(), k.put, rt::Method, {text(u"1"), text(u"one")});
    call(o.get(), k.put, rt::Method, {text(u"2"), text(u"Two")});
    call(o.get(), k.put, rt::Method, {text(u"3"), text(u"three")});
    EXPECT_TRUE(call(o.get(), u"Exist", rt::Method, {text(u"TWO")}).boolean()) << k.name;
    EXPECT_FALSE(call(o.get(), u"Exist", rt::Method, {text(u"2")}).boolean()) << k.name;
    EXPECT_EQ(valueText(callValue(o.get(), rt::PropGet, {text(u"three")})), u"3") << k.name;
    Variant element = call(o.get(), u"Item", rt::PropGet, {num(1)});
    EXPECT_TRUE(rt::getProperty(element.object(), u"DataChanged").boolean()) << k.name;

    EXPECT_EQ(errorOf([&] { call(o.get(), k.put, rt::Method, {text(u"x"), text(u"ONE")}); }), 457);
    EXPECT_EQ(errorOf([&] { call(o.get(), u"Item", rt::PropGet, {num(4)}); }), 9) << k.name;
    EXPECT_EQ(errorOf([&] { call(o.get(), u"Item", rt::PropGet, {num(0)}); }), 9) << k.name;
    EXPECT_EQ(errorOf([&] { call(o.get(), u"Item", rt::PropGet, {text(u"zz")}); }), 5) << k.name;
    EXPECT_EQ(errorOf([&] { call(o.get(), u"Remove", rt::Method, {text(u"zz")}); }), 5) << k.name;

    call(o.get(), u"Remove", rt::Method, {text(u"two")});  // from the middle
    EXPECT_EQ(contents(o.get()), u"1,3") << k.name;
    call(o.get(), u"Clear", rt::Method);
    EXPECT_EQ(call(o.get(), u"Count", rt::PropGet).longValue(), 0) << k.name;
  }
}

TEST(StackAndQueue, ForEachFromPositionOne) {
  for (const Kind& k : kKinds) {
    Ref<rt::Object> o = k.create();
    for (const char16_t* v : {u"a", u"b", u"c"}) call(o.get(), k.put, rt::Method, {text(v)});
    Ref<rt::Enumerator> en = rt::queryRef<rt::Enumerator>(call(o.get(), u"NewEnum", rt::PropGet).object());
    ASSERT_TRUE(en);
    std::u16string seen;
    Variant v;
    while (en->next(v)) seen += valueText(v);
    EXPECT_EQ(seen, u"abc") << k.name;
  }
}

// Records the stack's events and lets a test answer them.
class StackListener final : public jespin::VStackEvents {
 public:
  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<jespin::VStackEvents>(this, iid);
  }
  void willPush(Variant& value, std::u16string& key, bool& cancel) override {
    log += u"Push";
    if (onPush) onPush(value, key, cancel);
  }
  void willPop(bool& cancel) override {
    log += u"Pop";
    cancel = cancelAll;
  }
  void willRemove(Variant& index, bool& cancel) override {
    log += u"Remove";
    cancel = cancelAll;
  }
  void willClear(bool& cancel) override {
    log += u"Clear";
    cancel = cancelAll;
  }
  void valueChanged(IVValue& vv) override { log += u"Changed"; }

  std::u16string log;
  bool cancelAll = false;
  std::function<void(Variant&, std::u16string&, bool&)> onPush;
};

TEST(VStack, EventsMayCancel) {
  auto s = rt::make<VStack>();
  auto sink = rt::make<StackListener>();
  s->advise(sink);
  EXPECT_FALSE(s->pop());  // announced even when empty
  EXPECT_EQ(sink->log, u"Pop");
  s->push(text(u"a"), u"a");
  s->push(text(u"b"));
  sink->log.clear();
  sink->cancelAll = true;
  EXPECT_FALSE(s->pop());
  s->remove(num(1));
  s->clear();
  EXPECT_EQ(sink->log, u"PopRemoveClear");
  EXPECT_EQ(s->count(), 2);
  EXPECT_EQ(s->item(num(2))->value().text(), u"b");

  sink->cancelAll = false;
  sink->onPush = [](Variant& v, std::u16string& k, bool&) {
    v = text(u"changed");
    k = u"K";
  };
  Ref<IVValue> e = s->push(text(u"c"));
  EXPECT_EQ(e->value().text(), u"changed");
  EXPECT_TRUE(s->exist(u"k"));
  sink->onPush = [](Variant&, std::u16string&, bool& cancel) { cancel = true; };
  EXPECT_FALSE(s->push(text(u"d")));
  EXPECT_EQ(s->count(), 3);
}

TEST(VStack, FiledElementsReportValueChanges) {
  auto s = rt::make<VStack>();
  auto sink = rt::make<StackListener>();
  s->advise(sink);
  Ref<IVValue> e = s->push(text(u"a"));
  EXPECT_EQ(sink->log, u"PushChanged");
  EXPECT_EQ(e->parent().get(), static_cast<rt::Object*>(s.get()));
  Ref<IVValue> popped = s->pop();
  EXPECT_EQ(popped, e);
  EXPECT_FALSE(e->parent());
  sink->log.clear();
  e->letValue(text(u"b"));
  EXPECT_EQ(sink->log, u"");
}

class QueueListener final : public jespin::VQueueEvents {
 public:
  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<jespin::VQueueEvents>(this, iid);
  }
  void willPutIn(Variant&, std::u16string& key, bool& cancel) override {
    log += u"PutIn(" + key + u")";
    cancel = cancelAll;
  }
  void willGetOut(bool& cancel) override {
    log += u"GetOut";
    cancel = cancelAll;
  }
  void willRemove(Variant& index, bool&) override {
    log += u"Remove";
    index = redirect;
  }
  void willClear(bool& cancel) override { log += u"Clear"; }
  void valueChanged(IVValue&) override { log += u"Changed"; }

  std::u16string log;
  bool cancelAll = false;
  Variant redirect = num(1);
};

TEST(VQueue, EventsMayCancelOrRedirect) {
  auto q = rt::make<VQueue>();
  auto sink = rt::make<QueueListener>();
  q->advise(sink);
  q->putIn(text(u"a"), u"ka");
  q->putIn(text(u"b"), u"kb");
  q->putIn(text(u"c"));
  EXPECT_EQ(sink->log, u"PutIn(ka)ChangedPutIn(kb)ChangedPutIn()Changed");
  sink->log.clear();
  sink->cancelAll = true;
  EXPECT_FALSE(q->getOut());
  EXPECT_FALSE(q->putIn(text(u"d")));
  EXPECT_EQ(q->count(), 3);
  sink->cancelAll = false;
  sink->redirect = text(u"KB");
  q->remove(num(3));  // redirected to the key
  EXPECT_EQ(q->count(), 2);
  EXPECT_FALSE(q->exist(u"kb"));
  EXPECT_EQ(q->getOut()->value().text(), u"a");
  EXPECT_EQ(q->item(num(1))->value().text(), u"c");
  q->clear();
  EXPECT_EQ(q->count(), 0);
  EXPECT_EQ(sink->log, u"GetOutPutIn()RemoveGetOutClear");
}

}  // namespace
