// The tokenizer: states, flushing and merging, literals, and its errors.
#include <gtest/gtest.h>

#include "core/expitems.h"
#include "rt/convert.h"
#include "testsupport.h"

using namespace engine;
using enginetest::dump;
using enginetest::tokens;
using enginetest::utf8;

namespace {

struct Line {
  const char16_t* text;
  const char* want;
};

void expectTokens(std::initializer_list<Line> lines) {
  for (const Line& l : lines) {
    rt::Ref<ExpItems> items = tokens(l.text);
    EXPECT_FALSE(items->error().haveErr()) << utf8(l.text);
    EXPECT_EQ(dump(*items), l.want) << utf8(l.text);
  }
}

}  // namespace

TEST(Tokenizer, BlanksAndOperators) {
  expectTokens({
      {u"a<=b", "a {<=} b"},
      {u"a < = b", "a _ {<} _ {=} _ b"},  // the blank before "=" prevents the merge
      {u"x = 1", "x _ {=} _ i1"},
      {u"   ", ""},
      {u"", ""},
      {u"  x  ", "x _"},  // no blank at the start, one for a run of blanks
      {u"a:=b", "a {:=} b"},
      {u"a||b", "a {||} b"},
      {u"a!=b", "a {!=} b"},
      {u"i++", "i {++}"},
      {u"a+=1", "a {+=} i1"},
      {u"a.=b", "a {.=} b"},
      {u"a|b", "a {|} b"},
      {u"f(x, y)", "f {(} x {,} _ y {)}"},
      {u"x\t=\t1", "x _ {=} _ i1"},
  });
}

TEST(Tokenizer, KeywordsAndMergedWords) {
  expectTokens({
      {u"End If", "{End If}"},
      {u"End   Sub", "{End Sub}"},
      {u"Else If x", "{Else If} x"},
      {u"For Each v In c", "{For Each} v { In} c"},
      {u"x Then", "x { Then}"},  // the blank before the keyword became it
      {u"If x Then", "{If} x { Then}"},
      {u"a And b", "a { And} _ b"},
      {u"a mod b", "a { mod} _ b"},
      {u"Exit For", "{Exit} {For}"},
      {u"x = 1 : End If", "x _ {=} _ i1 _ {:} { End If}"},
      {u"DIM a AS Long", "{DIM} a { AS} Long"},
  });
  rt::Ref<ExpItems> endIf = tokens(u"End If");
  EXPECT_EQ(endIf->item(1).iType, 0x01800300);
  rt::Ref<ExpItems> then = tokens(u"x Then");
  EXPECT_EQ(then->item(2).iType, 0x01000301);
  EXPECT_EQ(utf8(then->item(2).iValue.text()), " Then");
}

TEST(Tokenizer, MergesOnlyOperatorsKeywordsAndBlanks) {
  expectTokens({
      {u"\"+\"+x", "\"+\" {+} x"},  // not "++"
      {u"\"End\"If", "\"End\" {If}"},
      {u"\"<\"=x", "\"<\" {=} x"},
  });
}

TEST(Tokenizer, Literals) {
  expectTokens({
      {u"1.5", "f1.5"},
      {u"1.2.3", "f1.2 {.} i3"},
      {u"&H1F", "i31"},
      {u"&h1f+1", "i31 {+} i1"},
      {u"\"a\"\"b\"", "\"a\" \"b\""},  // no escapes: two strings
      {u"\"abc", "\"abc\""},           // an unclosed string runs to the end
      {u"\"it's // not /* a comment\"", "\"it's // not /* a comment\""},
      {u"x1y2", "x1y2"},
      {u"12 ab", "i12 _ ab"},
      {u"2x", "i2 x"},
      {u"1.5e3", "f1.5 e3"},
      {u"ab?cd", "abcd"},  // a character not allowed is skipped
      {u"#1/2/2000#", "d1/2/2000"},
      {u"#1/2/2000", "d1/2/2000"},
      {u"s = \"中文\"", "s _ {=} _ \"中文\""},
  });
  rt::Ref<ExpItems> lit = tokens(u"&H1F 1.5 \"s\"");
  EXPECT_EQ(lit->item(1).iType, 0x03010000);
  EXPECT_EQ(lit->item(1).iValue.type(), rt::VT::Long);
  EXPECT_EQ(lit->item(3).iType, 0x03020000);
  EXPECT_EQ(lit->item(3).iValue.type(), rt::VT::Double);
  EXPECT_EQ(lit->item(5).iType, 0x03000000);
}

TEST(Tokenizer, ErrorsRecord1002AndKeepEarlierTokens) {
  struct Case {
    const char16_t* text;
    const char* kept;
  } cases[] = {
      {u"x = 中", "x _ {=} _"},
      {u"n = 99999999999", "n _ {=} _"},  // does not fit a Long
      {u"n = 12AB", "n _ {=} _"},         // digits glued to hex letters
      {u"d = #not a date#", "d _ {=} _"},
      {u"&Hz", ""},
  };
  for (const Case& c : cases) {
    rt::Ref<ExpItems> items = rt::make<ExpItems>();
    EXPECT_TRUE(items->init(c.text)) << utf8(c.text);
    jespin::IErrInfo& e = items->error().info();
    EXPECT_EQ(e.number(), static_cast<int32_t>(0x800403EA)) << utf8(c.text);
    EXPECT_EQ(utf8(e.description()), "一般性文法错误。");
    EXPECT_EQ(utf8(e.source()), "Kestrin.ExpItems.Init");
    EXPECT_EQ(dump(*items), c.kept) << utf8(c.text);
  }
  // The record is cleared by the next line.
  rt::Ref<ExpItems> items = rt::make<ExpItems>();
  items->init(u"中");
  EXPECT_FALSE(items->init(u"x"));
  EXPECT_FALSE(items->error().haveErr());
}

TEST(TokenList, PositionsAndText) {
  rt::Ref<ExpItems> items = tokens(u"a+b");
  EXPECT_EQ(items->count(), 3);
  EXPECT_EQ(enginetest::errorOf([&] { items->item(0); }), rt::err::SubscriptOutOfRange);
  EXPECT_EQ(enginetest::errorOf([&] { items->item(4); }), rt::err::SubscriptOutOfRange);
  items->remove(2);
  EXPECT_EQ(dump(*items), "a b");
  items->add(0x02330003);
  EXPECT_EQ(utf8(items->toString()), "ab-");
  EXPECT_EQ(utf8(tokens(u"If a <> \"x\" Then")->toString()), "Ifa|!=|\"x\"Then");

  ItemsColl coll;
  coll.add(u"x = 1");
  coll.addObj(*items);
  items->clear();  // the collection holds a copy
  EXPECT_EQ(coll.count(), 2);
  EXPECT_EQ(dump(coll.item(2)), "a b {-}");
  coll.remove(1);
  EXPECT_EQ(coll.count(), 1);
}
