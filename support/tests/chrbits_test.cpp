#include "chrbits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rt/text.h"
#include "testing.h"

namespace {

using jespin::ChrBits;
using rt::Variant;
using namespace testing_jespin;

// The members among the codes 0 to 255, as one text of their characters.
std::u16string members(const ChrBits& b) {
  std::u16string out;
  for (char16_t c = 1; c <= 255; ++c)
    if (b.isIn(std::u16string(1, c))) out += c;
  return out;
}

TEST(ChrBits, AddTakesCharactersAndRanges) {
  struct Case {
    std::vector<Variant> items;
    std::u16string members;
  };
  const Case cases[] = {
      {{text(u"a-c"), text(u"x"), text(u"hello")}, u"abcx"},
      {{text(u"a~c")}, u"abc"},           // the middle character is not looked at
      {{text(u"z-a")}, u""},              // backwards: nothing
      {{text(u"0-2"), text(u"")}, u"012"},
      {{text(u"ab")}, u""},
      {{num(5)}, u"5"},                   // the character 5, not code 5
      {{}, u""},
      {{text(u"\u00FD-\u4E2D")}, u"\u00FD\u00FE\u00FF"},  // cut at 255
  };
  for (const Case& c : cases) {
    auto b = rt::make<ChrBits>();
    b->add(c.items);
    EXPECT_EQ(members(*b), c.members) << rt::toUtf8(c.members);
  }
}

TEST(ChrBits, OnlyTheFirstCharacterCounts) {
  auto b = rt::make<ChrBits>();
  b->addChar(u"xyz");
  EXPECT_TRUE(b->isIn(u"xyz"));
  EXPECT_TRUE(b->isIn(u"x"));
  EXPECT_FALSE(b->isIn(u"yx"));
}

TEST(ChrBits, CodesOutsideOneTo255AreNeverMembers) {
  auto b = rt::make<ChrBits>();
  for (int32_t c : {0, 256, -1, 70000}) b->addInt(c);
  EXPECT_EQ(members(*b), u"");
  b->addInt(5);
  b->addInt(255);
  EXPECT_EQ(members(*b), u"\u0005\u00FF");
  EXPECT_FALSE(b->isIn(std::u16string(1, u'\0')));
  b->addChar(u"\u4E2D");  // beyond the single-byte range
  EXPECT_FALSE(b->isIn(u"\u4E2D"));
  b->clear();
  EXPECT_EQ(members(*b), u"");
}

TEST(ChrBits, EmptyTextHasNoCode) {
  auto b = rt::make<ChrBits>();
  EXPECT_EQ(errorOf([&] { b->addChar(u""); }), 5);
  EXPECT_EQ(errorOf([&] { b->isIn(u""); }), 5);
}

TEST(ChrBits, LateBoundMembers) {
  auto b = rt::make<ChrBits>();
  call(b.get(), u"Add", rt::Method, {text(u"a-c"), text(u"x")});
  call(b.get(), u"AddInt", rt::Method, {num(48)});
  call(b.get(), u"AddChar", rt::Method, {text(u"Q")});
  EXPECT_TRUE(callValue(b.get(), rt::PropGet, {text(u"b")}).boolean());
  EXPECT_TRUE(call(b.get(), u"isin", rt::Method, {text(u"0")}).boolean());
  EXPECT_FALSE(call(b.get(), u"IsIn", rt::Method, {text(u"q")}).boolean());  // codes, not letters
  call(b.get(), u"Clear", rt::Method);
  EXPECT_FALSE(call(b.get(), u"IsIn", rt::Method, {text(u"Q")}).boolean());
}

}  // namespace
