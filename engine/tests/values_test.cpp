// The engine's general values: SvSingle, SvGeneral and the alias SvCopy.
#include <gtest/gtest.h>

#include "builtins/svcopy.h"
#include "builtins/svgeneral.h"
#include "builtins/svsingle.h"
#include "core/errors.h"
#include "rt/convert.h"
#include "testsupport.h"

using namespace engine;
using enginetest::utf8;
using zorbel::ScriptValue;

namespace {

constexpr int32_t kNotSupported = errNumber(ErrNotSupported);

// Number and source of a value's error record, "" when clear.
std::string recorded(ScriptValue& v) {
  if (!v.hasError()) return "";
  return std::to_string(v.error().number() - errNumber(0)) + " " + utf8(v.error().source());
}

rt::Ref<SvGeneral> general() { return rt::make<SvGeneral>(); }

}  // namespace

TEST(SvGeneral, NewValueIsIntegerZeroFlagZero) {
  auto g = general();
  EXPECT_EQ(g->flag(), 0);
  EXPECT_EQ(g->count(), 0);
  EXPECT_EQ(g->value().type(), rt::VT::Integer);
  EXPECT_EQ(g->value().integer(), 0);
  EXPECT_FALSE(g->hasError());
}

// The flag records the last kind of use, not the contents.
TEST(SvGeneral, FlagTransitions) {
  struct Step {
    const char* what;
    int32_t flag;
  } steps[] = {{"new", 0},   {"let", 17},   {"subs", 18}, {"set", 17},
               {"addsubs", 18}, {"attr", 18}, {"let", 17},  {"subs0", 18}};
  auto g = general();
  for (const Step& s : steps) {
    std::string w = s.what;
    if (w == "let") g->letValue(rt::Variant(int32_t{7}));
    if (w == "set") g->setValue(rt::Variant(static_cast<rt::Object*>(general().get())));
    if (w == "subs") g->subs(rt::Variant(int16_t{1}), 1);
    if (w == "subs0") g->subs(rt::Variant(int16_t{0}), 1);
    if (w == "addsubs") g->addSubs(SvSingle::of(rt::Variant(1.5)).get());
    if (w == "attr") g->attr(u"a");
    EXPECT_EQ(g->flag(), s.flag) << w;
  }
  // Assigned after indexing: no longer a list, though the items remain.
  EXPECT_EQ(g->count(), 2);
}

TEST(SvGeneral, SubsByPositionGrowsWithUnnamedItems) {
  auto g = general();
  rt::Ref<ScriptValue> third = g->subs(rt::Variant(int16_t{3}), 1);
  ASSERT_TRUE(third);
  EXPECT_EQ(g->count(), 3);
  EXPECT_EQ(g->flag(), 18);
  for (int32_t i = 1; i <= 3; ++i) {
    EXPECT_EQ(g->item(i)->key(), u"");
    EXPECT_EQ(g->item(i)->flag(), 0) << i;  // grown items are new values
  }
  EXPECT_EQ(g->item(3), third.get());
  // A fraction rounds half to even; a position already there is reused.
  EXPECT_EQ(g->subs(rt::Variant(2.5), 1).get(), g->item(2));
  EXPECT_EQ(g->count(), 3);
}

TEST(SvGeneral, SubsByKeyAndPositionShareOneList) {
  auto g = general();
  rt::Ref<ScriptValue> k = g->subs(rt::Variant(u"k"), 1);
  ASSERT_TRUE(k);
  EXPECT_EQ(k->key(), u"k");
  EXPECT_EQ(k->flag(), 17);
  EXPECT_EQ(g->subs(rt::Variant(int16_t{1}), 1).get(), k.get());
  EXPECT_EQ(g->subs(rt::Variant(u"K"), 1).get(), k.get());  // case-blind
  // "2" is a key, not a position.
  rt::Ref<ScriptValue> two = g->subs(rt::Variant(u"2"), 1);
  EXPECT_EQ(two->key(), u"2");
  EXPECT_EQ(g->count(), 2);
}

TEST(SvGeneral, SubsFailuresAndNothing) {
  struct Case {
    rt::Variant index;
    bool found;
    std::string error;
  } cases[] = {
      {rt::Variant(int16_t{0}), false, ""},
      {rt::Variant(int32_t{-5}), false, ""},
      {rt::Variant(u"x"), true, ""},
      {rt::Variant(rt::Null{}), false, "94 Kestrin.SvGeneral.ScriptValue_Subs\r\n"},
      {rt::Variant(int32_t{SvGeneral::kMaxGrowth + 1}), false, "9 Kestrin.SvGeneral.ScriptValue_Subs\r\n"},
  };
  for (const Case& c : cases) {
    auto g = general();
    rt::Ref<ScriptValue> r = g->subs(c.index, 1);
    EXPECT_EQ(static_cast<bool>(r), c.found) << c.error;
    std::string got = g->hasError() ? std::to_string(g->error().number()) + " " + utf8(g->error().source()) : "";
    EXPECT_EQ(got, c.error);
    EXPECT_EQ(g->flag(), 18);
  }
}

TEST(SvGeneral, AttributesMadeOnFirstUse) {
  auto g = general();
  rt::Ref<ScriptValue> a = g->attr(u"a");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->key(), u"a");
  EXPECT_EQ(a->flag(), 17);
  EXPECT_EQ(a->value().integer(), 0);
  EXPECT_EQ(g->attr(u"A").get(), a.get());
  EXPECT_EQ(g->count(), 0);  // attributes are not sub-values
  EXPECT_FALSE(g->objAttr(u"a"));
  EXPECT_FALSE(g->hasError());
}

TEST(SvGeneral, SumAttributeIsAFreshMathStatFunction) {
  auto g = general();
  for (const char16_t* name : {u"Sum", u"SUM", u"sum"}) {
    rt::Ref<ScriptValue> f = g->attr(name);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->key(), name);
    EXPECT_EQ(f->flag(), 12);
    EXPECT_NE(g->attr(name).get(), f.get());
    // It refused the general value handed to it; its next call clears that.
    EXPECT_EQ(recorded(*f), "1004 Kestrin.SvStatFuns.Set_ScriptValue_Value");
    rt::Ref<ScriptValue> r = f->funCall(nullptr, SvSingle::of(rt::Variant(int16_t{4})).get(), 1);
    EXPECT_FALSE(f->hasError());
    EXPECT_EQ(r->value().dbl(), 4.0);
  }
}

// f(a, a) passes two arguments: a second element under a key already used
// goes in without a key.
TEST(SvGeneral, AddSubsKeepsEveryArgument) {
  auto list = general();
  auto a = general();
  a->setKey(u"a");
  auto lit = SvSingle::of(rt::Variant(int16_t{3}));
  list->addSubs(a.get());
  list->addSubs(a.get());
  list->addSubs(lit.get());
  EXPECT_EQ(list->count(), 3);
  EXPECT_EQ(list->flag(), 18);
  EXPECT_EQ(list->item(1), a.get());
  EXPECT_EQ(list->item(2), a.get());
  EXPECT_EQ(list->item(3), lit.get());
  EXPECT_EQ(list->subs(rt::Variant(u"A"), 1).get(), a.get());  // filed under its key once
  EXPECT_EQ(list->count(), 3);
}

TEST(SvGeneral, FunCallRefused) {
  auto g = general();
  EXPECT_FALSE(g->funCall(nullptr, nullptr, 1));
  EXPECT_EQ(recorded(*g), "1004 Kestrin.SvGeneral.ScriptValue_FunCall");
  g->value();  // the next operation that clears
  EXPECT_FALSE(g->hasError());
}

TEST(SvSingle, HoldsAValueAndRefusesTheRest) {
  auto s = SvSingle::of(rt::Variant(u"x"));
  EXPECT_EQ(s->flag(), 1);
  EXPECT_EQ(s->value().text(), u"x");
  EXPECT_FALSE(s->objAttr(u"a"));
  EXPECT_FALSE(s->hasError());

  struct Case {
    const char* op;
    std::string error;
  } cases[] = {{"count", "1004 Kestrin.SvSingle.ScriptValue_Count"},
               {"attr", "1004 Kestrin.SvSingle.ScriptValue_Attr"},
               {"subs", "1004 Kestrin.SvSingle.ScriptValue_Subs"},
               {"funcall", "1004 Kestrin.SvSingle.ScriptValue_FunCall"}};
  for (const Case& c : cases) {
    std::string op = c.op;
    bool answered = false;
    if (op == "count") answered = s->count() != 0;
    if (op == "attr") answered = static_cast<bool>(s->attr(u"a"));
    if (op == "subs") answered = static_cast<bool>(s->subs(rt::Variant(int16_t{1}), 1));
    if (op == "funcall") answered = static_cast<bool>(s->funCall(nullptr, nullptr, 1));
    EXPECT_FALSE(answered) << op;
    EXPECT_EQ(recorded(*s), c.error);
    EXPECT_EQ(s->error().number(), kNotSupported);
    s->letValue(rt::Variant(int32_t{2}));  // clears
    EXPECT_FALSE(s->hasError());
  }
  // An object stays a reference.
  auto g = general();
  s->letValue(rt::Variant(static_cast<rt::Object*>(static_cast<ScriptValue*>(g.get()))));
  EXPECT_EQ(s->value().object(), static_cast<rt::Object*>(static_cast<ScriptValue*>(g.get())));
}

TEST(SvCopy, ForwardsEverythingButItsKey) {
  auto a = general();
  a->setKey(u"a");
  auto p = rt::make<SvCopy>();
  p->init(u"p", a.get());
  EXPECT_EQ(p->key(), u"p");
  EXPECT_EQ(a->key(), u"a");
  EXPECT_EQ(p->flag(), 0);
  p->letValue(rt::Variant(int32_t{5}));
  EXPECT_EQ(a->value().longValue(), 5);
  EXPECT_EQ(p->flag(), 17);
  rt::Ref<ScriptValue> second = p->subs(rt::Variant(int16_t{2}), 1);
  EXPECT_EQ(second.get(), a->item(2));
  EXPECT_EQ(p->count(), 2);
  EXPECT_EQ(p->flag(), 18);
  EXPECT_EQ(p->attr(u"x").get(), a->attr(u"x").get());
  p->funCall(nullptr, nullptr, 1);
  EXPECT_EQ(&p->error(), &a->error());
  EXPECT_EQ(recorded(*p), "1004 Kestrin.SvGeneral.ScriptValue_FunCall");
  p->setKey(u"q");
  EXPECT_EQ(a->key(), u"a");
}

TEST(SvCopy, AliasOfAnAliasStandsForTheEnd) {
  auto a = general();
  auto p = rt::make<SvCopy>(u"p", a.get());
  auto q = rt::make<SvCopy>(u"q", p.get());
  EXPECT_EQ(q->target(), static_cast<ScriptValue*>(a.get()));
  q->letValue(rt::Variant(int16_t{9}));
  EXPECT_EQ(a->value().integer(), 9);
  // Bound to itself: refused while unbound, a no-op once bound.
  auto r = rt::make<SvCopy>();
  EXPECT_EQ(enginetest::errorOf([&] { r->init(u"r", r.get()); }), 5);
  q->init(u"q", q.get());
  EXPECT_EQ(q->target(), static_cast<ScriptValue*>(a.get()));
}

TEST(SvCopy, UnboundAnswersNothing) {
  auto c = rt::make<SvCopy>();
  EXPECT_EQ(c->flag(), 0);
  EXPECT_TRUE(c->value().isEmpty());
  EXPECT_EQ(recorded(*c), "1004 Kestrin.SvCopy.Get_ScriptValue_Value");
  EXPECT_FALSE(c->funCall(nullptr, nullptr, 0));
  EXPECT_FALSE(c->objAttr(u"x"));
}

TEST(GeneralValues, LateBoundMembers) {
  auto g = general();
  auto s = SvSingle::of(rt::Variant(int16_t{1}));
  s->setKey(u"s");
  rt::Variant arg(static_cast<rt::Object*>(static_cast<ScriptValue*>(s.get())));
  rt::callByName(static_cast<ScriptValue*>(g.get()), u"addsubs", rt::Method, std::span(&arg, 1));
  EXPECT_EQ(g->count(), 1);
  rt::Variant notValue(int16_t{1});
  EXPECT_EQ(enginetest::errorOf([&] {
              rt::callByName(static_cast<ScriptValue*>(g.get()), u"AddSubs", rt::Method, std::span(&notValue, 1));
            }), 13);

  auto c = rt::make<SvCopy>();
  rt::Variant args[] = {rt::Variant(u"p"), rt::Variant(static_cast<rt::Object*>(static_cast<ScriptValue*>(g.get())))};
  rt::callByName(static_cast<ScriptValue*>(c.get()), u"Init", rt::Method, args);
  EXPECT_EQ(c->key(), u"p");
  EXPECT_EQ(c->count(), 1);
}
