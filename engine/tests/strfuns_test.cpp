// The String library: every function with value and type, the defaults of
// the comparison modes, the argument counts, and the failures trapped.
#include <gtest/gtest.h>

#include <span>

#include "builtins/svstrfuns.h"
#include "libtest.h"
#include "rt/convert.h"
#include "rt/locale.h"
#include "rt/text.h"
#include "testsupport.h"

using namespace engine;
using enginetest::argList;
using enginetest::call;
using enginetest::fun;
using rt::Variant;

namespace {

const std::string kCountError = "1005 Kestrin.SvStrFuns.StrFuns";

std::string trapped(int n) { return std::to_string(n) + " Kestrin.SvStrFuns.ScriptValue_FunCall\r\n"; }

Variant i(int16_t v) { return Variant(v); }

struct Case {
  const char16_t* key;
  rt::Ref<zorbel::ScriptValue> args;
  std::string value, error = "";
};

rt::Ref<zorbel::ScriptValue> one(Variant v) { return SvSingle::of(std::move(v)); }

void run(std::span<const Case> cases) {
  for (const Case& c : cases) {
    auto f = fun<SvStrFuns>(c.key);
    enginetest::Outcome o = call(*f, c.args.get());
    EXPECT_EQ(o.value, c.value) << rt::toUtf8(c.key) << " -> " << c.value;
    EXPECT_EQ(o.error, c.error) << rt::toUtf8(c.key) << " -> " << c.value;
  }
}

// Pins a locale profile and a code page for one test.
class Pinned {
 public:
  Pinned(rt::LocaleId id, rt::CodePage cp) : locale_(rt::currentLocale().id), cp_(rt::codePage()) {
    rt::setLocale(id);
    rt::setCodePage(cp);
  }
  ~Pinned() {
    rt::setLocale(locale_);
    rt::setCodePage(cp_);
  }

 private:
  rt::LocaleId locale_;
  rt::CodePage cp_;
};

}  // namespace

TEST(StrLibrary, CharactersAndCodes) {
  Pinned p(rt::LocaleId::EnglishUS, rt::CodePage::Utf8);
  const Case cases[] = {
      {u"Chr", one(i(65)), "String A"},
      {u"chr", one(Variant(u"&H4E2D")), "String 中"},
      // Under UTF-8 a code is a code point: a negative one names none.
      {u"Chr", one(i(-24679)), "Nothing", trapped(5)},
      {u"Chr", one(i(-1)), "Nothing", trapped(5)},
      {u"Chr", one(Variant(int32_t{0x1F600})), "String 😀"},
      {u"Chr", one(Variant(int32_t{-40000})), "Nothing", trapped(5)},
      {u"Chr", one(Variant(int32_t{0x110000})), "Nothing", trapped(5)},
      {u"Chr", one(Variant(u"x")), "Nothing", trapped(13)},
      {u"Asc", one(Variant(u"ABC")), "Integer 65"},
      {u"ASC", one(Variant(u"中")), "Integer 20013"},
      {u"Asc", one(Variant(u"龙")), "Long 40857"},
      {u"Asc", one(Variant(u"😀")), "Long 128512"},
      {u"Asc", one(Variant(u"")), "Nothing", trapped(5)},
      {u"Len", one(Variant(u"abc")), "Long 3"},
      {u"Len", one(Variant(int32_t{12345})), "Long 5"},  // the number's text
      {u"Len", one(Variant(u"")), "Long 0"},
      {u"Len", nullptr, "Integer 0", kCountError},
  };
  run(cases);
}

TEST(StrLibrary, CodesThroughTheDoubleBytePage) {
  Pinned p(rt::LocaleId::ChinesePRC, rt::CodePage::Cp936);
  const Case cases[] = {
      {u"Asc", one(Variant(u"中")), "Long 54992"},
      {u"Asc", one(Variant(u"A")), "Integer 65"},
      {u"Chr", one(Variant(int32_t{54992})), "String 中"},
      {u"Chr", one(i(-10544)), "String 中"},  // a negative code is its 16-bit pattern
      {u"Chr", one(Variant(int32_t{-40000})), "Nothing", trapped(5)},
      {u"StrConv", argList({Variant(u"中a"), i(128)}), "String \xED\x83\x96" "a"},  // D6 D0 61: two units
      {u"StrConv", argList({Variant(u"\uD0D6a"), i(64)}), "String 中a"},
  };
  run(cases);
}

TEST(StrLibrary, ComparingAndSearching) {
  const Case cases[] = {
      {u"StrComp", argList({Variant(u"ABC"), Variant(u"abc")}), "Integer -1"},  // exact by default
      {u"StrComp", argList({Variant(u"ABC"), Variant(u"abc"), i(1)}), "Integer 0"},
      {u"StrComp", argList({Variant(u"b"), Variant(u"a")}), "Integer 1"},
      {u"StrComp", argList({Variant(u"a"), Variant(u"a"), i(0)}), "Integer 0"},
      {u"StrComp", argList({Variant(u"a"), Variant(u"b"), i(5)}), "Nothing", trapped(5)},
      {u"InStr", argList({Variant(u"ABC"), Variant(u"b")}), "Long 2"},  // case-blind by default
      {u"InStr", argList({i(2), Variant(u"abcabc"), Variant(u"a")}), "Long 4"},
      {u"InStr", argList({Variant(u"abcabc"), Variant(u"C"), i(0)}), "Long 0"},
      {u"InStr", argList({Variant(u"abcabc"), Variant(u"c"), i(0)}), "Long 3"},
      {u"InStr", argList({i(2), Variant(u"abcabc"), Variant(u"A"), i(0)}), "Long 0"},
      {u"InStr", argList({i(2), Variant(u"abcabc"), Variant(u"A"), i(1)}), "Long 4"},
      {u"InStr", argList({Variant(2.6), Variant(u"abcabc"), Variant(u"a")}), "Long 4"},
      // The text "2" first is the text searched, so the third is a mode.
      {u"InStr", argList({Variant(u"2"), Variant(u"abcabc"), Variant(u"a")}), "Nothing", trapped(13)},
      {u"InStr", argList({Variant(u""), Variant(u"a")}), "Long 0"},
      {u"InStr", argList({Variant(u"abc"), Variant(u"")}), "Long 1"},
      {u"InStr", argList({i(3), Variant(u"abc"), Variant(u"")}), "Long 3"},
      {u"InStr", argList({i(5), Variant(u"abc"), Variant(u"a")}), "Long 0"},
      {u"InStr", argList({i(0), Variant(u"abc"), Variant(u"a")}), "Nothing", trapped(5)},
      {u"InStrRev", argList({Variant(u"abcabc"), Variant(u"B")}), "Long 5"},
      {u"InStrRev", argList({Variant(u"abcabc"), Variant(u"B"), i(-1), i(0)}), "Long 0"},
      {u"InStrRev", argList({Variant(u"abcabc"), Variant(u"b"), i(4)}), "Long 2"},
      {u"InStrRev", argList({Variant(u"abcabc"), Variant(u"bc"), i(2)}), "Long 0"},
      {u"InStrRev", argList({Variant(u"abcabc"), Variant(u"bc"), i(3)}), "Long 2"},
      {u"InStrRev", argList({Variant(u"abc"), Variant(u"")}), "Long 3"},
      {u"InStrRev", argList({Variant(u"abc"), Variant(u"a"), i(9)}), "Long 0"},
      {u"InStrRev", argList({Variant(u"abc"), Variant(u"a"), i(0)}), "Nothing", trapped(5)},
  };
  run(cases);
}

TEST(StrLibrary, CuttingAndPadding) {
  const Case cases[] = {
      {u"Mid", argList({Variant(u"abcdef"), i(3)}), "String cdef"},
      {u"Mid", argList({Variant(u"abcdef"), i(3), i(2)}), "String cd"},
      {u"Mid", argList({Variant(u"abc"), i(2), i(100)}), "String bc"},
      {u"Mid", argList({Variant(u"abc"), i(5)}), "String "},
      {u"Mid", argList({Variant(u"abc"), i(0)}), "Nothing", trapped(5)},
      {u"Mid", argList({Variant(u"abc"), i(1), i(-1)}), "Nothing", trapped(5)},
      {u"Left", argList({Variant(u"abc"), i(2)}), "String ab"},
      {u"Left", argList({Variant(u"abc"), i(5)}), "String abc"},
      {u"Left", argList({Variant(u"abc"), i(-1)}), "Nothing", trapped(5)},
      {u"Right", argList({Variant(u"abc"), i(2)}), "String bc"},
      {u"Right", argList({Variant(u"abc"), i(9)}), "String abc"},
      {u"Trim", one(Variant(u"  a b  ")), "String a b"},
      {u"LTrim", one(Variant(u"  a b  ")), "String a b  "},
      {u"RTrim", one(Variant(u"  a b  ")), "String   a b"},
      {u"Trim", one(Variant(u"   ")), "String "},
      {u"RTrim", one(Variant(u"   ")), "String "},
      {u"UCase", one(Variant(u"abcä")), "String ABCÄ"},
      {u"LCase", one(Variant(u"ABCÄ")), "String abcä"},
      {u"FullCharL", argList({Variant(u"7"), i(3), Variant(u"0")}), "String 007"},
      {u"FullCharL", argList({Variant(u"7"), i(3)}), "String   7"},
      {u"FullCharR", argList({Variant(u"7"), i(3), Variant(u"0")}), "String 700"},
      {u"FullCharR", argList({Variant(u"7"), i(3)}), "String 7  "},
      {u"FullCharL", argList({Variant(u"abcd"), i(3)}), "String abcd"},
      {u"FullCharL", argList({Variant(u"7"), i(3), Variant(u"")}), "String 7"},
      {u"FullCharL", argList({Variant(u"7"), i(3), Variant(u"0"), Variant(u"extra")}), "String 007"},
      {u"Space", one(i(3)), "String    "},
      {u"Space", one(i(-1)), "Nothing", trapped(5)},
      {u"String", argList({i(3), Variant(u"ab")}), "String aaa"},
      {u"String", argList({i(3), i(65)}), "String 666"},  // the first character of the text "65"
      {u"String", argList({i(2), Variant(u"😀")}), "String 😀😀"},
      {u"String", argList({i(0), Variant(u"x")}), "String "},
      {u"String", argList({i(2), Variant(u"")}), "Nothing", trapped(5)},
      {u"String", argList({i(-1), Variant(u"a")}), "Nothing", trapped(5)},
      {u"StrReverse", one(Variant(u"abc")), "String cba"},
      {u"StrReverse", one(Variant(u"a😀b")), "String b😀a"},
  };
  run(cases);
}

TEST(StrLibrary, Replacing) {
  const Case cases[] = {
      {u"Replace", argList({Variant(u"aXbx"), Variant(u"x"), Variant(u"-")}), "String a-b-"},
      {u"Replace", argList({Variant(u"aXbx"), Variant(u"x"), Variant(u"-"), i(1), i(-1), i(0)}),
       "String aXb-"},
      {u"Replace", argList({Variant(u"abcabc"), Variant(u"b"), Variant(u"-"), i(3)}), "String ca-c"},
      {u"Replace", argList({Variant(u"abcabc"), Variant(u"b"), Variant(u"-"), i(1), i(1)}), "String a-cabc"},
      {u"Replace", argList({Variant(u"abcabc"), Variant(u"B"), Variant(u""), i(1), i(0)}), "String abcabc"},
      {u"Replace", argList({Variant(u"abc"), Variant(u""), Variant(u"-")}), "String abc"},
      {u"Replace", argList({Variant(u"abc"), Variant(u"b"), Variant(u"-"), i(5)}), "String "},
      {u"Replace", argList({Variant(u"aaa"), Variant(u"a"), Variant(u"aa")}), "String aaaaaa"},
      {u"Replace", argList({Variant(u"abc"), Variant(u"b"), Variant(u"-"), i(0)}), "Nothing", trapped(5)},
      {u"Replace", argList({Variant(u"abc"), Variant(u"b"), Variant(u"-"), i(1), i(-2)}), "Nothing",
       trapped(5)},
      {u"ReplaceAll", argList({Variant(u"aXbx"), Variant(u"x"), Variant(u"-")}), "String a-b-"},
      {u"ReplaceAll", argList({Variant(u"abc"), Variant(u""), Variant(u"-")}), "String abc"},
  };
  run(cases);
}

TEST(StrLibrary, Numbers) {
  const Case cases[] = {
      {u"Hex", one(i(255)), "String FF"},
      {u"Hex", one(i(-1)), "String FFFFFFFF"},
      {u"Hex", one(Variant(u"&H10")), "String 10"},
      {u"Hex", one(Variant(2.5)), "String 2"},  // a half to the even neighbour
      {u"Hex", one(i(0)), "String 0"},
      {u"Oct", one(i(8)), "String 10"},
      {u"Oct", one(i(-1)), "String 37777777777"},
      {u"Hex", one(Variant(u"abc")), "Nothing", trapped(13)},
      {u"Hex", one(Variant(1e10)), "Nothing", trapped(6)},
      {u"Val", one(Variant(u"  1 2 3abc")), "Double 123"},
      {u"Val", one(Variant(u"&HFF")), "Double 255"},
      {u"Val", one(Variant(u"&HFFFF")), "Double -1"},
      {u"Val", one(Variant(u"&H10000")), "Double 65536"},
      {u"Val", one(Variant(u"&O17")), "Double 15"},
      {u"Val", one(Variant(u"1.5e2x")), "Double 150"},
      {u"Val", one(Variant(u"12D2")), "Double 1200"},
      {u"Val", one(Variant(u"1.2.3")), "Double 1.2"},
      {u"Val", one(Variant(u"-.5")), "Double -0.5"},
      {u"Val", one(Variant(u"1e")), "Double 1"},
      {u"Val", one(Variant(u"abc")), "Double 0"},
      {u"Val", one(Variant(u"")), "Double 0"},
      {u"Val", one(Variant(u"1e999")), "Nothing", trapped(6)},
      {u"Val", one(Variant(u"&H123456789")), "Nothing", trapped(6)},
  };
  run(cases);
}

TEST(StrLibrary, Formats) {
  const Case cases[] = {
      {u"Format", argList({Variant(2.5), Variant(u"0")}), "String 3"},
      {u"Format", argList({Variant(3.5), Variant(u"0")}), "String 4"},
      {u"Format", argList({Variant(1234.5), Variant(u"#,##0.00")}), "String 1,234.50"},
      {u"Format", argList({Variant(0.5), Variant(u"0%")}), "String 50%"},
      {u"Format", argList({i(-1), Variant(u"0;(0)")}), "String (1)"},
      {u"Format", argList({Variant(u"3.14159"), Variant(u"0.00")}), "String 3.14"},
      {u"Format", one(Variant(1234.5)), "String 1234.5"},
      {u"Format", argList({Variant(u"abc"), Variant(u">")}), "String ABC"},
      {u"Format", argList({Variant(u"abc"), Variant(u"@@@@@")}), "String   abc"},
      {u"Format", argList({Variant(u"abc"), Variant(u"!@@@@@")}), "String abc  "},
      {u"Format", argList({Variant(true), Variant(u"Yes/No")}), "String Yes"},
      {u"Format", argList({i(0), Variant(u"On/Off")}), "String Off"},
      {u"Format", argList({Variant(1234.5), Variant(u"Standard")}), "String 1,234.50"},
      {u"Format", argList({Variant(rt::Date{36556.5}), Variant(u"dddd yyyy-mm-dd hh:nn")}),
       "String Monday 2000-01-31 12:00"},
      {u"Format", argList({Variant(rt::Date{36556}), Variant(u"ww"), i(1), i(2)}), "String 5"},
      {u"Format", argList({Variant(rt::Date{36556}), Variant(u"w"), i(2)}), "String 1"},
      {u"Format", argList({i(1), Variant(u"0"), i(9)}), "Nothing", trapped(5)},
      {u"FormatCurrency", one(Variant(1234.5)), "String $1,234.50"},
      {u"FormatCurrency", one(i(-5)), "String ($5.00)"},
      {u"FormatCurrency", argList({i(-5), i(2), i(-2), i(0)}), "String -$5.00"},
      {u"FormatNumber", argList({Variant(1234.5), i(1)}), "String 1,234.5"},
      {u"FormatNumber", argList({Variant(0.5), i(2), i(0)}), "String .50"},
      {u"FormatNumber", argList({i(-5), i(0), i(-2), i(-1)}), "String (5)"},
      {u"FormatNumber", argList({Variant(int32_t{1234567}), i(0), i(-2), i(-2), i(0)}), "String 1234567"},
      {u"FormatNumber", one(Variant(u"abc")), "Nothing", trapped(13)},
      {u"FormatPercent", one(Variant(0.5)), "String 50.00%"},
      {u"FormatPercent", argList({Variant(0.5), i(0)}), "String 50%"},
      // Zero has no digits for the scaling to move.
      {u"FormatPercent", one(Variant(0.0)), "String 0.00%"},
      {u"FormatPercent", argList({Variant(0.0), i(0)}), "String 0%"},
      {u"FormatPercent", argList({Variant(0.0), i(2), i(0)}), "String .00%"},
      {u"FormatPercent", argList({Variant(0.001), i(2), i(0)}), "String .10%"},
      {u"FormatDateTime", one(Variant(rt::Date{36556.5})), "String 1/31/2000 12:00:00 PM"},
      {u"FormatDateTime", argList({Variant(rt::Date{36556.5}), i(1)}), "String Monday, January 31, 2000"},
      {u"FormatDateTime", argList({Variant(rt::Date{36556.5}), i(4)}), "String 12:00"},
      {u"FormatDateTime", argList({Variant(u"x"), i(1)}), "Nothing", trapped(13)},
      {u"FormatDateTime", argList({Variant(rt::Date{36556.5}), i(7)}), "Nothing", trapped(5)},
  };
  run(cases);
}

TEST(StrLibrary, FormatsInTheChineseProfile) {
  Pinned p(rt::LocaleId::ChinesePRC, rt::CodePage::Utf8);
  // A date reaches the library as the profile's own text and reads back.
  const Case cases[] = {
      {u"Format", argList({Variant(rt::Date{36556.5}), Variant(u"Long Date")}), "String 2000年1月31日"},
      {u"Format", argList({Variant(rt::Date{36556.5}), Variant(u"dddd mmmm")}), "String 星期一 一月"},
      {u"Format", argList({Variant(rt::Date{36556.5}), Variant(u"w"), i(0)}), "String 1"},
      {u"Format", argList({Variant(1234.5), Variant(u"Currency")}), "String ¥1,234.50"},
      {u"FormatCurrency", one(i(-5)), "String ¥-5.00"},
      {u"FormatDateTime", one(Variant(rt::Date{36556.5})), "String 2000/1/31 12:00:00"},
      {u"FormatDateTime", argList({Variant(rt::Date{36556.5}), i(2)}), "String 2000/1/31"},
  };
  run(cases);
}

TEST(StrLibrary, Conversions) {
  const Case cases[] = {
      {u"StrConv", argList({Variant(u"hello wORLD"), i(3)}), "String Hello World"},
      {u"StrConv", argList({Variant(u"o'neil\tMAC"), i(3)}), "String O'neil\tMac"},
      {u"StrConv", argList({Variant(u"abc"), i(1)}), "String ABC"},
      {u"StrConv", argList({Variant(u"ABC"), i(2)}), "String abc"},
      {u"StrConv", argList({Variant(u"ab c"), i(4)}), "String ａｂ　ｃ"},
      {u"StrConv", argList({Variant(u"ａｂ　ｃ"), i(8)}), "String ab c"},
      {u"StrConv", argList({Variant(u"ab"), i(5)}), "String ＡＢ"},
      {u"StrConv", argList({Variant(u"ｶﾞｷﾞｸ"), i(4)}), "String ガギク"},
      {u"StrConv", argList({Variant(u"ガパヴ"), i(8)}), "String ｶﾞﾊﾟｳﾞ"},
      {u"StrConv", argList({Variant(u"ひらがな"), i(16)}), "String ヒラガナ"},
      {u"StrConv", argList({Variant(u"カタカナ"), i(32)}), "String かたかな"},
      {u"StrConv", argList({Variant(u"abc"), i(128)}), "String \xE6\x89\xA1" "c"},  // "ab" in one unit
      {u"StrConv", argList({Variant(u"\u6261c"), i(64)}), "String abc"},
      {u"StrConv", argList({Variant(u"abc"), i(1), Variant(int32_t{2052})}), "String ABC"},
      {u"StrConv", argList({Variant(u"abc"), i(12)}), "Nothing", trapped(5)},
      {u"StrConv", argList({Variant(u"abc"), i(48)}), "Nothing", trapped(5)},
      {u"StrConv", argList({Variant(u"abc"), i(192)}), "Nothing", trapped(5)},
      {u"StrConv", argList({Variant(u"abc"), i(256)}), "Nothing", trapped(5)},
      {u"StrConv", argList({Variant(u"abc"), Variant(u"x")}), "Nothing", trapped(13)},
  };
  run(cases);
}

TEST(StrLibrary, StrHeadShortensTheVariable) {
  auto args = argList({Variant(u"a,b,c"), Variant(u",")});
  rt::Ref<zorbel::ScriptValue> var = args->subs(Variant(int32_t{1}), zorbel::ModeValue);
  const char* heads[] = {"String a", "String b", "String c", "String "};
  const char16_t* rests[] = {u"b,c", u"c", u"", u""};
  for (int k = 0; k < 4; ++k) {
    enginetest::Outcome o = call(*fun<SvStrFuns>(u"StrHead"), args.get());
    EXPECT_EQ(o.value, heads[k]);
    EXPECT_EQ(o.error, "");
    EXPECT_EQ(rt::toText(var->value()), rests[k]);
  }
  // An empty separator is never found: the whole text, and nothing left.
  auto noSep = argList({Variant(u"a,b"), Variant(u"")});
  EXPECT_EQ(call(*fun<SvStrFuns>(u"StrHead"), noSep.get()).value, "String a,b");
  EXPECT_EQ(rt::toText(noSep->subs(Variant(int32_t{1}), zorbel::ModeValue)->value()), u"");
  // Case-blind separator.
  auto word = argList({Variant(u"oneANDtwo"), Variant(u"and")});
  EXPECT_EQ(call(*fun<SvStrFuns>(u"StrHead"), word.get()).value, "String one");
}

TEST(StrLibrary, TextOfAnyLength) {
  std::u16string big(100000, u'a');
  big += u"Xb";
  const Case cases[] = {
      {u"Len", one(Variant(big)), "Long 100002"},
      {u"InStr", argList({Variant(big), Variant(u"x")}), "Long 100001"},
      {u"InStrRev", argList({Variant(big), Variant(u"A")}), "Long 100000"},
      {u"Mid", argList({Variant(big), Variant(int32_t{100001})}), "String Xb"},
      {u"Right", argList({Variant(big), i(2)}), "String Xb"},
      {u"Len", one(Variant(std::u16string(70000, u'z'))), "Long 70000"},
  };
  run(cases);
  auto f = fun<SvStrFuns>(u"Replace");
  rt::Ref<zorbel::ScriptValue> r = f->funCall(nullptr, argList({Variant(big), Variant(u"a"), Variant(u"bb")}).get(), 1);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->value().text().size(), 200002u);
  rt::Ref<zorbel::ScriptValue> s = fun<SvStrFuns>(u"Space")->funCall(nullptr, one(Variant(int32_t{70000})).get(), 1);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->value().text().size(), 70000u);
}

TEST(StrLibrary, ArgumentCounts) {
  struct Accepts {
    const char16_t* name;
    int min, max;
  } table[] = {
      {u"Chr", 1, 1},          {u"Asc", 1, 1},           {u"Len", 1, 1},           {u"StrComp", 2, 3},
      {u"InStr", 2, 4},        {u"StrHead", 2, 2},       {u"FullCharL", 2, 10},    {u"FullCharR", 2, 10},
      {u"Mid", 2, 3},          {u"Trim", 1, 1},          {u"LTrim", 1, 1},         {u"RTrim", 1, 1},
      {u"UCase", 1, 1},        {u"LCase", 1, 1},         {u"ReplaceAll", 3, 3},    {u"Hex", 1, 1},
      {u"Oct", 1, 1},          {u"Val", 1, 1},           {u"Format", 1, 4},        {u"FormatCurrency", 1, 5},
      {u"FormatDateTime", 1, 2}, {u"FormatNumber", 1, 5}, {u"FormatPercent", 1, 5}, {u"InStrRev", 2, 4},
      {u"Left", 2, 2},         {u"Right", 2, 2},         {u"Replace", 3, 6},       {u"Space", 1, 1},
      {u"StrConv", 2, 3},      {u"String", 2, 2},        {u"StrReverse", 1, 1},
  };
  auto withCount = [](int n) -> rt::Ref<zorbel::ScriptValue> {
    if (n == 0) return nullptr;
    if (n == 1) return one(i(1));
    auto list = argList({});
    for (int k = 0; k < n; ++k) list->addSubs(SvSingle::of(i(1)).get());
    return list;
  };
  for (const Accepts& a : table) {
    std::string want = std::u16string_view(a.name) == u"Len" ? "Integer 0" : "Empty";
    for (int n : {a.min - 1, a.max + 1}) {
      if (n < 0 || n > 10) continue;
      enginetest::Outcome o = call(*fun<SvStrFuns>(a.name), withCount(n).get());
      EXPECT_EQ(o.value, want) << rt::toUtf8(a.name) << " with " << n;
      EXPECT_EQ(o.error, kCountError) << rt::toUtf8(a.name) << " with " << n;
    }
  }
  // Eleven arguments: only ten are seen, so a function of "2 or more" works
  // and one of at most four still counts ten.
  EXPECT_EQ(call(*fun<SvStrFuns>(u"FullCharL"), withCount(11).get()).value, "String 1");
  EXPECT_EQ(call(*fun<SvStrFuns>(u"Format"), withCount(11).get()).error, kCountError);
  // A name the library does not have.
  enginetest::Outcome none = call(*fun<SvStrFuns>(u"Concat"), withCount(2).get());
  EXPECT_EQ(none.value, "Integer 0");
  EXPECT_EQ(none.error, "");
  // A value without a text form fails before any function runs.
  enginetest::Outcome null = call(*fun<SvStrFuns>(u"Len"), one(Variant(rt::Null{})).get());
  EXPECT_EQ(null.value, "Nothing");
  EXPECT_EQ(null.error, trapped(94));
}
