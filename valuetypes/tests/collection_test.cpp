// The collection value and its bound members, against the rules of the keyed
// collection: positions from 1, case-blind keys, errors 5, 9 and 457, For
// Each in the order of adding.
#include "collection.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "rt/enumerator.h"
#include "scalars.h"

namespace {

using fennick::SvCollection;
using fennick_test::args;
using fennick_test::errorOf;
using fennick_test::single;
using rt::Variant;
using zorbel::ScriptValue;

Variant num(int32_t n) { return Variant(n); }

// The items For Each walks, as text.
std::vector<std::u16string> walk(const Variant& v) {
  std::vector<std::u16string> seen;
  rt::Ref<rt::Enumerator> e = rt::enumeratorOf(v.object());
  for (Variant item; e->next(item);) seen.push_back(rt::toText(item));
  return seen;
}

bool exists(SvCollection& c, ScriptValue* sv) { return c.exist(sv)->value().boolean(); }

TEST(Collection, StartsEmpty) {
  auto c = rt::make<SvCollection>();
  EXPECT_EQ(c->count(), 0);
  EXPECT_EQ(c->flag(), 67);
  EXPECT_TRUE(walk(c->value()).empty());
  EXPECT_FALSE(c->funCall(nullptr, nullptr, 1));
  EXPECT_FALSE(c->objAttr(u"Add"));
  EXPECT_EQ(c->error().parentMod(), u"SvCollection");
}

TEST(Collection, AddsWithAndWithoutKeysAndLooksThemUp) {
  auto c = rt::make<SvCollection>();
  c->add(args({num(10), Variant(u"a")}).get());
  c->add(single(num(5)).get());
  c->add(args({Variant(u"only")}).get());  // a list of one: its item, no key
  EXPECT_EQ(c->count(), 3);
  EXPECT_EQ(walk(c->value()), (std::vector<std::u16string>{u"10", u"5", u"only"}));

  struct Lookup {
    Variant index;
    bool found;
    int subsError;
  };
  const Lookup lookups[] = {
      {Variant(u"A"), true, 0},  {Variant(u"a"), true, 0},
      {Variant(u"b"), false, 5}, {num(1), true, 0},
      {num(3), true, 0},         {num(4), false, 9},
      {num(0), false, 9},        {Variant(rt::Null{}), false, 94},
  };
  for (const Lookup& l : lookups) {
    SCOPED_TRACE(rt::toUtf8(rt::typeNameOfValue(l.index)));
    EXPECT_EQ(exists(*c, single(l.index).get()), l.found);
    EXPECT_EQ(errorOf([&] { c->subs(l.index, 1); }), l.subsError);
  }
  EXPECT_FALSE(exists(*c, nullptr));
  EXPECT_FALSE(c->error().haveErr());
}

TEST(Collection, EveryItemReadsBackThroughSubs) {
  auto c = rt::make<SvCollection>();
  rt::Ref<ScriptValue> str = fennick::newValue<fennick::SvString>(Variant(u"s"));
  rt::Ref<fennick_test::Recorder> rec = fennick_test::newRecorder();
  c->add(args({num(10), Variant(u"k")}).get());
  rt::Ref<fennick::SvVariant> holder = rt::make<fennick::SvVariant>();
  holder->letValue(Variant(str));
  c->add(holder.get());                // the string value object itself
  c->add(single(Variant(rec)).get());  // an automation object

  rt::Ref<ScriptValue> byKey = c->subs(Variant(u"K"), 1);
  EXPECT_EQ(byKey->value().longValue(), 10);
  EXPECT_EQ(c->subs(num(1), 1)->value().longValue(), 10);
  EXPECT_EQ(c->subs(num(2), 1), str);  // by reference: assigning through it changes the item
  rt::Ref<ScriptValue> obj = c->subs(num(3), 2);
  EXPECT_EQ(obj->flag(), 69);
  EXPECT_EQ(obj->value().object(), static_cast<rt::Object*>(rec.get()));
  // A script value given as the index is read for its value.
  EXPECT_EQ(c->subs(Variant(single(Variant(u"k"))), 1)->value().longValue(), 10);
}

TEST(Collection, FailuresRaiseAndLeaveTheCollection) {
  struct Case {
    const char* what;
    std::function<void(SvCollection&)> act;
    int error;
  };
  const Case cases[] = {
      {"duplicate key",
       [](SvCollection& c) {
         c.add(args({num(1), Variant(u"A")}).get());
       },
       457},
      {"key not text",
       [](SvCollection& c) {
         c.add(args({num(1), num(2)}).get());
       },
       13},
      {"add nothing", [](SvCollection& c) { c.add(nullptr); }, 91},
      {"remove nothing", [](SvCollection& c) { c.remove(nullptr); }, 91},
      {"remove missing key", [](SvCollection& c) { c.remove(single(Variant(u"zz")).get()); }, 5},
      {"remove position 3", [](SvCollection& c) { c.remove(single(num(3)).get()); }, 9},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    auto c = rt::make<SvCollection>();
    c->add(args({num(10), Variant(u"a")}).get());
    c->add(single(num(20)).get());
    EXPECT_EQ(errorOf([&] { k.act(*c); }), k.error);
    EXPECT_EQ(walk(c->value()), (std::vector<std::u16string>{u"10", u"20"}));
    EXPECT_FALSE(c->error().haveErr());
  }
}

TEST(Collection, RemoveAndClear) {
  auto c = rt::make<SvCollection>();
  for (int32_t i = 1; i <= 3; ++i) c->add(single(num(i)).get());
  c->remove(single(num(1)).get());
  EXPECT_EQ(walk(c->value()), (std::vector<std::u16string>{u"2", u"3"}));
  Variant old = c->value();
  c->clear(nullptr);
  EXPECT_EQ(c->count(), 0);
  EXPECT_EQ(walk(old).size(), 2u);  // handed out earlier: keeps its items
}

TEST(Collection, ACollectionAsTheArgumentIsAnArgumentList) {
  auto items = rt::make<SvCollection>();
  items->add(single(num(7)).get());
  items->add(single(Variant(u"key")).get());
  auto c = rt::make<SvCollection>();
  c->add(items.get());
  EXPECT_EQ(c->subs(Variant(u"KEY"), 1)->value().longValue(), 7);

  auto empty = rt::make<SvCollection>();
  c->add(empty.get());  // its (empty) inner collection, as one item
  EXPECT_EQ(c->count(), 2);
  EXPECT_TRUE(walk(c->subs(num(2), 2)->value()).empty());
}

TEST(CollFns, MembersAreBoundAndCalled) {
  auto c = rt::make<SvCollection>();
  rt::Ref<ScriptValue> add = c->attr(u"add");
  ASSERT_TRUE(add);
  EXPECT_EQ(add->flag(), 5);
  EXPECT_EQ(add->value().object(), static_cast<rt::Object*>(c.get()));
  EXPECT_FALSE(add->funCall(nullptr, args({num(1), Variant(u"x")}).get(), 0));
  EXPECT_FALSE(add->funCall(nullptr, single(num(2)).get(), 0));
  EXPECT_EQ(c->count(), 2);

  rt::Ref<ScriptValue> found = c->attr(u"EXIST")->funCall(nullptr, single(Variant(u"X")).get(), 1);
  EXPECT_TRUE(found->value().boolean());
  c->attr(u"Remove")->funCall(nullptr, single(num(1)).get(), 0);
  EXPECT_EQ(c->count(), 1);

  // Looking Clear up changes nothing; calling it (with or without
  // parentheses, i.e. with no arguments) clears.
  rt::Ref<ScriptValue> clear = c->attr(u"Clear");
  EXPECT_EQ(c->count(), 1);
  EXPECT_FALSE(clear->funCall(nullptr, nullptr, 0));
  EXPECT_EQ(c->count(), 0);
  EXPECT_FALSE(clear->error().haveErr());

  // Failures of the method, and a name the collection lacks, fail the call.
  EXPECT_EQ(errorOf([&] { c->attr(u"Remove")->funCall(nullptr, single(num(1)).get(), 0); }), 9);
  EXPECT_EQ(errorOf([&] { c->attr(u"Foo")->funCall(nullptr, nullptr, 0); }), 438);
  EXPECT_EQ(errorOf([&] { rt::make<fennick::SvCollFns>()->funCall(nullptr, nullptr, 0); }), 91);
}

TEST(Collection, MethodsByLateBinding) {
  auto c = rt::make<SvCollection>();
  std::vector<Variant> a{Variant(args({num(3), Variant(u"k")}))};
  rt::callByName(c.get(), u"Add", rt::Method, a);
  std::vector<Variant> k{Variant(single(Variant(u"K")))};
  Variant found = rt::callByName(c.get(), u"Exist", rt::Method, k);
  EXPECT_TRUE(rt::queryRef<ScriptValue>(found.object())->value().boolean());
  rt::callByName(c.get(), u"Clear", rt::Method, k);
  EXPECT_EQ(c->count(), 0);
}

}  // namespace
