// The function-library registry and the catalogue it reads.
#include <gtest/gtest.h>

#include "builtins/svsingle.h"
#include "core/funlibs.h"
#include "core/nameheads.h"
#include "kestrin/values.h"
#include "core/resources.h"
#include "rt/dispatch.h"
#include "testsupport.h"

using namespace engine;
using enginetest::errorOf;
using enginetest::utf8;

namespace {

std::string classOf(zorbel::ScriptValue* v) {
  rt::Ref<rt::Dispatch> d = rt::queryRef<rt::Dispatch>(v);
  return d ? utf8(d->typeName()) : "?";
}

rt::Ref<FLGeneral> library(std::u16string_view progId, int32_t from, int32_t to) {
  rt::Ref<FLGeneral> l = rt::make<FLGeneral>();
  l->initForRes(progId, from, to);
  return l;
}

}  // namespace

// Every function name of every library, in catalogue order.
TEST(Catalogue, EveryRangeNamesItsFunctions) {
  struct Range {
    int32_t from, to;
    std::vector<std::string> names;
  } ranges[] = {
      {101, 112, {"Abs", "Int", "Fix", "Sgn", "Rnd", "Sqr", "Log", "Exp", "Sin", "Cos", "Tan", "Atn"}},
      {201, 203, {"MsgBox", "InputBox", "Beep"}},
      {221, 233, {"Dir", "CurDir", "ChDir", "ChDrive", "FileDateTime", "FileLen", "GetAttr",
                  "SetAttr", "FileCopy", "Kill", "MkDir", "RmDir", "ReName"}},
      {301, 302, {"Sum", "Average"}},
      {401, 431, {"Chr", "Asc", "Len", "StrComp", "InStr", "Mid", "StrHead", "FullCharL",
                  "FullCharR", "Trim", "LTrim", "RTrim", "UCase", "LCase", "ReplaceAll", "Format",
                  "FormatCurrency", "FormatDateTime", "FormatNumber", "FormatPercent", "Val", "Hex",
                  "Oct", "InStrRev", "Left", "Right", "Replace", "Space", "StrConv", "String",
                  "StrReverse"}},
      {501, 519, {"Date", "DateAdd", "DateDiff", "DatePart", "DateValue", "Day", "Hour", "Minute",
                  "Month", "MonthName", "Now", "Second", "Time", "Timer", "TimeSerial", "TimeValue",
                  "Weekday", "WeekdayName", "Year"}},
      {601, 610, {"QBColor", "RGB", "Rnd", "Randomize", "DoEvents", "Shell", "TypeName", "Environ",
                  "IIf", "Switch"}},
      {620, 630, {"CBool", "CByte", "CCur", "CDate", "CDbl", "CDec", "CInt", "CLng", "CSng", "CStr",
                  "CVar"}},
  };
  size_t total = 0;
  for (const Range& r : ranges) {
    ASSERT_EQ(r.names.size(), static_cast<size_t>(r.to - r.from + 1));
    for (int32_t id = r.from; id <= r.to; ++id) {
      std::string text = utf8(engineResources().string(id));
      EXPECT_EQ(text.substr(0, text.find('|')), r.names[id - r.from]) << id;
      EXPECT_NE(text.find('|'), std::string::npos) << id;
    }
    // Nothing just outside the range.
    std::u16string_view none;
    EXPECT_FALSE(engineResources().tryString(r.from - 1, none)) << r.from - 1;
    if (r.to != 431) {
      EXPECT_FALSE(engineResources().tryString(r.to + 1, none)) << r.to + 1;
    }
    total += r.names.size();
  }
  EXPECT_EQ(total, 101u);
}

TEST(Catalogue, ExactTexts) {
  struct Case {
    int32_t id;
    const char16_t* text;
  } cases[] = {
      {101, u"Abs|绝对值|返回参数的绝对值"},
      {108, u"Exp|e的某次方|返回 e（自然对数的底）的某次方"},
      {201, u"MsgBox|消息窗口"},
      {203, u"Beep|通过计算机喇叭发出一个声调"},
      {233, u"ReName|重新命名一个文件、目录、或文件夹"},
      {302, u"Average|算术平均数"},
      {401, u"Chr|返回指定的字符代码相关的字符 "},  // the trailing blank is part of it
      {420, u"FormatPercent|返回一个百分比格式（乘以100）的表达式，后面有%符号。"},
      {423, u"Oct|返回 Variant (String)，代表一数值的八进制值。"},
      {432, u"--String Functions End---"},
      {519, u"Year|返回表示年份的整数。"},
      {602, u"RGB|返回一个 Long整数，用来表示一个 RGB 颜色值。"},
      {610, u"Switch|计算一组表达式列表的值，然后返回与表达式列表中最先为 True 的表达式所相关的数值或表达式。"},
      {620, u"CBool|强制将一个表达式转换成某种特定数据类型"},
      {630, u"CVar|强制将一个表达式转换成某种特定数据类型"},
  };
  for (const Case& c : cases) EXPECT_EQ(engineResources().string(c.id), c.text) << c.id;
}

TEST(FLGeneral, ReadsTheCatalogueRange) {
  auto math = library(u"Kestrin.SvMathFuns", 101, 112);
  EXPECT_EQ(math->description(u"ABS"), u"绝对值");
  EXPECT_EQ(math->description(u"Rnd"), u"随机数");
  auto win = library(u"Kestrin.SvWinComm", 201, 203);
  EXPECT_EQ(win->description(u"beep"), u"通过计算机喇叭发出一个声调");
  // One id: exactly that one.
  auto one = library(u"Kestrin.SvMathFuns", 105, 105);
  EXPECT_TRUE(one->hasFun(u"rnd"));
  EXPECT_FALSE(one->hasFun(u"Abs"));
  // A missing id or a name twice in the range raises.
  EXPECT_EQ(errorOf([] { library(u"Kestrin.SvMathFuns", 110, 113); }), 326);
  EXPECT_EQ(errorOf([&] { one->initForRes(u"Kestrin.SvMathFuns", 105, 105); }), 457);
}

TEST(FLGeneral, FreshObjectPerLookupKeyedAsWritten) {
  auto math = library(u"Kestrin.SvMathFuns", 101, 112);
  rt::Ref<zorbel::ScriptValue> seen;
  for (const char16_t* name : {u"abs", u"ABS", u"Abs"}) {
    rt::Ref<zorbel::ScriptValue> f = math->fun(name);
    ASSERT_TRUE(f) << utf8(name);
    EXPECT_EQ(f->key(), name);
    EXPECT_EQ(f->flag(), 12);
    EXPECT_EQ(classOf(f.get()), "SvMathFuns");
    EXPECT_NE(f.get(), seen.get());
    seen = f;
  }
  EXPECT_FALSE(math->fun(u"Len"));  // another library's function
  EXPECT_FALSE(math->fun(u""));
}

// The quick refusal never refuses a name equal to one added, whatever its
// case or width; it refuses names of another length or first character.
TEST(NameHeads, RefusesOnlyNamesNotAdded) {
  NameHeads heads;
  for (std::u16string_view n : {u"Mid", u"InStr", u"Len"}) heads.add(n);
  const struct {
    std::u16string_view name;
    bool may;
  } cases[] = {
      {u"mid", true},     {u"MID", true},      {u"\uFF2Did", true},  // full-width M
      {u"instr", true},   {u"LEN", true},      {u"Mids", false},
      {u"Abs", false},    {u"Lens", false},     {u"", true},
      {u"\u00C9te", true}, {u"\U0001F600x", true},  // no ASCII head: asked in full
  };
  for (const auto& c : cases) EXPECT_EQ(heads.mayHave(c.name), c.may) << utf8(c.name);
  // A name with no ASCII head added: nothing is refused any more.
  heads.add(u"\u00C9t\u00E9");
  EXPECT_TRUE(heads.mayHave(u"Abs"));
}

TEST(FLGeneral, HasFunWhateverTheCase) {
  auto str = library(u"Kestrin.SvStrFuns", 401, 431);
  for (std::u16string_view n : {u"mid", u"MID", u"\uFF2D\uFF29\uFF24", u"InStr", u"instrrev"})
    EXPECT_TRUE(str->hasFun(n)) << utf8(n);
  for (std::u16string_view n : {u"Abs", u"Mi", u"Midd", u""}) EXPECT_FALSE(str->hasFun(n)) << utf8(n);
}

TEST(FLGeneral, ClassThatCannotBeMadeAnswersNothing) {
  auto lib = library(u"Kestrin.NoSuchClass", 101, 112);
  EXPECT_TRUE(lib->hasFun(u"Abs"));
  EXPECT_FALSE(lib->fun(u"Abs"));
}

TEST(IFunLibs, StandardLibrariesInLookupOrder) {
  auto libs = rt::make<IFunLibs>();
  loadStandardLibs(*libs);
  const char* order[] = {"Math", "WinComm", "Dir", "MathStat", "String", "Date", "System", "cType"};
  ASSERT_EQ(libs->count(), 8);
  for (int32_t i = 1; i <= 8; ++i) EXPECT_EQ(utf8(libs->at(i)->name()), order[i - 1]);
  EXPECT_TRUE(libs->exist(u"MATHSTAT"));

  struct Case {
    const char16_t* name;
    const char* cls;  // "" when no built library has it
  } cases[] = {{u"Rnd", "SvMathFuns"}, {u"rnd", "SvMathFuns"}, {u"MsgBox", "SvWinComm"},
               {u"average", "SvStatFuns"}, {u"NoSuchFunction", ""}};
  for (const Case& c : cases) {
    rt::Ref<zorbel::ScriptValue> f = libs->findFun(c.name);
    EXPECT_EQ(f ? classOf(f.get()) : "", c.cls) << utf8(c.name);
    if (f) {
      EXPECT_EQ(f->key(), c.name);
    }
  }
}

TEST(IFunLibs, KeysPositionsAndRefusals) {
  auto libs = rt::make<IFunLibs>();
  auto a = library(u"Kestrin.SvMathFuns", 101, 112);
  auto b = library(u"Kestrin.SvStatFuns", 301, 302);
  EXPECT_TRUE(libs->addObj(a.get(), u"Math"));
  EXPECT_EQ(a->name(), u"Math");
  EXPECT_FALSE(libs->addObj(b.get(), u"MATH"));  // name in use
  EXPECT_EQ(libs->count(), 1);
  EXPECT_TRUE(libs->addObj(b.get(), u""));        // no key
  EXPECT_FALSE(libs->addObj(nullptr, u"x"));
  EXPECT_EQ(libs->item(rt::Variant(u"math")).get(), static_cast<zorbel::IFunLib*>(a.get()));
  EXPECT_EQ(libs->item(rt::Variant(int16_t{2})).get(), static_cast<zorbel::IFunLib*>(b.get()));
  EXPECT_FALSE(libs->item(rt::Variant(int16_t{3})));
  EXPECT_FALSE(libs->item(rt::Variant(u"2")));
  EXPECT_EQ(errorOf([&] { libs->remove(rt::Variant(u"nope")); }), 5);
  EXPECT_EQ(errorOf([&] { libs->remove(rt::Variant(int16_t{0})); }), 9);
  libs->remove(rt::Variant(u"MATH"));
  EXPECT_EQ(libs->count(), 1);
  libs->clear();
  EXPECT_EQ(libs->count(), 0);
}

TEST(FLGeneral, LateBound) {
  auto lib = rt::make<FLGeneral>();
  rt::Object* o = static_cast<zorbel::IFunLib*>(lib.get());
  rt::Variant init[] = {rt::Variant(u"Kestrin.SvWinComm"), rt::Variant(int32_t{201}), rt::Variant(int32_t{203})};
  rt::callByName(o, u"InitForRes", rt::Method, init);
  rt::letProperty(o, u"Name", rt::Variant(u"WinComm"));
  EXPECT_EQ(rt::getProperty(o, u"name").text(), u"WinComm");
  rt::Variant name(u"BEEP");
  rt::Variant f = rt::callByName(o, u"Fun", rt::Method, std::span(&name, 1));
  EXPECT_EQ(rt::queryRef<zorbel::ScriptValue>(f.object())->key(), u"BEEP");
}

// Every public class of these parts is made by its ProgID through the
// registered library, and answers its interfaces there.
TEST(Classes, CreatedByProgId) {
  struct Case {
    const char16_t* progId;
    rt::Iid iid;
    int32_t flag;  // -1: not a script value
  } cases[] = {
      {u"Kestrin.SvSingle", zorbel::ScriptValue::iid, 1},
      {u"Kestrin.SvGeneral", kestrin::ISvGeneral::iid, 0},
      {u"Kestrin.SvCopy", kestrin::ISvCopy::iid, 0},
      {u"Kestrin.ScriptValues", kestrin::IScriptValues::iid, -1},
      {u"Kestrin.FLGeneral", kestrin::IFLGeneral::iid, -1},
      {u"Kestrin.IFunLibs", kestrin::IFunLibList::iid, -1},
      {u"Kestrin.SvMathFuns", zorbel::ScriptValue::iid, 12},
      {u"Kestrin.SvStatFuns", zorbel::ScriptValue::iid, 12},
      {u"Kestrin.SvWinComm", zorbel::ScriptValue::iid, 12},
  };
  for (const Case& c : cases) {
    rt::Ref<rt::Object> o = rt::createObject(c.progId);
    ASSERT_TRUE(o) << utf8(c.progId);
    EXPECT_TRUE(o->query(c.iid)) << utf8(c.progId);
    rt::Ref<zorbel::ScriptValue> v = rt::queryRef<zorbel::ScriptValue>(o.get());
    EXPECT_EQ(v ? v->flag() : -1, c.flag) << utf8(c.progId);
  }
  // A registry over the registered classes: the function objects come from there.
  rt::Ref<zorbel::IFunLib> lib = rt::queryRef<zorbel::IFunLib>(rt::createObject(u"Kestrin.FLGeneral").get());
  rt::queryRef<kestrin::IFLGeneral>(lib.get())->initForRes(u"Kestrin.SvMathFuns", 101, 112);
  rt::Ref<zorbel::ScriptValue> f = lib->fun(u"Sgn");
  ASSERT_TRUE(f);
  rt::Ref<zorbel::ScriptValue> r = f->funCall(nullptr, SvSingle::of(rt::Variant(-2.0)).get(), 1);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->value().integer(), -1);
}
