// The frame every library function object shares, and its text-gathering
// FunCall, through a probe library built on it.
#include <gtest/gtest.h>

#include "builtins/svctypes.h"
#include "builtins/svmathfuns.h"
#include "builtins/svstatfuns.h"
#include "builtins/svwincomm.h"
#include "builtins/textfun.h"
#include "libtest.h"
#include "testsupport.h"

using namespace engine;
using enginetest::argList;
using enginetest::call;
using enginetest::fun;

namespace {

// "count:text1,text2,..."
rt::Variant joinFun(const TextArgs& a) {
  std::u16string s = rt::ascii(std::to_string(a.count())) + u":";
  for (int32_t i = 1; i <= a.count(); ++i) s += (i > 1 ? u"," : u"") + a.text(i);
  return rt::Variant(s);
}
rt::Variant sumFun(const TextArgs& a) { return rt::Variant(a.toInt(1) + a.toInt(2)); }

const TextFun kProbe[] = {
    {u"Join", anyCount(), &joinFun},
    {u"Two", exactly(2), &sumFun, OnBadCount::Zero},
    {u"AtLeastOne", atLeast(1), &joinFun, OnBadCount::False},
    {u"Join", exactly(0), &joinFun},  // never reached: the first match wins
};

class SvProbe final : public TextLibFun<SvProbe> {
 public:
  static constexpr std::u16string_view kClassName = u"SvProbe";
  static constexpr std::u16string_view kSource = u"ProbeFuns";
  static std::span<const TextFun> functions() { return kProbe; }
};

// The documented ways a library steps in before the frame: its own evalFun
// (a missing argument checked for every name) and its own Count.
class SvStrict final : public TextLibFun<SvStrict> {
 public:
  static constexpr std::u16string_view kClassName = u"SvStrict";
  static constexpr std::u16string_view kSource = u"StrictFuns";
  static std::span<const TextFun> functions() { return kProbe; }
  rt::Variant evalFun(const TextArgs& args) {
    if (args.count() == 0) {
      err_.setCode(ErrMissingArgument, kSource);
      return rt::Variant(int16_t{0});
    }
    return TextLibFun<SvStrict>::evalFun(args);
  }
  int32_t count() override { return 0; }
};

rt::Variant nothingValue() { return rt::Variant(static_cast<rt::Object*>(nullptr)); }

}  // namespace

TEST(TextFrame, GathersArgumentsAsText) {
  auto twelve = argList({});
  for (int16_t i = 1; i <= 12; ++i) twelve->addSubs(SvSingle::of(rt::Variant(i)).get());
  // A collection-like value passed alone: its items are the arguments.
  auto collection = argList({rt::Variant(u"x"), rt::Variant(u"y")});
  auto nested = argList({rt::Variant(int16_t{1})});
  nested->addSubs(collection.get());  // an item that is a list counts with its value

  auto emptyList = argList({});
  emptyList->subs(rt::Variant(int16_t{0}), 1);  // a list now, with no items

  struct Case {
    const char* what;
    rt::Ref<zorbel::ScriptValue> args;
    std::string value;
  } cases[] = {
      {"no arguments", nullptr, "String 0:"},
      {"one", SvSingle::of(rt::Variant(int16_t{5})), "String 1:5"},
      {"a double", SvSingle::of(rt::Variant(1.5)), "String 1:1.5"},
      {"a boolean", SvSingle::of(rt::Variant(true)), "String 1:True"},
      {"empty", SvSingle::of(rt::Variant()), "String 1:"},
      {"a list", argList({rt::Variant(u"a"), rt::Variant(int32_t{2}), rt::Variant(false)}),
       "String 3:a,2,False"},
      {"twelve", twelve, "String 10:1,2,3,4,5,6,7,8,9,10"},
      {"a collection", collection, "String 2:x,y"},
      {"nested", nested, "String 2:1,0"},
      {"an empty list", emptyList, "String 0:"},
  };
  for (const Case& c : cases) {
    auto f = fun<SvProbe>(u"JOIN");
    enginetest::Outcome o = call(*f, c.args.get());
    EXPECT_EQ(o.value, c.value) << c.what;
    EXPECT_EQ(o.error, "") << c.what;
  }
}

// Whole-number arguments are kept as numbers until their text is asked
// for: every reading gives what their text form would.
TEST(TextFrame, WholeNumbersReadAsTheirText) {
  auto list = argList({rt::Variant(int16_t{-7}), rt::Variant(int32_t{123456}), rt::Variant(u"42"),
                       rt::Variant(int32_t{40000}), rt::Variant(2.5)});
  TextArgs a(list.get());
  EXPECT_EQ(a.toInt(1), -7);
  EXPECT_EQ(a.toInt(2), 123456);
  EXPECT_EQ(a.toReal(2), 123456.0);
  EXPECT_EQ(a.toShort(1), -7);
  EXPECT_EQ(enginetest::errorOf([&] { a.toShort(4); }), 6);  // as "40000" overflows
  EXPECT_EQ(a.toInt(5), 2);                                  // "2.5", half to even
  const std::u16string texts[] = {u"-7", u"123456", u"42", u"40000", u"2.5"};
  for (int32_t i = 1; i <= 5; ++i) {
    EXPECT_EQ(a.text(i), texts[i - 1]) << i;
    EXPECT_EQ(a.isText(i), i == 3) << i;
  }
  EXPECT_EQ(a.toInt(2), 123456);  // read again after its text was made
  EXPECT_FALSE(a.isText(6));
  EXPECT_EQ(a.text(6), u"");
}

TEST(TextFrame, CountsFailuresAndUnknownNames) {
  struct Case {
    const char16_t* key;
    rt::Ref<zorbel::ScriptValue> args;
    std::string value, error;
  } cases[] = {
      {u"two", argList({rt::Variant(u"2"), rt::Variant(u"3.5")}), "Long 6", ""},  // 3.5 to even: 4
      {u"Two", SvSingle::of(rt::Variant(int16_t{1})), "Integer 0", "1005 Kestrin.SvProbe.ProbeFuns"},
      {u"AtLeastOne", nullptr, "Boolean False", "1005 Kestrin.SvProbe.ProbeFuns"},
      {u"atleastone", argList({rt::Variant(u"a"), rt::Variant(u"b")}), "String 2:a,b", ""},
      {u"Nope", SvSingle::of(rt::Variant(int16_t{1})), "Integer 0", ""},
      {u"Two", argList({rt::Variant(u"x"), rt::Variant(u"1")}), "Nothing",
       "13 Kestrin.SvProbe.ScriptValue_FunCall\r\n"},
      {u"Join", SvSingle::of(rt::Variant(rt::Null{})), "Nothing",
       "94 Kestrin.SvProbe.ScriptValue_FunCall\r\n"},
  };
  for (const Case& c : cases) {
    auto f = fun<SvProbe>(c.key);
    enginetest::Outcome o = call(*f, c.args.get());
    EXPECT_EQ(o.value, c.value) << rt::toUtf8(c.key);
    EXPECT_EQ(o.error, c.error) << rt::toUtf8(c.key);
  }
}

TEST(TextFrame, LibrariesStepInBeforeTheFrame) {
  auto f = fun<SvStrict>(u"Nope");
  enginetest::Outcome o = call(*f, nullptr);
  EXPECT_EQ(o.value, "Integer 0");
  EXPECT_EQ(o.error, "1005 Kestrin.SvStrict.StrictFuns");
  o = call(*f, SvSingle::of(rt::Variant(u"a")).get());
  EXPECT_EQ(o.value, "Integer 0");
  EXPECT_EQ(o.error, "");
  f->setKey(u"join");
  EXPECT_EQ(call(*f, SvSingle::of(rt::Variant(u"a")).get()).value, "String 1:a");
  EXPECT_EQ(f->count(), 0);
  EXPECT_FALSE(f->hasError());
}

// A list that answers no item: its own error reaches the caller.
TEST(TextFrame, FailingListItem) {
  auto list = argList({rt::Variant(int16_t{1})});
  auto bad = SvSingle::of(rt::Variant(int16_t{1}));
  // A list whose second item is a value that cannot be indexed.
  class Failing final : public rt::Automation<Failing, zorbel::ScriptValue> {
   public:
    static const rt::MemberTable<Failing>& members() {
      static const rt::MemberTable<Failing> t{u"Failing"};
      return t;
    }
    std::u16string key() override { return {}; }
    void setKey(std::u16string_view) override {}
    int32_t count() override { return 2; }
    int32_t flag() override { return zorbel::FlagList; }
    rt::Variant value() override { return {}; }
    void letValue(const rt::Variant&) override {}
    void setValue(const rt::Variant&) override {}
    rt::Ref<zorbel::ScriptValue> attr(std::u16string_view) override { return nullptr; }
    rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& i, int32_t) override {
      if (rt::toLong(i) == 1) return SvSingle::of(rt::Variant(u"one"));
      return single_->subs(i, 1);  // records 1004 in single_
    }
    rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace*, zorbel::ScriptValue*, int32_t) override {
      return nullptr;
    }
    rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
    jespin::IErrInfo& error() override { return single_->error(); }
    rt::Ref<SvSingle> single_ = SvSingle::of(rt::Variant());
  };
  auto failing = rt::make<Failing>();
  auto f = fun<SvProbe>(u"Join");
  enginetest::Outcome o = call(*f, failing.get());
  EXPECT_EQ(o.value, "Nothing");
  EXPECT_EQ(o.error,
            "1004 Kestrin.SvProbe.ScriptValue_FunCall\r\nKestrin.SvSingle.ScriptValue_Subs");
  // The next call clears it.
  EXPECT_EQ(call(*f, nullptr).error, "");
}

// Read as a value, a function runs without arguments; one that needs them
// raises its failure instead of answering 0.
TEST(LibraryFrame, ValueRunsTheFunction) {
  EXPECT_EQ(rt::toText(fun<SvProbe>(u"Join")->value()), u"0:");  // no arguments
  rt::Ref<zorbel::ScriptValue> abs = fun<SvMathFuns>(u"Abs");
  EXPECT_EQ(enginetest::errorOf([&] { abs->value(); }), errNumber(ErrMissingArgument));
  rt::Ref<zorbel::ScriptValue> cint = fun<SvCTypes>(u"CInt");
  EXPECT_EQ(enginetest::errorOf([&] { cint->value(); }), errNumber(ErrMissingArgument));
  EXPECT_EQ(cint->error().source(), u"Kestrin.SvCTypes.cTypeFuns");
}

// Every operation but FunCall, Value get, Key, Flag, ObjAttr and Error is
// refused.
TEST(LibraryFrame, OtherOperationsRecord1004) {
  std::vector<rt::Ref<zorbel::ScriptValue>> objects = {
      fun<SvMathFuns>(u"Abs"), fun<SvStatFuns>(u"Sum"), fun<SvWinComm>(u"Beep"), fun<SvProbe>(u"Join")};
  for (const rt::Ref<zorbel::ScriptValue>& f : objects) {
    std::string cls = enginetest::utf8(f->error().parentMod());
    EXPECT_EQ(f->flag(), 12) << cls;
    struct Op {
      const char* source;
      std::function<bool()> run;  // true when the operation answered something
    } ops[] = {
        {"ScriptValue_Count", [&] { return f->count() != 0; }},
        {"Let_ScriptValue_Value", [&] { f->letValue(rt::Variant(int16_t{1})); return false; }},
        {"Set_ScriptValue_Value", [&] { f->setValue(nothingValue()); return false; }},
        {"ScriptValue_Attr", [&] { return static_cast<bool>(f->attr(u"a")); }},
        {"ScriptValue_Subs", [&] { return static_cast<bool>(f->subs(rt::Variant(int16_t{1}), 1)); }},
    };
    for (const Op& op : ops) {
      EXPECT_FALSE(op.run()) << cls << " " << op.source;
      EXPECT_EQ(f->error().number(), errNumber(ErrNotSupported));
      EXPECT_EQ(enginetest::utf8(f->error().source()), "Kestrin." + cls + "." + op.source);
      EXPECT_EQ(enginetest::utf8(f->error().description()), "非法调用，使用了对象不支持属性或方法。");
    }
    f->error().clear();
    EXPECT_FALSE(f->objAttr(u"a"));
    EXPECT_FALSE(f->hasError()) << cls;
  }
}
