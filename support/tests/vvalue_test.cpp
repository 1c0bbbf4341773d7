#include "vvalue.h"

#include <gtest/gtest.h>

#include "rt/collection.h"
#include "testing.h"

namespace {

using jespin::VValue;
using rt::Variant;
using namespace testing_jespin;

TEST(VValue, NewElementIsBlank) {
  auto v = rt::make<VValue>();
  EXPECT_FALSE(v->dataChanged());
  EXPECT_EQ(v->key(), u"");
  EXPECT_TRUE(v->value().isEmpty());
  EXPECT_EQ(v->tag(), u"");
  EXPECT_FALSE(v->parent());
  EXPECT_EQ(v->str(), u"=");
}

TEST(VValue, StrSplitsAtTheFirstEquals) {
  struct Case {
    std::u16string text, key, value;
  };
  const Case cases[] = {
      {u"a=1", u"a", u"1"},
      {u"x", u"x", u""},
      {u"=v", u"", u"v"},
      {u"a=b=c", u"a", u"b=c"},
      {u"", u"", u""},
      {u"name=", u"name", u""},
  };
  for (const Case& c : cases) {
    auto v = rt::make<VValue>();
    v->setStr(c.text);
    EXPECT_EQ(v->key(), c.key) << rt::toUtf8(c.text);
    ASSERT_TRUE(v->value().isText());  // text stays text, even "1"
    EXPECT_EQ(v->value().text(), c.value);
    EXPECT_TRUE(v->dataChanged());
    EXPECT_EQ(v->str(), c.key + u"=" + c.value);
  }
}

TEST(VValue, AssignmentsSetDataChanged) {
  auto v = rt::make<VValue>();
  v->letValue(Variant(u"x"));
  EXPECT_TRUE(v->dataChanged());
  v->setDataChanged(false);
  auto obj = rt::make<rt::Collection>();
  v->setValue(obj.get());
  EXPECT_TRUE(v->dataChanged());
  ASSERT_TRUE(v->value().isObject());
  EXPECT_EQ(v->value().object(), static_cast<rt::Object*>(obj.get()));  // the reference, not a copy
  v->setDataChanged(false);
  v->setKey(u"k");  // key and tag are plain fields
  v->setTag(u"t");
  EXPECT_FALSE(v->dataChanged());
  EXPECT_EQ(v->key(), u"k");
  EXPECT_EQ(v->tag(), u"t");
}

TEST(VValue, StrReadsTheValueAsText) {
  struct Case {
    Variant value;
    std::u16string str;
  };
  const Case cases[] = {
      {Variant(int32_t{12}), u"k=12"},
      {Variant(true), u"k=True"},
      {Variant(rt::Null{}), u"k="},
      {Variant(), u"k="},
      {Variant(1.5), u"k=1.5"},
  };
  for (const Case& c : cases) {
    auto v = rt::make<VValue>();
    v->setKey(u"k");
    v->letValue(c.value);
    EXPECT_EQ(v->str(), c.str);
  }
}

TEST(VValue, StrOfAnObjectWithoutTextFails) {
  auto v = rt::make<VValue>();
  v->setValue(rt::make<rt::Collection>().get());
  EXPECT_NE(errorOf([&] { v->str(); }), 0);
}

TEST(VValue, LateBoundMembers) {
  auto v = rt::make<VValue>();
  callValue(v.get(), rt::PropLet, {text(u"hi")});
  EXPECT_EQ(callValue(v.get(), rt::PropGet).text(), u"hi");
  call(v.get(), u"KEY", rt::PropLet, {text(u"name")});
  EXPECT_EQ(call(v.get(), u"Str", rt::PropGet).text(), u"name=hi");
  call(v.get(), u"Str", rt::PropLet, {text(u"a=b")});
  EXPECT_EQ(call(v.get(), u"key", rt::PropGet).text(), u"a");
  EXPECT_TRUE(call(v.get(), u"DataChanged", rt::PropGet).boolean());
  call(v.get(), u"Tag", rt::PropLet, {text(u"t")});
  EXPECT_EQ(call(v.get(), u"tag", rt::PropGet).text(), u"t");
  EXPECT_TRUE(call(v.get(), u"Parent", rt::PropGet).isNothing());

  auto obj = rt::make<rt::Collection>();
  call(v.get(), u"Value", rt::PropSet, {Variant(obj)});
  EXPECT_EQ(call(v.get(), u"Value", rt::PropGet).object(), static_cast<rt::Object*>(obj.get()));
  call(v.get(), u"Value", rt::PropSet, {Variant(nullptr)});
  EXPECT_TRUE(call(v.get(), u"Value", rt::PropGet).isNothing());
  EXPECT_EQ(errorOf([&] { call(v.get(), u"Value", rt::PropSet, {text(u"no object")}); }), 13);
}

}  // namespace
