// What the evaluator hands out: the objects behind names, brackets, lists
// and operators, the truth of values, and its error records.
#include <gtest/gtest.h>

#include "builtins/svgeneral.h"
#include "builtins/svsingle.h"
#include "core/createtree.h"
#include "core/evalsupport.h"
#include "core/simplebodies.h"
#include "core/ssbody.h"
#include "core/ssroot.h"
#include "rt/convert.h"
#include "rt/dispatch.h"
#include "testsupport.h"

namespace {

using rt::Ref;
using zorbel::ScriptValue;

struct Fixture : ::testing::Test {
  Ref<engine::SsRoot> root = rt::make<engine::SsRoot>();
  Ref<engine::SsBody> ss = rt::make<engine::SsBody>();
  Fixture() { ss->setParent(root.get()); }

  std::unique_ptr<engine::expTree> tree(std::u16string_view expr) {
    return engine::mkTree(*enginetest::tokens(expr));
  }
  // Runs statements as a statement block does.
  void run(std::u16string_view statements) {
    engine::BodySerial body;
    body.addCode(*enginetest::tokens(statements));
    body.execute(*ss);
    ASSERT_FALSE(body.error().haveErr()) << enginetest::utf8(body.error().info().description());
  }
  std::string text(std::u16string_view expr) {
    Ref<ScriptValue> v = tree(expr)->getValue(*ss, zorbel::ModeValue);
    return v ? enginetest::utf8(rt::toText(v->value())) : "(nothing)";
  }
};

using Evaluator = Fixture;

TEST_F(Evaluator, ANameGivesTheVariableItselfAndABracketItsContent) {
  run(u"x = 1");
  Ref<ScriptValue> x = ss->value(u"x");
  EXPECT_EQ(tree(u"x")->getValue(*ss, 1).get(), x.get());
  EXPECT_EQ(tree(u"(x)")->getValue(*ss, 1).get(), x.get());
  EXPECT_EQ(tree(u"((x))")->getValue(*ss, 2).get(), x.get());
}

TEST_F(Evaluator, LiteralsAndResultsGetAFreshHolderEachTime) {
  auto lit = tree(u"5");
  Ref<ScriptValue> a = lit->getValue(*ss, 1);
  Ref<ScriptValue> b = lit->getValue(*ss, 1);
  ASSERT_TRUE(a && b);
  EXPECT_NE(a.get(), b.get());
  EXPECT_EQ(a->flag(), zorbel::FlagValue);
  auto sum = tree(u"1 + 2");
  Ref<ScriptValue> c = sum->getValue(*ss, 1);
  EXPECT_NE(c.get(), sum->getValue(*ss, 1).get());
  EXPECT_EQ(c->value().type(), rt::VT::Long);
}

TEST_F(Evaluator, ListsAreFlatArgumentListsThatKeepEveryItem) {
  run(u"a = 1 : b = 2 : c = 3");
  Ref<ScriptValue> list = tree(u"(a, b), c")->getValue(*ss, 1);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->flag(), zorbel::FlagList | zorbel::FlagGeneral);
  EXPECT_EQ(list->count(), 3);
  EXPECT_EQ(list->subs(rt::Variant(int32_t{1}), 1).get(), ss->value(u"a").get());
  Ref<ScriptValue> twice = tree(u"a, a")->getValue(*ss, 1);
  EXPECT_EQ(twice->count(), 2);
  // A list value as one operand of a list gives its items.
  run(u"s[1] = 1 : s[2] = 2");
  Ref<ScriptValue> spread = tree(u"s, c")->getValue(*ss, 1);
  EXPECT_EQ(spread->count(), 3);
}

TEST_F(Evaluator, AnEmptyListItemIsAMissingObject) {
  auto t = tree(u"a, , b");
  EXPECT_FALSE(t->getValue(*ss, 1));
  EXPECT_EQ(t->error().info().number(), rt::err::ObjectNotSet);
}

TEST_F(Evaluator, IsGivesATypedBoolean) {
  ss->value(u"o")->setValue(rt::Variant(nullptr));
  Ref<ScriptValue> r = tree(u"o Is o")->getValue(*ss, 1);
  ASSERT_TRUE(r);
  auto* d = static_cast<rt::Dispatch*>(r->query(rt::Dispatch::iid));
  ASSERT_TRUE(d);
  EXPECT_EQ(enginetest::utf8(d->typeName()), "SvBoolean");
  EXPECT_TRUE(rt::toBool(r->value()));
}

TEST_F(Evaluator, AndAndOrHandOutTheirResultAfterAnError) {
  auto t = tree(u"(1 / 0) Or 1");
  Ref<ScriptValue> r = t->getValue(*ss, 1);
  ASSERT_TRUE(r);
  EXPECT_TRUE(rt::toBool(r->value()));  // the right side still decided
  EXPECT_EQ(t->error().info().number(), rt::err::DivisionByZero);
  EXPECT_EQ(enginetest::utf8(t->error().info().source()),
            "Kestrin.ExpTree.Get_LValue\r\nKestrin.ExpTree.GetValue\r\n");
}

TEST_F(Evaluator, CountOfAListAndAttributesOfOtherValues) {
  run(u"s[3] = 1");
  EXPECT_EQ(text(u"s.Count"), "3");
  run(u"v = 1");
  EXPECT_EQ(text(u"v.count"), "0");  // an attribute named count, made on first use
  EXPECT_EQ(ss->value(u"v")->flag(), zorbel::FlagValue | zorbel::FlagGeneral);
}

TEST_F(Evaluator, SyntaxErrorsCarryTheTreeText) {
  auto t = tree(u"3 -");
  EXPECT_FALSE(t->getValue(*ss, 1));
  jespin::IErrInfo& e = t->error().info();
  EXPECT_EQ(e.number(), engine::errNumber(engine::ErrGrammar));
  EXPECT_EQ(enginetest::utf8(e.source()), "Kestrin.ExpTree.GetValue");
  EXPECT_EQ(enginetest::utf8(e.description()), "一般性文法错误。\r\n\r\n { 3 - (none) } ");
  auto dot = tree(u".x");
  dot->getValue(*ss, 1);
  EXPECT_EQ(enginetest::utf8(dot->error().info().description()),
            "一般性文法错误。\r\n园点符(.)左边变量为空。\r\n { (none) . x } ");
}

TEST_F(Evaluator, EvalItemsRaisesTheTreesError) {
  EXPECT_EQ(enginetest::errorOf([&] { engine::evalItems(*ss, *enginetest::tokens(u"1 / 0"), 1); }),
            rt::err::DivisionByZero);
  Ref<ScriptValue> v = engine::evalItems(*ss, *enginetest::tokens(u"2 * 3"), 1);
  EXPECT_EQ(rt::toLong(v->value()), 6);
}

TEST_F(Evaluator, ANameResolvesAfreshOnceItsBindingChanges) {
  run(u"x = 1");
  auto t = tree(u"x + 0");
  EXPECT_EQ(text(u"x + 0"), "1");
  EXPECT_EQ(rt::toLong(t->getValue(*ss, 1)->value()), 1);
  Ref<ScriptValue> other = engine::SvSingle::of(rt::Variant(int32_t{7}));
  ss->setValue(u"x", other.get());  // an anonymous value replaces the binding
  EXPECT_EQ(rt::toLong(t->getValue(*ss, 1)->value()), 7);
  ss->setValue(u"x", nullptr);
  EXPECT_EQ(rt::toLong(t->getValue(*ss, 1)->value()), 0);  // a new variable
  // The same tree in another space resolves there.
  Ref<engine::SsBody> second = rt::make<engine::SsBody>();
  second->setParent(root.get());
  second->value(u"x")->letValue(rt::Variant(int32_t{9}));
  EXPECT_EQ(rt::toLong(t->getValue(*second, 1)->value()), 9);
}

TEST(ValueToBool, FollowsTheValue) {
  Ref<engine::SsRoot> someObject = rt::make<engine::SsRoot>();
  const struct {
    rt::Variant v;
    bool truth;
  } rows[] = {
      {rt::Variant(), false},
      {rt::Variant(rt::Null{}), true},
      {rt::Variant(int16_t{0}), false},
      {rt::Variant(int32_t{-1}), true},
      {rt::Variant(0.0), false},
      {rt::Variant(0.5), true},
      {rt::Variant(false), false},
      {rt::Variant(true), true},
      {rt::Variant(u""), false},
      {rt::Variant(u"0"), true},
      {rt::Variant(nullptr), false},
      {rt::Variant(static_cast<rt::Object*>(someObject.get())), true},
      {rt::Variant(rt::Date{0}), false},
      {rt::Variant(rt::Currency{10000}), true},
  };
  for (const auto& r : rows) EXPECT_EQ(engine::truthOf(r.v), r.truth) << rt::toUtf8(rt::typeNameOf(r.v.type()));
  EXPECT_FALSE(engine::valueToBool(nullptr));
  EXPECT_TRUE(engine::valueToBool(engine::SvSingle::of(rt::Variant(u"x")).get()));
}

}  // namespace
