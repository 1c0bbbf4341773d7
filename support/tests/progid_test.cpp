// Every class of the library created by its ProgID from the built library
// (registered by the build) and driven by late binding.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "jespin/chrbits.h"
#include "jespin/clipboard.h"
#include "jespin/queue.h"
#include "jespin/stack.h"
#include "jespin/values.h"
#include "rt/activation.h"
#include "rt/clipboard.h"
#include "testing.h"

namespace {

using rt::Object;
using rt::Variant;
using namespace testing_jespin;

Variant elementValue(const Variant& element) { return rt::getProperty(element.object(), u"Value"); }

TEST(ProgIds, EveryClassIsCreatableAndLateBound) {
  auto previous = rt::setClipboardHost(rt::newMemoryClipboard());
  struct Case {
    std::u16string progId, typeName;
    rt::Guid clsid;
    std::function<void(Object*)> use;
  };
  const Case cases[] = {
      {u"Jespin.VValue", u"VValue", jespin::IVValue::clsid,
       [](Object* o) {
         callValue(o, rt::PropLet, {text(u"x")});
         EXPECT_EQ(call(o, u"Str", rt::PropGet).text(), u"=x");
       }},
      {u"Jespin.VValues", u"VValues", jespin::IVValues::clsid,
       [](Object* o) {
         call(o, u"Add", rt::Method, {text(u"1"), text(u"a")});
         EXPECT_EQ(elementValue(callValue(o, rt::PropGet, {text(u"A")})).text(), u"1");
         EXPECT_EQ(elementValue(callValue(o, rt::PropGet, {num(7)})).text(), u"");
       }},
      {u"Jespin.VStack", u"VStack", jespin::IVStack::clsid,
       [](Object* o) {
         call(o, u"Push", rt::Method, {text(u"a")});
         call(o, u"Push", rt::Method, {text(u"b")});
         EXPECT_EQ(elementValue(call(o, u"Pop", rt::Method)).text(), u"b");
       }},
      {u"Jespin.VQueue", u"VQueue", jespin::IVQueue::clsid,
       [](Object* o) {
         call(o, u"PutIn", rt::Method, {text(u"a")});
         call(o, u"PutIn", rt::Method, {text(u"b")});
         EXPECT_EQ(elementValue(call(o, u"GetOut", rt::Method)).text(), u"a");
       }},
      {u"Jespin.ChrBits", u"ChrBits", jespin::IChrBits::clsid,
       [](Object* o) {
         call(o, u"Add", rt::Method, {text(u"a-c")});
         EXPECT_TRUE(callValue(o, rt::PropGet, {text(u"b")}).boolean());
       }},
      {u"Jespin.ExClipboard", u"ExClipboard", jespin::IExClipboard::clsid,
       [](Object* o) {
         Variant f = call(o, u"RegisterFormat", rt::Method, {text(u"Zub")});
         call(o, u"DataString", rt::PropLet, {num(0), f, text(u"moved")});
         EXPECT_EQ(callValue(o, rt::PropGet, {num(0), f}).text(), u"moved");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::toUtf8(c.progId));
    EXPECT_EQ(rt::classIdFromProgId(c.progId), c.clsid);
    rt::Ref<Object> o = rt::createObject(c.progId);
    ASSERT_TRUE(o);
    EXPECT_EQ(rt::typeNameOfValue(Variant(o)), c.typeName);
    c.use(o.get());
    EXPECT_TRUE(rt::createInstance(c.clsid));
  }
  rt::setClipboardHost(previous);
}

TEST(ProgIds, InterfacesAnswerAcrossTheLibraryBoundary) {
  rt::Ref<jespin::IVValues> list = rt::queryRef<jespin::IVValues>(rt::createObject(u"Jespin.VValues").get());
  ASSERT_TRUE(list);
  list->setListStr(u"a=1;b=2");
  list->add(text(u"3"), u"c");
  EXPECT_EQ(list->listStr(), u"a=1;b=2;c=3");
  Variant element;
  rt::Ref<rt::Enumerator> en = rt::enumeratorOf(list.get());
  std::u16string keys;
  while (en->next(element)) keys += rt::queryRef<jespin::IVValue>(element.object())->key();
  EXPECT_EQ(keys, u"abc");

  rt::Ref<jespin::IVStack> stack = rt::queryRef<jespin::IVStack>(rt::createObject(u"Jespin.VStack").get());
  ASSERT_TRUE(stack);
  stack->push(text(u"x"), u"k");
  EXPECT_EQ(stack->item(text(u"K"))->value().text(), u"x");
}

}  // namespace
