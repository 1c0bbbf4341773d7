// The System library: the text functions, the random sequence, starting
// programs, and TypeName, IIf and Switch on the argument objects.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "builtins/random.h"
#include "builtins/svmathfuns.h"
#include "builtins/svsysfuns.h"
#include "core/funlibs.h"
#include "libtest.h"
#include "rt/activation.h"
#include "rt/testhost.h"
#include "testsupport.h"

using namespace engine;
using enginetest::argList;
using enginetest::call;
using enginetest::emptyList;
using enginetest::fun;
using enginetest::utf8;

namespace {

rt::Ref<zorbel::ScriptValue> one(rt::Variant v) { return SvSingle::of(std::move(v)); }

rt::Variant i16(int16_t n) { return rt::Variant(n); }

struct Case {
  const char16_t* key;
  rt::Ref<zorbel::ScriptValue> args;
  std::string value, error;
};

void check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    auto f = fun<SvSysFuns>(c.key);
    enginetest::Outcome o = call(*f, c.args.get());
    EXPECT_EQ(o.value, c.value) << rt::toUtf8(c.key) << " " << c.value;
    EXPECT_EQ(o.error, c.error) << rt::toUtf8(c.key) << " " << c.value;
  }
}

const std::string kTrapped = " Kestrin.SvSysFuns.ScriptValue_FunCall\r\n";
const std::string kBadCount = "1005 Kestrin.SvSysFuns.SysFuns";
const std::string kNoList = "1005 Kestrin.SvSysFuns.ScriptValue_FunCall";

// The System function `key` called on `args`: the result object itself.
rt::Ref<zorbel::ScriptValue> pick(const char16_t* key, zorbel::ScriptValue* args) {
  auto f = fun<SvSysFuns>(key);
  rt::Ref<zorbel::ScriptValue> r = f->funCall(nullptr, args, 1);
  EXPECT_FALSE(f->hasError()) << rt::toUtf8(key);
  return r;
}

float rnd(zorbel::ScriptValue* args) {
  rt::Ref<zorbel::ScriptValue> r = pick(u"Rnd", args);
  rt::Variant v = r ? r->value() : rt::Variant();
  EXPECT_EQ(v.type(), rt::VT::Single);
  return v.single();
}

void randomize(rt::Variant seed) { pick(u"Randomize", one(std::move(seed)).get()); }

}  // namespace

TEST(SystemLibrary, Colours) {
  const int32_t palette[16] = {0,       8388608, 32768,    8421376,  128,      8388736,
                               32896,   12632256, 8421504, 16711680, 65280,    16776960,
                               255,     16711935, 65535,   16777215};
  for (int16_t n = 0; n < 16; ++n) {
    enginetest::Outcome o = call(*fun<SvSysFuns>(u"QBColor"), one(i16(n)).get());
    EXPECT_EQ(o.value, "Long " + std::to_string(palette[n])) << n;
    EXPECT_EQ(o.error, "");
  }
  check({
      {u"qbcolor", one(rt::Variant(u"9")), "Long 16711680", ""},
      {u"QBColor", one(rt::Variant(14.5)), "Long 65535", ""},  // a half to the even 14
      {u"QBColor", one(i16(16)), "Nothing", "5" + kTrapped},
      {u"QBColor", one(i16(-1)), "Nothing", "5" + kTrapped},
      {u"QBColor", one(rt::Variant(u"red")), "Nothing", "13" + kTrapped},
      {u"QBColor", argList({i16(1), i16(2)}), "Empty", kBadCount},
      {u"QBColor", nullptr, "Empty", kBadCount},
      {u"RGB", argList({i16(255), i16(0), i16(0)}), "Long 255", ""},
      {u"RGB", argList({i16(0), i16(0), i16(255)}), "Long 16711680", ""},
      {u"rgb", argList({i16(1), i16(2), i16(3)}), "Long 197121", ""},
      {u"RGB", argList({i16(300), rt::Variant(u"256"), i16(32767)}), "Long 16777215", ""},
      {u"RGB", argList({i16(-1), i16(0), i16(0)}), "Nothing", "5" + kTrapped},
      {u"RGB", argList({rt::Variant(u"70000"), i16(0), i16(0)}), "Nothing", "6" + kTrapped},
      {u"RGB", argList({rt::Variant(u"x"), i16(0), i16(0)}), "Nothing", "13" + kTrapped},
      {u"RGB", argList({i16(255), i16(0)}), "Empty", kBadCount},
      {u"RGB", argList({i16(1), i16(2), i16(3), i16(4)}), "Empty", kBadCount},
      {u"Palette", one(i16(1)), "Integer 0", ""},  // no such function
  });
}

// One sequence with the Math library's Rnd.  Repeating a sequence takes
// Rnd with a negative number right before Randomize with the seed, as
// Randomize alone keeps part of the state.
TEST(SystemLibrary, RandomSequence) {
  auto draw = [](rt::Variant seed) {
    rnd(one(i16(-1)).get());
    randomize(std::move(seed));
    std::vector<float> seq;
    for (int i = 0; i < 5; ++i) seq.push_back(rnd(nullptr));
    return seq;
  };
  std::vector<float> a = draw(i16(42));
  for (float r : a) EXPECT_TRUE(r >= 0 && r < 1) << r;
  EXPECT_EQ(draw(rt::Variant(u"42")), a);
  EXPECT_NE(draw(i16(43)), a);
  EXPECT_EQ(draw(i16(42)), a);

  float last = rnd(one(i16(1)).get());
  EXPECT_EQ(rnd(one(i16(0)).get()), last);   // Rnd(0): the last number again
  EXPECT_EQ(rnd(one(i16(0)).get()), last);
  float neg = rnd(one(rt::Variant(-7.5)).get());
  rnd(nullptr);
  EXPECT_EQ(rnd(one(rt::Variant(u"-7.5")).get()), neg);  // the same for the same negative
  EXPECT_NE(rnd(one(i16(-8)).get()), neg);

  // The Math library's Rnd(0) repeats what System drew.
  float drawn = rnd(argList({i16(3), rt::Variant(u"ignored")}).get());
  rt::Ref<zorbel::ScriptValue> m = fun<SvMathFuns>(u"Rnd")->funCall(nullptr, one(i16(0)).get(), 1);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->value().single(), drawn);

  // Randomize without a seed reads the timer; either way the value is Empty.
  check({
      {u"Randomize", nullptr, "Empty", ""},
      {u"Randomize", one(rt::Variant(u"x")), "Nothing", "13" + kTrapped},
      {u"Rnd", one(rt::Variant(u"x")), "Nothing", "13" + kTrapped},
      {u"Rnd", one(rt::Variant(1e39)), "Nothing", "6" + kTrapped},
  });
}

TEST(SystemLibrary, DoEventsYieldsToTheHost) {
  auto host = rt::make<rt::ScriptedHost>();
  rt::ScopedUiHost installed(host);
  check({
      {u"DoEvents", nullptr, "Empty", ""},
      {u"doevents", argList({i16(1), rt::Variant(u"x")}), "Empty", ""},
      {u"DoEvents", one(rt::Variant(rt::Null{})), "Nothing", "94" + kTrapped},  // no text form
  });
  EXPECT_EQ(host->yields(), 2);
  host->checkAllAsked();
}

TEST(SystemLibrary, Environ) {
  ASSERT_EQ(setenv("ZUB_SYS_TEST", "值 1", 1), 0);
  ASSERT_EQ(setenv("7", "seven", 1), 0);
  unsetenv("ZUB_SYS_UNSET");
  unsetenv("2");

  check({
      {u"Environ", one(rt::Variant(u"ZUB_SYS_TEST")), "String 值 1", ""},
      {u"ENVIRON", one(rt::Variant(u"ZUB_SYS_UNSET")), "String ", ""},
      {u"Environ", one(rt::Variant(u"zub_sys_test")), "String ", ""},  // names keep their case
      {u"Environ", one(rt::Variant(u"")), "String ", ""},
      {u"Environ", one(rt::Variant(u"A=B")), "String ", ""},
      {u"Environ", one(rt::Variant(std::u16string(u"ZUB_SYS_TEST\0x", 14))), "String ", ""},
      // Digits name a variable too; they never count entries.
      {u"Environ", one(i16(7)), "String seven", ""},
      {u"Environ", one(i16(2)), "String ", ""},
      {u"Environ", one(i16(0)), "String ", ""},
      {u"Environ", one(i16(-1)), "String ", ""},
      {u"Environ", nullptr, "Empty", kBadCount},
      {u"Environ", argList({rt::Variant(u"A"), rt::Variant(u"B")}), "Empty", kBadCount},
  });
  unsetenv("ZUB_SYS_TEST");
  unsetenv("7");
}

// Shell starts the program and does not wait; the program is not left as
// a child of ours (no zombie to reap), and missing programs are errors.
TEST(SystemLibrary, Shell) {
  rt::Ref<zorbel::ScriptValue> r = pick(u"Shell", one(rt::Variant(u"/bin/true")).get());
  ASSERT_TRUE(r);
  rt::Variant id = r->value();
  ASSERT_EQ(id.type(), rt::VT::Double);
  EXPECT_GT(id.dbl(), 0);
  EXPECT_EQ(waitpid(static_cast<pid_t>(id.dbl()), nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);

  // Found through PATH, with an argument holding a blank, and a window style.
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("zub-shell-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::path made = dir / "made by shell";
  std::u16string line = u"touch \"" + rt::fromUtf8(made.string()) + u"\"";
  ASSERT_TRUE(pick(u"SHELL", argList({rt::Variant(line), i16(1)}).get()));
  // The program runs on its own; give it up to a minute to leave its mark.
  for (int i = 0; i < 600 && !std::filesystem::exists(made); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(std::filesystem::exists(made));

  std::filesystem::path plain = dir / "not-executable";
  std::ofstream(plain) << "data";
  std::u16string notExecutable = rt::fromUtf8(plain.string());

  check({
      {u"Shell", nullptr, "Empty", ""},
      {u"Shell", one(rt::Variant(u"/no/such/program")), "Nothing", "53" + kTrapped},
      {u"Shell", one(rt::Variant(u"zub-no-such-program-on-path")), "Nothing", "53" + kTrapped},
      {u"Shell", one(rt::Variant(notExecutable)), "Nothing", "70" + kTrapped},
      {u"Shell", one(rt::Variant(u"")), "Nothing", "5" + kTrapped},
      {u"Shell", one(rt::Variant(u"\"\" x")), "Nothing", "5" + kTrapped},
      {u"Shell", argList({rt::Variant(u"/bin/true"), rt::Variant(u"wide")}), "Nothing", "13" + kTrapped},
  });
  std::filesystem::remove_all(dir);
}

TEST(SystemLibrary, TypeName) {
  auto fn = fun<SvMathFuns>(u"Abs");
  auto errInfo = rt::createObject(u"Jespin.ErrInfo");
  check({
      {u"TypeName", one(rt::Variant(u"text")), "String String", ""},
      {u"typename", one(i16(1)), "String Integer", ""},
      {u"TypeName", one(rt::Variant(int32_t{1})), "String Long", ""},
      {u"TypeName", one(rt::Variant(1.5)), "String Double", ""},
      {u"TypeName", one(rt::Variant(1.5f)), "String Single", ""},
      {u"TypeName", one(rt::Variant(rt::Currency{1})), "String Currency", ""},
      {u"TypeName", one(rt::Variant(rt::Date{1})), "String Date", ""},
      {u"TypeName", one(rt::Variant(true)), "String Boolean", ""},
      {u"TypeName", one(rt::Variant(uint8_t{1})), "String Byte", ""},
      {u"TypeName", one(rt::Variant()), "String Empty", ""},
      {u"TypeName", one(rt::Variant(rt::Null{})), "String Null", ""},
      {u"TypeName", one(rt::Variant(nullptr)), "String Nothing", ""},
      {u"TypeName", one(rt::Variant(errInfo)), "String ErrInfo", ""},
      {u"TypeName", one(rt::Variant(one(i16(1)))), "String SvSingle", ""},
      {u"TypeName", fn, "String Function", ""},
      {u"TypeName", argList({rt::Variant(u"a"), rt::Variant(u"b")}), "String Array", ""},
      {u"TypeName", emptyList(), "String Array", ""},
      {u"TypeName", nullptr, "Nothing", "91" + kTrapped},
  });
}

TEST(SystemLibrary, IIfChoosesTheArgumentItself) {
  rt::Ref<zorbel::ScriptValue> a = one(rt::Variant(u"a")), b = one(i16(2));
  auto iif = [&](rt::Variant condition) {
    auto args = argList({condition});
    args->addSubs(a.get());
    args->addSubs(b.get());
    return pick(u"IIf", args.get());
  };
  struct Truth {
    rt::Variant condition;
    bool chosen;
  } truths[] = {
      {rt::Variant(false), false},
      {rt::Variant(true), true},
      {rt::Variant(u"0"), true},  // a text is true when it is not empty
      {rt::Variant(u""), false},
      {i16(0), false},
      {rt::Variant(-0.5), true},
      {rt::Variant(rt::Currency{0}), false},
      {rt::Variant(rt::Date{0}), false},
      {rt::Variant(), false},
      {rt::Variant(rt::Null{}), true},
      {rt::Variant(nullptr), false},
      {rt::Variant(a), true},
  };
  for (const Truth& t : truths) {
    rt::Ref<zorbel::ScriptValue> r = iif(t.condition);
    EXPECT_EQ(r.get(), t.chosen ? a.get() : b.get()) << utf8(rt::typeNameOf(t.condition.type()));
  }
  check({
      {u"IIf", argList({rt::Variant(true), i16(1)}), "Nothing", kNoList},
      {u"IIf", argList({rt::Variant(true), i16(1), i16(2), i16(3)}), "Nothing", kNoList},
      {u"IIf", one(rt::Variant(true)), "Nothing", kNoList},
      {u"IIf", nullptr, "Nothing", "91" + kTrapped},
      {u"IIf", argList({rt::Variant(u"x"), rt::Variant(1.5), i16(3)}), "Double 1.5", ""},
  });
}

TEST(SystemLibrary, SwitchTakesTheFirstTrueCondition) {
  rt::Ref<zorbel::ScriptValue> one1 = one(rt::Variant(u"one")), two = one(rt::Variant(u"two"));
  auto pairs = [&](int16_t x) {
    auto args = argList({rt::Variant(x == 1)});
    args->addSubs(one1.get());
    args->addSubs(SvSingle::of(rt::Variant(x == 2)).get());
    args->addSubs(two.get());
    return args;
  };
  EXPECT_EQ(pick(u"Switch", pairs(1).get()).get(), one1.get());
  EXPECT_EQ(pick(u"switch", pairs(2).get()).get(), two.get());
  EXPECT_FALSE(pick(u"Switch", pairs(3).get()));

  auto both = argList({rt::Variant(true)});
  both->addSubs(one1.get());
  both->addSubs(SvSingle::of(rt::Variant(true)).get());
  both->addSubs(two.get());
  EXPECT_EQ(pick(u"Switch", both.get()).get(), one1.get());  // the walk stops at the first

  check({
      // An odd last item is never tested.
      {u"Switch", argList({rt::Variant(false), i16(1), rt::Variant(true)}), "Nothing", ""},
      {u"Switch", emptyList(), "Nothing", ""},
      {u"Switch", one(rt::Variant(true)), "Nothing", kNoList},
      {u"Switch", nullptr, "Nothing", "91" + kTrapped},
  });
}

TEST(SystemLibrary, ClassesByProgIdAndInTheRegistry) {
  for (const char16_t* progId : {u"Kestrin.SvSysFuns", u"Kestrin.SvCTypes"}) {
    rt::Ref<zorbel::ScriptValue> v = rt::queryRef<zorbel::ScriptValue>(rt::createObject(progId).get());
    ASSERT_TRUE(v) << utf8(progId);
    EXPECT_EQ(v->flag(), 12);
  }
  auto libs = rt::make<IFunLibs>();
  loadStandardLibs(*libs);
  struct Found {
    const char16_t* name;
    const char* cls;
  } cases[] = {{u"TypeName", "SvSysFuns"}, {u"switch", "SvSysFuns"}, {u"Environ", "SvSysFuns"},
               {u"Rnd", "SvMathFuns"},     {u"CInt", "SvCTypes"},    {u"cvar", "SvCTypes"}};
  for (const Found& c : cases) {
    rt::Ref<zorbel::ScriptValue> f = libs->findFun(c.name);
    rt::Ref<rt::Dispatch> d = f ? rt::queryRef<rt::Dispatch>(f.get()) : nullptr;
    EXPECT_EQ(d ? utf8(d->typeName()) : "", c.cls) << utf8(c.name);
  }
}
