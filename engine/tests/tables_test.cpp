// Character classes, the keyword table, code texts, error messages and the
// engine's string helpers.
#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/expitem.h"
#include "core/tables.h"
#include "core/strutil.h"
#include "rt/convert.h"
#include "rt/strings.h"
#include "testsupport.h"

using namespace engine;
using enginetest::errorOf;
using enginetest::utf8;

TEST(Tables, CharacterClasses) {
  struct Case {
    char16_t ch;
    uint32_t entry;
  } cases[] = {
      {u'A', 0x0B000000}, {u'z', 0x0B000000}, {u'_', 0x0B000000}, {u'$', 0x0B000000},
      {u'@', 0x0B000000}, {u'7', 0x0A000000}, {u' ', 0},          {u'\t', 0},
      {u'\0', 0},         {u'\r', 0},         {u'\n', 0},         {u'=', 0x02FF0001},
      {u'?', 0xFF000000}, {u'\'', 0xFF000000}, {u'`', 0xFF000000}, {0x7F, 0xFF000000},
      {0x01, 0xFF000000}, {u'"', 0x0C000000}, {u'#', 0x0D000000}, {u'!', 0x02160101},
      {u'%', 0x02340004}, {u'&', 0x02320001}, {u'(', 0x02000001}, {u')', 0x02500001},
      {u'[', 0x02000002}, {u']', 0x02500002}, {u'{', 0x02000003}, {u'}', 0x02500003},
      {u'|', 0x02000000}, {u'~', 0x02000000}, {u':', 0x02000009}, {u';', 0x02000009},
      {u'\\', 0x02350005}, {u'^', 0x02380008}, {u'.', 0x02410001}, {u',', 0x02030004},
  };
  for (const Case& c : cases)
    EXPECT_EQ(static_cast<uint32_t>(chrMap(c.ch)), c.entry) << "char " << int(c.ch);
  EXPECT_LT(chrMap(u"?"), 0);  // a negative Long
  EXPECT_EQ(chrMap(u"Abc"), 0x0B000000);
}

TEST(Tables, CharactersBeyondAsciiRaise1001) {
  for (char16_t ch : {char16_t(0x80), char16_t(0xE9), char16_t(0x4E2D), char16_t(0xD800)}) {
    try {
      chrMap(ch);
      ADD_FAILURE() << "no error for " << int(ch);
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), static_cast<int32_t>(0x800403E9));
      EXPECT_EQ(utf8(e.source()), "Kestrin.modGloble.ChrMap");
      EXPECT_EQ(utf8(e.description()), "非法字符。");
    }
  }
}

TEST(Tables, KeywordLookupIgnoresCase) {
  struct Case {
    const char16_t* text;
    int32_t code;
  } cases[] = {
      {u"and", 0x02150002}, {u"AND", 0x02150002}, {u"And", 0x02150002}, {u"&&", 0x02150002},
      {u"mod", 0x02340004}, {u"||", 0x02140003},  {u"endif", 0x01800300}, {u"ForEach", 0x01000600},
      {u"In", 0x01000601},  {u"--", 0x023901A0},  {u".=", 0x02010007},  {u"End", 0x01800000},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(keywordCode(c.text).has_value()) << utf8(c.text);
    EXPECT_EQ(*keywordCode(c.text), c.code) << utf8(c.text);
  }
  for (const char16_t* miss : {u"", u"x", u"---End---", u"=", u"End If", u"Sub "})
    EXPECT_FALSE(keywordCode(miss).has_value()) << utf8(miss);
}

TEST(Tables, CodeToText) {
  struct Case {
    int32_t code;
    const char* text;
  } cases[] = {
      {0x02200006, "!="},   // shared by two keywords: the later row
      {0x02340004, "%"},    // shared by a character and a keyword: the character
      {0x02160101, "!"},    {0x02150002, "And"}, {0x02140003, "Or"},
      {0x01800100, "Loop"}, {0x02000000, "|"},   {0x02FF0001, "="},
      {0x02020003, ""},     {0x02410002, ""},    {0x02410003, ""},
      {0x01800300, "EndIf"},
  };
  for (const Case& c : cases) EXPECT_EQ(utf8(codeToText(c.code)), c.text) << std::hex << c.code;
}

TEST(Tables, OperatorPriorities) {
  ExpItem times{0x02360006, rt::Variant(u"*")}, plus{0x02330002, rt::Variant(u"+")};
  EXPECT_EQ(times.opRight(), 0x00360000);
  EXPECT_EQ(plus.opRight(), 0x00330000);
  EXPECT_GT(times.opRight(), plus.opRight());
  EXPECT_TRUE((ExpItem{0x01000300, {}}.isKey()));
  EXPECT_FALSE((ExpItem{0x02000000, {}}.isKey()));
}

TEST(Errors, MessagesAndNumbers) {
  struct Case {
    int32_t code;
    const char* text;
  } cases[] = {
      {1, "脚本语法错误"},
      {2, "脚本语法错误：Exit 没有对应的关键字"},
      {7, "脚本语法错误：函数定义语句格式不正确"},
      {8, "脚本语法错误：语句块没有结束"},
      {102, "脚本语法错误：不成对的括号"},
      {103, "脚本语法错误：不成对的引号"},
      {202, "变量定义错误：非法的变量类型"},
      {1002, "一般性文法错误。"},
      {1004, "非法调用，使用了对象不支持属性或方法。"},
      {1005, "缺少必要的参数。"},
  };
  for (const Case& c : cases) EXPECT_EQ(utf8(resText(c.code)), c.text);
  EXPECT_EQ(errNumber(101), -2147221403);
  EXPECT_EQ(errorOf([] { resText(9); }), rt::err::ResourceNotFound);

  ErrRecord rec(u"Probe");
  rec.setCode(ErrKeyword, u"Add");
  EXPECT_EQ(rec.info().number(), static_cast<int32_t>(0x80040065));
  EXPECT_EQ(utf8(rec.info().source()), "Kestrin.Probe.Add");
}

TEST(StringHelpers, ReplaceAndQuote) {
  struct Case {
    const char16_t *s, *find, *with, *want;
  } cases[] = {
      {u"aXbxc", u"x", u"-", u"a-b-c"},
      {u"aaa", u"a", u"aa", u"aaaaaa"},  // the replacement is not searched again
      {u"abc", u"", u"z", u"abc"},       // nothing to find: no endless loop
      {u"", u"a", u"b", u""},
      {u"Hello", u"HELLO", u"", u""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(replaceNoCase(c.s, c.find, c.with), std::u16string(c.want)) << utf8(c.s);
  // A count stops early; the exact mode keeps case.
  EXPECT_EQ(replaceText(u"xXxX", u"x", u"-", 2, true), u"--xX");
  EXPECT_EQ(replaceText(u"xXxX", u"x", u"-", -1, false), u"-X-X");
  EXPECT_EQ(replaceText(u"xXxX", u"x", u"-", 0, true), u"xXxX");
  EXPECT_EQ(replaceText(u"abc", u"", u"-", -1, false), u"abc");
  EXPECT_EQ(addQuotes(u"a b"), u"\"a b\"");
  // The runtime's helpers the keyword loader relies on.
  EXPECT_EQ(rt::padLeft(u"7", 3, u"0"), u"007");
  EXPECT_EQ(rt::padRight(u"x", 3, u"ab"), u"xabab");
  std::u16string rest = u"Loop &H01800100";
  EXPECT_EQ(rt::splitHead(rest, u" "), u"Loop");
  EXPECT_EQ(rest, u"&H01800100");
}
