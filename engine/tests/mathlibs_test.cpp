// The Math, MathStat and WinComm libraries.
#include <gtest/gtest.h>

#include <cmath>

#include "builtins/random.h"
#include "builtins/svmathfuns.h"
#include "builtins/svstatfuns.h"
#include "builtins/svwincomm.h"
#include "libtest.h"
#include "rt/convert.h"
#include "rt/testhost.h"
#include "testsupport.h"

using namespace engine;
using enginetest::argList;
using enginetest::call;
using enginetest::fun;

namespace {

rt::Ref<zorbel::ScriptValue> one(rt::Variant v) { return SvSingle::of(std::move(v)); }

rt::Variant decimal(int64_t units, uint8_t scale) {
  return rt::Variant(rt::Decimal{static_cast<uint64_t>(units < 0 ? -units : units), 0, scale, units < 0});
}

}  // namespace

TEST(MathLibrary, ValuesAndTypes) {
  struct Case {
    const char16_t* key;
    rt::Variant x;
    std::string value;
  } cases[] = {
      {u"Abs", rt::Variant(int16_t{-3}), "Integer 3"},
      {u"ABS", rt::Variant(int16_t{-3}), "Integer 3"},
      {u"abs", rt::Variant(int16_t{-32768}), "Long 32768"},
      {u"Abs", rt::Variant(u"-2.5"), "Double 2.5"},
      {u"Abs", rt::Variant(true), "Integer 1"},
      {u"Abs", rt::Variant(), "Integer 0"},
      {u"Abs", rt::Variant(rt::Null{}), "Null"},
      {u"Abs", rt::Variant(rt::Currency{-15000}), "Currency 1.5"},
      {u"Abs", rt::Variant(uint8_t{7}), "Byte 7"},
      {u"Abs", decimal(-125, 2), "Decimal 1.25"},
      {u"Int", rt::Variant(-2.5), "Double -3"},
      {u"Fix", rt::Variant(-2.5), "Double -2"},
      {u"Int", rt::Variant(-2.5f), "Single -3"},
      {u"Int", rt::Variant(u"7.9"), "Double 7"},
      {u"Int", rt::Variant(int32_t{-7}), "Long -7"},
      {u"Int", rt::Variant(rt::Currency{-15000}), "Currency -2"},
      {u"Fix", rt::Variant(rt::Currency{-15000}), "Currency -1"},
      {u"Int", decimal(-125, 2), "Decimal -2"},
      {u"Fix", decimal(-125, 2), "Decimal -1"},
      {u"Fix", decimal(-5, 1), "Decimal 0"},
      {u"Int", rt::Variant(rt::Date{36526.75}), "Date 1/1/2000"},
      {u"Fix", rt::Variant(rt::Null{}), "Null"},
      {u"Sgn", rt::Variant(-0.1), "Integer -1"},
      {u"Sgn", rt::Variant(u"3"), "Integer 1"},
      {u"Sgn", rt::Variant(int16_t{0}), "Integer 0"},
      {u"Sqr", rt::Variant(int16_t{16}), "Double 4"},
      {u"Exp", rt::Variant(int16_t{0}), "Double 1"},
      {u"Log", rt::Variant(int16_t{1}), "Double 0"},
      {u"Sin", rt::Variant(int16_t{0}), "Double 0"},
      {u"Cos", rt::Variant(int16_t{0}), "Double 1"},
      {u"Tan", rt::Variant(int16_t{0}), "Double 0"},
      {u"Atn", rt::Variant(int16_t{1}), "Double 0.785398163397448"},
      {u"Round", rt::Variant(u"x"), "String x"},  // no such function: the argument back
  };
  for (const Case& c : cases) {
    auto f = fun<SvMathFuns>(c.key);
    enginetest::Outcome o = call(*f, one(c.x).get());
    EXPECT_EQ(o.value, c.value) << rt::toUtf8(c.key) << " " << c.value;
    EXPECT_EQ(o.error, "") << rt::toUtf8(c.key);
  }
}

TEST(MathLibrary, Failures) {
  struct Case {
    const char16_t* key;
    rt::Ref<zorbel::ScriptValue> args;
    std::string value, error;
  } cases[] = {
      {u"Sqr", one(rt::Variant(int16_t{-1})), "Nothing", "5 Kestrin.SvMathFuns.ScriptValue_FunCall\r\n"},
      {u"Log", one(rt::Variant(int16_t{0})), "Nothing", "5 Kestrin.SvMathFuns.ScriptValue_FunCall\r\n"},
      {u"Exp", one(rt::Variant(1000.0)), "Nothing", "6 Kestrin.SvMathFuns.ScriptValue_FunCall\r\n"},
      {u"Sgn", one(rt::Variant(u"a")), "Nothing", "13 Kestrin.SvMathFuns.ScriptValue_FunCall\r\n"},
      {u"Sqr", one(rt::Variant(rt::Null{})), "Nothing", "94 Kestrin.SvMathFuns.ScriptValue_FunCall\r\n"},
      {u"Abs", nullptr, "Nothing", "1005 Kestrin.SvMathFuns.ScriptValue_FunCall"},
      {u"Rnd", nullptr, "Nothing", "1005 Kestrin.SvMathFuns.ScriptValue_FunCall"},
      // A list passes its own value; its items are not read.
      {u"Abs", argList({rt::Variant(int16_t{-5}), rt::Variant(int16_t{-6})}), "Integer 0", ""},
  };
  for (const Case& c : cases) {
    auto f = fun<SvMathFuns>(c.key);
    enginetest::Outcome o = call(*f, c.args.get());
    EXPECT_EQ(o.value, c.value) << rt::toUtf8(c.key);
    EXPECT_EQ(o.error, c.error) << rt::toUtf8(c.key);
  }
}

TEST(MathLibrary, RndContract) {
  auto rnd = [](rt::Variant x) {
    auto f = fun<SvMathFuns>(u"Rnd");
    rt::Ref<zorbel::ScriptValue> r = f->funCall(nullptr, one(std::move(x)).get(), 1);
    EXPECT_TRUE(r);
    rt::Variant v = r ? r->value() : rt::Variant();
    EXPECT_EQ(v.type(), rt::VT::Single);
    return v.single();
  };
  float a = rnd(rt::Variant(int16_t{-3}));
  EXPECT_EQ(rnd(rt::Variant(int16_t{0})), a);  // the last number again
  float b = rnd(rt::Variant(int16_t{1}));
  EXPECT_EQ(rnd(rt::Variant(int16_t{-3})), a);  // the same for the same negative
  EXPECT_EQ(rnd(rt::Variant(int16_t{5})), b);   // and the sequence from there again
  EXPECT_NE(rnd(rt::Variant(int16_t{-4})), a);
  for (int i = 0; i < 1000; ++i) {
    float r = rnd(rt::Variant(int16_t{1}));
    ASSERT_TRUE(r >= 0 && r < 1) << r;
  }
  // One sequence: what the System library draws or seeds is what Math's
  // Rnd(0) repeats.
  float drawn = randomSequence().next();
  EXPECT_EQ(rnd(rt::Variant(int16_t{0})), drawn);
  randomSequence().randomize(42.0);
  EXPECT_NE(rnd(rt::Variant(int16_t{0})), drawn);
}

TEST(StatLibrary, SumAndAverage) {
  auto emptyList = argList({});
  emptyList->subs(rt::Variant(int16_t{0}), 1);  // a list with no items
  auto fifteen = argList({});
  for (int16_t i = 1; i <= 15; ++i) fifteen->addSubs(one(rt::Variant(i)).get());
  auto nested = argList({rt::Variant(int16_t{2})});
  auto inner = argList({rt::Variant(int16_t{100})});
  inner->letValue(rt::Variant(int16_t{7}));  // a list item counts with its own value
  nested->addSubs(inner.get());

  struct Case {
    const char16_t* key;
    rt::Ref<zorbel::ScriptValue> args;
    std::string value, error;
  } cases[] = {
      {u"Sum", argList({rt::Variant(int16_t{1}), rt::Variant(u"2"), rt::Variant(3.5)}), "Double 6.5", ""},
      {u"AVERAGE", argList({rt::Variant(int16_t{2}), rt::Variant(int16_t{4})}), "Double 3", ""},
      {u"sum", one(rt::Variant(int16_t{5})), "Double 5", ""},
      {u"Average", one(rt::Variant(u"5")), "Double 5", ""},
      {u"Sum", argList({rt::Variant(), rt::Variant(int16_t{1})}), "Double 1", ""},
      {u"Sum", fifteen, "Double 120", ""},
      {u"Sum", nested, "Double 9", ""},
      {u"Sum", emptyList, "Double 0", ""},
      {u"Average", emptyList, "Nothing", "6 Kestrin.SvStatFuns.ScriptValue_FunCall\r\n"},
      {u"Sum", argList({rt::Variant(u"a"), rt::Variant(int16_t{1})}), "Nothing",
       "13 Kestrin.SvStatFuns.ScriptValue_FunCall\r\n"},
      {u"Sum", nullptr, "Nothing", "91 Kestrin.SvStatFuns.ScriptValue_FunCall\r\n"},
      {u"Median", argList({rt::Variant(int16_t{1})}), "Integer 0", ""},
      {u"Median", nullptr, "Integer 0", ""},
  };
  for (const Case& c : cases) {
    auto f = fun<SvStatFuns>(c.key);
    enginetest::Outcome o = call(*f, c.args.get());
    EXPECT_EQ(o.value, c.value) << rt::toUtf8(c.key) << " " << c.value;
    EXPECT_EQ(o.error, c.error) << rt::toUtf8(c.key) << " " << c.value;
  }
}

TEST(WinCommLibrary, DialogsThroughTheHost) {
  auto host = rt::make<rt::ScriptedHost>();
  host->expectMessageBox(u"Hi", rt::mb::Ok)
      .expectMessageBox(u"Save?", rt::mb::Yes)
      .expectMessageBox(u"Even", rt::mb::Ok)
      .expectInputBox(u"Name:", u"Kim")
      .expectInputBox(u"Age:", u"");
  rt::ScopedUiHost installed(host);

  struct Case {
    const char16_t* key;
    rt::Ref<zorbel::ScriptValue> args;
    std::string value, error;
  } cases[] = {
      {u"MsgBox", one(rt::Variant(u"Hi")), "Long 1", ""},
      {u"msgbox", argList({rt::Variant(u"Save?"), rt::Variant(int16_t{4}), rt::Variant(u"Title"),
                           rt::Variant(u"help.hlp"), rt::Variant(int16_t{7})}),
       "Long 6", ""},
      {u"MsgBox", argList({rt::Variant(u"Even"), rt::Variant(u"4.5")}), "Long 1", ""},
      {u"MsgBox", argList({rt::Variant(u"a"), rt::Variant(int16_t{0}), rt::Variant(u"t"), rt::Variant(u"h"),
                           rt::Variant(int16_t{1}), rt::Variant(u"six")}),
       "Empty", "1005 Kestrin.SvWinComm.WinComm"},
      {u"MsgBox", nullptr, "Empty", "1005 Kestrin.SvWinComm.WinComm"},
      {u"MsgBox", argList({rt::Variant(u"x"), rt::Variant(u"abc")}), "Nothing",
       "13 Kestrin.SvWinComm.ScriptValue_FunCall\r\n"},
      {u"InputBox", argList({rt::Variant(u"Name:"), rt::Variant(u"Who"), rt::Variant(u"Ann"),
                             rt::Variant(int16_t{10}), rt::Variant(int16_t{20})}),
       "String Kim", ""},
      {u"INPUTBOX", one(rt::Variant(u"Age:")), "String ", ""},
      {u"InputBox", argList({rt::Variant(u"1"), rt::Variant(u"2"), rt::Variant(u"3"), rt::Variant(u"4"),
                             rt::Variant(u"5"), rt::Variant(u"6"), rt::Variant(u"7"), rt::Variant(u"8")}),
       "Empty", "1005 Kestrin.SvWinComm.WinComm"},
      {u"Beep", argList({rt::Variant(int16_t{1}), rt::Variant(u"x")}), "Empty", ""},
      {u"Beep", nullptr, "Empty", ""},
      {u"Flash", one(rt::Variant(u"x")), "Integer 0", ""},
  };
  for (const Case& c : cases) {
    auto f = fun<SvWinComm>(c.key);
    enginetest::Outcome o = call(*f, c.args.get());
    EXPECT_EQ(o.value, c.value) << rt::toUtf8(c.key) << " " << c.value;
    EXPECT_EQ(o.error, c.error) << rt::toUtf8(c.key) << " " << c.value;
  }
  host->checkAllAsked();
  EXPECT_EQ(host->beeps(), 2);
  const auto& asked = host->asked();
  ASSERT_EQ(asked.size(), 5u);
  EXPECT_EQ(asked[0].style, 0);
  EXPECT_EQ(asked[0].title, u"");
  EXPECT_EQ(asked[1].style, 4);
  EXPECT_EQ(asked[1].title, u"Title");
  EXPECT_EQ(asked[2].style, 4);  // "4.5" to the even neighbour
  EXPECT_EQ(asked[3].title, u"Who");
  EXPECT_EQ(asked[3].defaultText, u"Ann");
  EXPECT_EQ(asked[4].title, u"");
}
