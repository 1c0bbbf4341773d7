// The conversion library: values and types, the missing argument, and the
// reference table of conversions.
#include <gtest/gtest.h>

#include <set>

#include "builtins/svctypes.h"
#include "libtest.h"
#include "oracle.h"
#include "testsupport.h"

using namespace engine;
using enginetest::argList;
using enginetest::call;
using enginetest::emptyList;
using enginetest::fun;

namespace {

rt::Ref<zorbel::ScriptValue> one(rt::Variant v) { return SvSingle::of(std::move(v)); }

}  // namespace

TEST(CTypeLibrary, ValuesAndTypes) {
  struct Case {
    const char16_t* key;
    rt::Ref<zorbel::ScriptValue> args;
    std::string value, error;
  } cases[] = {
      {u"CInt", one(rt::Variant(u"2.5")), "Integer 2", ""},
      {u"cint", one(rt::Variant(u"3.5")), "Integer 4", ""},
      {u"CInt", one(rt::Variant(2.5)), "Integer 2", ""},  // through its text "2.5"
      {u"CLng", one(rt::Variant(u"40000")), "Long 40000", ""},
      {u"CByte", one(rt::Variant(u"255")), "Byte 255", ""},
      {u"CBool", one(rt::Variant(u"TRUE")), "Boolean True", ""},
      {u"CBool", one(rt::Variant(int16_t{0})), "Boolean False", ""},
      {u"CBool", one(rt::Variant(true)), "Boolean True", ""},  // the word True
      {u"CCur", one(rt::Variant(u"1.23456")), "Currency 1.2346", ""},
      {u"CDbl", one(rt::Variant(u"1e3")), "Double 1000", ""},
      {u"CSng", one(rt::Variant(u"0.1")), "Single 0.1", ""},
      {u"CDec", one(rt::Variant(u"1.25")), "Decimal 1.25", ""},
      {u"CDec", one(rt::Variant(u"79228162514264337593543950335")), "Decimal 79228162514264337593543950335", ""},
      {u"CDate", one(rt::Variant(u"2000-01-31")), "Date 1/31/2000", ""},
      {u"CDate", one(rt::Variant(rt::Date{36526.5})), "Date 1/1/2000 12:00:00 PM", ""},
      {u"CStr", one(rt::Variant(int16_t{12})), "String 12", ""},
      {u"CStr", one(rt::Variant(true)), "String True", ""},
      {u"CVar", one(rt::Variant(int16_t{12})), "String 12", ""},
      {u"CVar", one(rt::Variant()), "String ", ""},
      // Only the first argument counts; the others are gathered and ignored.
      {u"CInt", argList({rt::Variant(u"7"), rt::Variant(u"x"), rt::Variant(u"y")}), "Integer 7", ""},
      // A collection as the one argument: its first item.
      {u"CLng", argList({rt::Variant(u"9")}), "Long 9", ""},
      {u"CToday", one(rt::Variant(u"1")), "Integer 0", ""},
      // Failures are trapped.
      {u"CByte", one(rt::Variant(u"256")), "Nothing", "6 Kestrin.SvCTypes.ScriptValue_FunCall\r\n"},
      {u"CInt", one(rt::Variant(u"abc")), "Nothing", "13 Kestrin.SvCTypes.ScriptValue_FunCall\r\n"},
      {u"CDec", one(rt::Variant(u"abc")), "Nothing", "13 Kestrin.SvCTypes.ScriptValue_FunCall\r\n"},
      {u"CDec", one(rt::Variant(u"1E+29")), "Nothing", "6 Kestrin.SvCTypes.ScriptValue_FunCall\r\n"},
      {u"CInt", one(rt::Variant()), "Nothing", "13 Kestrin.SvCTypes.ScriptValue_FunCall\r\n"},
      {u"CStr", one(rt::Variant(rt::Null{})), "Nothing", "94 Kestrin.SvCTypes.ScriptValue_FunCall\r\n"},
      {u"CInt", argList({rt::Variant(u"1"), rt::Variant(rt::Null{})}), "Nothing",
       "94 Kestrin.SvCTypes.ScriptValue_FunCall\r\n"},
      // No argument: checked before the name, so even an unknown name records it.
      {u"CInt", nullptr, "Integer 0", "1005 Kestrin.SvCTypes.cTypeFuns"},
      {u"CStr", emptyList(), "Integer 0", "1005 Kestrin.SvCTypes.cTypeFuns"},
      {u"CToday", nullptr, "Integer 0", "1005 Kestrin.SvCTypes.cTypeFuns"},
  };
  for (const Case& c : cases) {
    auto f = fun<SvCTypes>(c.key);
    enginetest::Outcome o = call(*f, c.args.get());
    EXPECT_EQ(o.value, c.value) << rt::toUtf8(c.key) << " " << c.value;
    EXPECT_EQ(o.error, c.error) << rt::toUtf8(c.key) << " " << c.value;
  }
}

// The rows of the reference table whose argument reads back from its text
// as the same value (texts and whole numbers): the library sees only the
// text, so for these it must agree with the runtime's own conversion.  CStr
// and CVar give the text form itself, so every CStr row holds for both.
TEST(CTypeLibrary, ReferenceTable) {
  const std::set<std::string> exactText = {"String", "Integer", "Long", "Byte"};
  int checked = 0;
  for (const oracle::Row& row : oracle::read("variant-conversions.tsv")) {
    const std::string& fn = row.fields[0];
    const std::string& arg = row.fields[1];
    if (fn == "Text") continue;
    std::string argType = arg.substr(0, arg.find(' '));
    std::vector<const char*> keys;
    if (fn == "CStr") {
      if (argType == "Null") continue;  // no text form: the frame fails before CStr
      keys = {"CStr", "CVar"};
    } else if (exactText.count(argType)) {
      keys = {fn.c_str()};
    }
    for (const char* key : keys) {
      SCOPED_TRACE("line " + std::to_string(row.line) + ": " + key + " " + arg);
      auto f = fun<SvCTypes>(rt::ascii(key));
      rt::Ref<zorbel::ScriptValue> r = f->funCall(nullptr, one(oracle::operand(arg)).get(), 1);
      std::string got = r ? oracle::describe(r->value()) : "error " + std::to_string(f->error().number());
      EXPECT_EQ(got, row.fields[2]);
      EXPECT_EQ(f->hasError(), !r);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 394);
}
