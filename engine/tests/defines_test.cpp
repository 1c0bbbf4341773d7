// Define expansion: replacement, arguments, nested and runaway macros.
#include <gtest/gtest.h>

#include <map>

#include "core/defines.h"
#include "rt/text.h"
#include "testsupport.h"

using namespace engine;
using enginetest::dump;
using enginetest::tokens;
using enginetest::utf8;

namespace {

// Macros by name, each tokenized from its replacement text.
class Macros {
 public:
  Macros(std::initializer_list<std::pair<const char16_t*, const char16_t*>> defs) {
    for (auto [name, text] : defs) byName_[rt::foldCase(name)] = tokens(text);
  }
  DefineLookup lookup() const {
    return [this](std::u16string_view name) -> const ExpItems* {
      auto it = byName_.find(rt::foldCase(name));
      return it == byName_.end() ? nullptr : it->second.get();
    };
  }

 private:
  std::map<std::u16string, rt::Ref<ExpItems>> byName_;
};

}  // namespace

TEST(Defines, Expansion) {
  Macros macros{{u"PI", u"3.14"},
                {u"M", u"_1 * _2"},
                {u"NONE", u""},
                {u"TWICE", u"(_1) + (_1)"},
                {u"SHOW", u"Print"},
                {u"AREA", u"PI * _1 ^ 2"},
                {u"FIRST", u"_1"}};
  struct Case {
    const char16_t* line;
    const char* want;
  } cases[] = {
      {u"x = pi", "x _ {=} _ f3.14"},
      {u"x = M(a, b)", "x _ {=} _ a _ {*} _ b"},
      {u"x = M(a)", "x _ {=} _ a _ {*} _ \"\""},  // a missing argument is an empty string
      // The blank before "(" stays.
      {u"x = M (a, b) + 1", "x _ {=} _ a _ {*} _ b _ _ {+} _ i1"},
      {u"x = NONE + 1", "x _ {=} _ _ {+} _ i1"},  // the name disappears
      {u"x = TWICE(f(1, 2))",
       "x _ {=} _ {(} f {(} i1 {,} _ i2 {)} {)} _ {+} _ {(} f {(} i1 {,} _ i2 {)} {)}"},
      {u"SHOW(x)", "Print {(} x {)}"},  // a macro without placeholders leaves the brackets alone
      {u"y = AREA(r)", "y _ {=} _ f3.14 _ {*} _ r _ {^} _ i2"},
      {u"x = M", "x _ {=} _ _1 _ {*} _ _2"},  // no argument list: the body as it is
      {u"x = FIRST(_2)", "x _ {=} _ _2"},
      {u"\"PI\" & pie", "\"PI\" _ {&} _ pie"},  // only names are replaced
  };
  for (const Case& c : cases) {
    rt::Ref<ExpItems> items = tokens(c.line);
    ASSERT_TRUE(expandDefines(*items, macros.lookup())) << utf8(c.line);
    EXPECT_EQ(dump(*items), c.want) << utf8(c.line);
  }
}

TEST(Defines, ExpansionCopiesTheMacro) {
  Macros macros{{u"V", u"a + 1"}};
  rt::Ref<ExpItems> items = tokens(u"V");
  expandDefines(*items, macros.lookup());
  items->item(1).iType = 0x01000005;  // a statement retypes its tokens
  items->item(1).iValue = u"changed";
  rt::Ref<ExpItems> again = tokens(u"V");
  expandDefines(*again, macros.lookup());
  EXPECT_EQ(dump(*again), "a _ {+} _ i1");
}

TEST(Defines, OneStepAtATime) {
  Macros macros{{u"A", u"B + 1"}, {u"B", u"2"}};
  rt::Ref<ExpItems> items = tokens(u"x = A");
  EXPECT_EQ(expandOnce(*items, macros.lookup()), 5);
  EXPECT_EQ(dump(*items), "x _ {=} _ B _ {+} _ i1");
  EXPECT_EQ(expandOnce(*items, macros.lookup()), 5);
  EXPECT_EQ(expandOnce(*items, macros.lookup()), 0);
  EXPECT_EQ(dump(*items), "x _ {=} _ i2 _ {+} _ i1");
}

TEST(Defines, RunawayMacrosAreCutOff) {
  Macros macros{{u"SELF", u"SELF + 1"}, {u"PING", u"PONG"}, {u"PONG", u"PING"},
                {u"GROW", u"GROW GROW"}};
  for (const char16_t* line : {u"x = SELF", u"PING", u"GROW"}) {
    rt::Ref<ExpItems> items = tokens(line);
    EXPECT_FALSE(expandDefines(*items, macros.lookup())) << utf8(line);
    jespin::IErrInfo& e = items->error().info();
    EXPECT_EQ(e.number(), static_cast<int32_t>(0x800403EB));
    EXPECT_EQ(utf8(e.source()), "Kestrin.ExpItems.ExpandDefines");
    EXPECT_LE(items->count(), kMaxExpandedTokens + 10);
  }
}

TEST(Defines, MissingClosingBracketRaises102) {
  Macros macros{{u"M", u"_1"}};
  rt::Ref<ExpItems> items = tokens(u"x = M(a, b");
  EXPECT_EQ(enginetest::errorOf([&] { expandDefines(*items, macros.lookup()); }),
            static_cast<int32_t>(0x80040066));
}

TEST(Defines, FromAValueList) {
  rt::Ref<jespin::IVValues> defines =
      rt::queryRef<jespin::IVValues>(rt::createInstance(jespin::IVValues::clsid).get());
  defines->add(rt::Variant(tokens(u"42")), u"Answer");
  defines->add(rt::Variant(u"not a token list"), u"Odd");
  rt::Ref<ExpItems> items = tokens(u"x = answer + odd");
  ASSERT_TRUE(expandDefines(*items, definesOf(*defines)));
  EXPECT_EQ(dump(*items), "x _ {=} _ i42 _ {+} _ odd");
}
