// The tree builder: priorities, juxtaposition, calls and groups, prefix
// operators, and the errors it records.
#include <gtest/gtest.h>

#include <string>

#include "core/createtree.h"
#include "testsupport.h"

using namespace engine;
using enginetest::shape;
using enginetest::tokens;
using enginetest::utf8;

namespace {

std::string treeOf(std::u16string_view line) { return shape(*mkTree(*tokens(line))); }

}  // namespace

TEST(TreeBuilder, Shapes) {
  struct Case {
    const char16_t* line;
    const char* want;
  } cases[] = {
      {u"a + b * c", "(+ a (* b c))"},
      {u"a * b + c", "(+ (* a b) c)"},
      {u"a - b - c", "(- (- a b) c)"},  // equal priorities build to the left
      {u"a ^ b * c - d", "(- (* (^ a b) c) d)"},
      {u"a.b.c", "(. (. a b) c)"},
      {u"f(x)", "(Fn f (NoOp x -))"},
      {u"f(a, b)", "(Fn f (, a b))"},
      {u"f()", "(Fn f (NoOp - -))"},
      {u"a[1]", "(Get a (NoOp i1 -))"},
      {u"f(a]", "(Get f (NoOp a -))"},
      {u"(a)", "(NoOp (NoOp a -) -)"},
      {u"x + (a)", "(+ x () - (NoOp a -)))"},
      {u"x + f(1)", "(+ x (Fn f (NoOp i1 -)))"},
      {u"a.b(1)", "(Fn (. a b) (NoOp i1 -))"},
      {u"f(g(1))", "(Fn f (Fn g (NoOp i1 -)))"},
      {u"Print x", "(Sub Print x)"},
      {u"Print f(1)", "(Sub Print (Fn f (NoOp i1 -)))"},
      {u"Print a, b", "(Sub Print (, a b))"},
      {u"Print x + 1", "(Sub Print (+ x i1))"},
      {u"a + b c", "(Sub (+ a b) c)"},
      {u"x = 1 : Print x", "(: (= x i1) (Sub Print x))"},
      {u"a := 1 ; b := 2", "(; (:= a i1) (:= b i2))"},
      {u"- a", "(- - a)"},
      {u"a * -b", "(* a (- - b))"},
      {u"2 ^ -1", "(^ i2 (- - i1))"},
      {u"y - -1", "(- y (- - i1))"},
      {u"a * -b + c", "(+ (* a (- - b)) c)"},
      {u"a * +b", "(* a (+ - b))"},
      {u"a And Not b", "(And a (Not - b))"},
      {u"Not Not a", "(Not - (Not - a))"},
      {u"x++ - 1", "(- (++ x -) i1)"},
      {u"", "(NoOp - -)"},
      {u"   ", "(NoOp - -)"},
  };
  for (const Case& c : cases) EXPECT_EQ(treeOf(c.line), c.want) << utf8(c.line);
}

TEST(TreeBuilder, RecordedErrors) {
  struct Case {
    const char16_t* line;
    int32_t code;
  } cases[] = {
      {u"a )", 102},
      {u"a ] + 1", 102},
      {u"If x", 101},
      {u"x Then", 101},
      {u"f(If)", 101},        // inside a group too
      {u"f((a) Then)", 101},  // and in a group inside a group
  };
  for (const Case& c : cases) {
    CreateTree ct;
    int32_t seen = 0;
    rt::Ref<ExpItems> items = tokens(c.line);
    for (const ExpItem& ei : *items) {
      ct.add(ei);
      if (ct.error().haveErr() && !seen) seen = ct.errCode();
    }
    EXPECT_EQ(seen, errNumber(c.code)) << utf8(c.line);
  }
}

TEST(TreeBuilder, DroppedTokenLeavesTheBuilderUsable) {
  CreateTree ct;
  rt::Ref<ExpItems> items = tokens(u"a ) + b");
  for (const ExpItem& ei : *items) ct.add(ei);
  EXPECT_FALSE(ct.error().haveErr());  // each add clears what the last one recorded
  EXPECT_EQ(shape(ct.root()), "(+ a b)");
}

TEST(TreeBuilder, OpenGroupAtTheEnd) {
  CreateTree ct;
  rt::Ref<ExpItems> items = tokens(u"x = f(a");
  for (const ExpItem& ei : *items) ct.add(ei);
  EXPECT_FALSE(ct.error().haveErr());
  ct.finish();
  EXPECT_EQ(ct.errCode(), errNumber(ErrBracket));
}

TEST(TreeBuilder, MkTreeRaisesTheFirstError) {
  struct Case {
    const char16_t* line;
    int32_t number;
  } cases[] = {
      {u"If x", static_cast<int32_t>(0x80040065)},
      {u"x = f(a", static_cast<int32_t>(0x80040066)},
      {u"a ) b", static_cast<int32_t>(0x80040066)},
  };
  for (const Case& c : cases) {
    try {
      mkTree(*tokens(c.line));
      ADD_FAILURE() << utf8(c.line);
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), c.number) << utf8(c.line);
      EXPECT_EQ(utf8(e.source()), "Kestrin.modGloble.MKTree\r\nKestrin.CreateTree.Add");
      EXPECT_EQ(e.description(), resText(c.number - errNumber(0)));
    }
  }
}

TEST(TreeBuilder, HugeTreesAreRefused) {
  std::u16string longSum = u"a";
  for (int i = 0; i < 3000; ++i) longSum += u" + a";
  std::u16string deep(5000, u'(');
  deep += u"a";
  deep += std::u16string(5000, u')');
  std::u16string list = u"f(1";
  for (int i = 0; i < 3000; ++i) list += u", 1";
  list += u")";
  for (const std::u16string& line : {longSum, deep, list})
    EXPECT_EQ(enginetest::errorOf([&] { mkTree(*tokens(line)); }), rt::err::ExpressionTooComplex);
  EXPECT_EQ(enginetest::errorOf([&] { mkTree(*tokens(std::u16string(200, u'(') + u"a" +
                                                 std::u16string(200, u')'))); }),
            0);
}

TEST(ExpTree, EmptyAddAndText) {
  expTree t;
  EXPECT_TRUE(t.isEmpty());
  t.opItem = ExpItem{0x02330002, rt::Variant(u"+")};
  EXPECT_TRUE(t.isEmpty());  // the operator is not looked at
  t.lItem = ExpItem{0, rt::Variant(u"a")};
  t.rItem = ExpItem{0, rt::Variant(u"b")};
  EXPECT_FALSE(t.isEmpty());
  expTree* n = t.add(ExpItem{0x02360006, rt::Variant(u"*")});
  EXPECT_EQ(n, t.rTree.get());
  EXPECT_EQ(shape(t), "(+ a (* b -))");
  n->rItem = ExpItem{0x03010000, rt::Variant(int32_t(2))};
  EXPECT_EQ(utf8(t.toString()), " { a +  { b * 2 }  } ");
  expTree* m = t.add(ExpItem{0x02330003, rt::Variant(u"-")});  // lower than "*": above it
  EXPECT_EQ(shape(t), "(+ a (- (* b i2) -))");
  EXPECT_EQ(m, t.rTree.get());

  expTree bare;
  bare.lItem = ExpItem{0x03000000, rt::Variant(u"s")};
  EXPECT_EQ(utf8(bare.toString()), " { \"s\" (NoOp)  (none) } ");
  // An operator read from a stream has no text; its code names it.
  expTree read;
  read.opItem = ExpItem{0x02360006, rt::Variant()};
  EXPECT_EQ(utf8(read.toString()), " { (none) * (none) } ");
}
