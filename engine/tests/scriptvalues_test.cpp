// The keyed collection of script values.
#include <gtest/gtest.h>

#include "builtins/svgeneral.h"
#include "builtins/svsingle.h"
#include "core/scriptvalues.h"
#include "rt/enumerator.h"
#include "testsupport.h"

using namespace engine;
using enginetest::errorOf;
using zorbel::ScriptValue;

namespace {

rt::Ref<SvSingle> keyed(std::u16string_view key, int16_t v = 0) {
  rt::Ref<SvSingle> s = SvSingle::of(rt::Variant(v));
  s->setKey(key);
  return s;
}

}  // namespace

TEST(ScriptValues, KeysAreCaseBlind) {
  auto l = rt::make<ScriptValues>();
  rt::Ref<ScriptValue> v = l->add(rt::Variant(int16_t{5}), u"Abc");
  EXPECT_EQ(v->key(), u"Abc");
  EXPECT_EQ(v->flag(), 17);
  EXPECT_TRUE(l->exist(u"ABC"));
  EXPECT_EQ(l->item(rt::Variant(u"aBC")).get(), v.get());
  EXPECT_EQ(errorOf([&] { l->add(rt::Variant(int16_t{1}), u"ABC"); }), 457);
  EXPECT_EQ(l->count(), 1);
  // Keyed lookups beyond the linear search still fold case.
  for (int i = 0; i < 40; ++i) l->add(rt::Variant(int16_t{1}), u"k" + std::u16string(1, char16_t(u'a' + i % 26)) + (i >= 26 ? u"x" : u""));
  EXPECT_EQ(l->find(u"KQ"), l->at(1 + 1 + 16));
  EXPECT_EQ(l->find(u"abc"), v.get());
  EXPECT_FALSE(l->exist(u"kz2"));
}

TEST(ScriptValues, AddOfAnObjectWrapsIt) {
  auto l = rt::make<ScriptValues>();
  auto obj = rt::make<SvGeneral>();
  rt::Variant ov(static_cast<rt::Object*>(static_cast<ScriptValue*>(obj.get())));
  rt::Ref<ScriptValue> v = l->add(ov, {});
  EXPECT_NE(v.get(), static_cast<ScriptValue*>(obj.get()));
  EXPECT_EQ(v->value().object(), ov.object());
  EXPECT_EQ(v->flag(), 17);
  EXPECT_TRUE(l->addObj(obj.get()));  // AddObj stores the value itself
  EXPECT_EQ(l->at(2), static_cast<ScriptValue*>(obj.get()));
}

TEST(ScriptValues, AddObjKeysAndRefusals) {
  auto l = rt::make<ScriptValues>();
  EXPECT_TRUE(l->addObj(keyed(u"").get()));
  EXPECT_TRUE(l->addObj(keyed(u"").get()));   // unkeyed: any number
  EXPECT_TRUE(l->addObj(keyed(u"x").get()));
  EXPECT_FALSE(l->addObj(keyed(u"X").get()));  // taken: nothing stored, nothing raised
  EXPECT_FALSE(l->addObj(nullptr));
  EXPECT_EQ(l->count(), 3);
  // The key is fixed when stored.
  l->at(3)->setKey(u"y");
  EXPECT_TRUE(l->exist(u"x"));
  EXPECT_FALSE(l->exist(u"y"));
}

TEST(ScriptValues, ItemMissesGiveNothing) {
  auto l = rt::make<ScriptValues>();
  l->add(rt::Variant(int16_t{1}), u"a");
  l->add(rt::Variant(int16_t{2}), {});
  struct Case {
    rt::Variant index;
    int found;  // the item's value, 0 for Nothing
  } cases[] = {
      {rt::Variant(int16_t{0}), 0}, {rt::Variant(int16_t{1}), 1}, {rt::Variant(2.0), 2},
      {rt::Variant(int32_t{3}), 0}, {rt::Variant(u"A"), 1},       {rt::Variant(u"1"), 0},
      {rt::Variant(u"b"), 0},       {rt::Variant(rt::Null{}), 0}, {rt::Variant(), 0},
  };
  for (const Case& c : cases) {
    rt::Ref<ScriptValue> v = l->item(c.index);
    EXPECT_EQ(v ? v->value().integer() : 0, c.found);
  }
}

TEST(ScriptValues, RemoveClearAndEnumerate) {
  auto l = rt::make<ScriptValues>();
  for (int i = 0; i < 12; ++i) l->add(rt::Variant(static_cast<int16_t>(i)), std::u16string(1, char16_t(u'a' + i)));
  EXPECT_EQ(errorOf([&] { l->remove(rt::Variant(u"zz")); }), 5);
  EXPECT_EQ(errorOf([&] { l->remove(rt::Variant(int16_t{13})); }), 9);
  l->remove(rt::Variant(u"B"));
  l->remove(rt::Variant(int16_t{1}));
  EXPECT_EQ(l->count(), 10);
  EXPECT_EQ(l->find(u"l"), l->at(10));  // positions after a removal moved up
  EXPECT_FALSE(l->exist(u"a"));

  rt::Ref<rt::Enumerator> e = l->enumerate();
  rt::Variant v;
  int n = 0;
  while (e->next(v)) EXPECT_EQ(rt::queryRef<ScriptValue>(v.object())->value().integer(), 2 + n++);
  EXPECT_EQ(n, 10);

  // Clear releases what nobody else holds.
  auto held = rt::make<SvGeneral>();
  l->addObj(held.get());
  uint32_t before = held->refCount();
  l->clear();
  EXPECT_EQ(l->count(), 0);
  EXPECT_EQ(held->refCount(), before - 1);
  EXPECT_FALSE(l->exist(u"c"));
}

TEST(ScriptValues, LateBound) {
  auto l = rt::make<ScriptValues>();
  rt::Object* o = static_cast<kestrin::IScriptValues*>(l.get());
  rt::Variant args[] = {rt::Variant(int16_t{3}), rt::Variant(u"k")};
  rt::callByName(o, u"Add", rt::Method, args);
  rt::Variant key(u"K");
  rt::Variant item = rt::callDefault(o, rt::PropGet, std::span(&key, 1));
  EXPECT_EQ(rt::queryRef<ScriptValue>(item.object())->value().integer(), 3);
  rt::Variant notValue(int16_t{1});
  EXPECT_FALSE(rt::callByName(o, u"AddObj", rt::Method, std::span(&notValue, 1)).boolean());
  EXPECT_EQ(rt::callByName(o, u"Count", rt::PropGet).longValue(), 1);
  EXPECT_TRUE(rt::callByName(o, u"Exist", rt::Method, std::span(&key, 1)).boolean());
}
