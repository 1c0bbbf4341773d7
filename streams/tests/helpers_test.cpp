// The small pieces: padding, doubles as text, character extents and byte characters.
#include <gtest/gtest.h>

#include <cmath>

#include "codepagetext.h"
#include "doubletext.h"
#include "padleft.h"
#include "rt/testing.h"
#include "rt/text.h"
#include "values.h"

namespace {

using namespace nubrel;

TEST(PadLeft, CountsFillsInCalls) {
  EXPECT_EQ(padLeft(u"C", 8, u"0"), u"0000000C");
  EXPECT_EQ(padLeft(u"123456789", 8, u"0"), u"123456789");
  EXPECT_EQ(padLeft(u"7", 3, u"ab"), u"abab7");
  EXPECT_EQ(padLeft(u"", 2, u"0"), u"00");
  EXPECT_EQ(padLeft(u"x", -1, u"0"), u"x");
}

TEST(StoredCount, RefusesValuesPastTheCap) {
  EXPECT_EQ(storedCount(0), 0);
  EXPECT_EQ(storedCount(static_cast<size_t>(kMaxValueCount)), kMaxValueCount);
  EXPECT_EQ(rt::testing::errorOf([] { storedCount(static_cast<size_t>(kMaxValueCount) + 1); }),
            rt::err::OutOfMemory);
}

TEST(DoubleText, WritesShortestRoundTripWithAPoint) {
  struct Case {
    double d;
    const char* text;
  };
  const Case cases[] = {
      {0, "0"},
      {-0.0, "-0"},
      {1.5, "1.5"},
      {0.3, "0.3"},
      {0.1 + 0.2, "0.30000000000000004"},
      {100, "100"},
      {1e14, "100000000000000"},
      {1e15, "1E+15"},
      {1.5e20, "1.5E+20"},
      {0.0001, "0.0001"},
      {1e-5, "1E-05"},
      {-2.5e-300, "-2.5E-300"},
      {123456789012345.67, "123456789012345.67"},
      {1.7976931348623157e308, "1.7976931348623157E+308"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(formatStreamDouble(c.d), c.text);
    double back = 0;
    ASSERT_TRUE(parseStreamDouble(rt::ascii(c.text), back)) << c.text;
    EXPECT_EQ(back, c.d) << c.text;
    EXPECT_EQ(std::signbit(back), std::signbit(c.d)) << c.text;
  }
}

TEST(DoubleText, ReadsOlderTexts) {
  struct Case {
    const char* text;
    double d;
  };
  const Case cases[] = {
      {"1.23456789012346E+15", 1.23456789012346e15},
      {"0.333333333333333", 0.333333333333333},
      {"-1.5E-05", -1.5e-5},
      {" 2.5 ", 2.5},
      {"2,5", 2.5},
      {"+4", 4},
      {"1e3", 1000},
  };
  for (const Case& c : cases) {
    double d = 0;
    ASSERT_TRUE(parseStreamDouble(rt::ascii(c.text), d)) << c.text;
    EXPECT_EQ(d, c.d) << c.text;
  }
  for (const char* bad : {"", " ", "abc", "1.5x", "1,000.5", "+-1", "1e999", "１"}) {
    double d = 0;
    EXPECT_FALSE(parseStreamDouble(rt::fromUtf8(bad), d)) << bad;
  }
}

TEST(CharExtent, FollowsTheDecoder) {
  struct Case {
    rt::CodePage cp;
    std::string bytes;
    size_t len, units;
    bool cut = false;
  };
  const Case cases[] = {
      {rt::CodePage::Utf8, "a", 1, 1},
      {rt::CodePage::Utf8, "\xE4\xB8\xAD", 3, 1},
      {rt::CodePage::Utf8, "\xF0\x9F\x98\x80", 4, 2},
      {rt::CodePage::Utf8, "\xE4\xB8", 1, 1, true},  // cut short by the end
      {rt::CodePage::Utf8, "\xE0\x80\x80", 1, 1},    // overlong
      {rt::CodePage::Utf8, "\xED\xA0\x80", 1, 1},    // a surrogate
      {rt::CodePage::Utf8, "\xC3\x41", 1, 1},        // no continuation
      {rt::CodePage::Cp936, "\xD6\xD0", 2, 1},
      {rt::CodePage::Cp936, "\xD6", 1, 1, true},
      {rt::CodePage::Cp936, "\x80", 1, 1},
      {rt::CodePage::Cp936, "\x81\x30", 1, 1},
  };
  for (const Case& c : cases) {
    rt::setCodePage(c.cp);
    CharExtent e = nextChar(c.bytes);
    EXPECT_EQ(e.bytes, c.len) << c.bytes.size();
    EXPECT_EQ(e.units, c.units);
    EXPECT_EQ(e.cut, c.cut);
    // Decoding those bytes gives as many units.
    EXPECT_EQ(decodeBytes(c.bytes.substr(0, e.bytes)).size(), e.units);
  }
  rt::setCodePage(rt::CodePage::Utf8);
}

TEST(ByteCharacters, EveryByteComesBackUnderEveryCodePage) {
  for (rt::CodePage cp : {rt::CodePage::Utf8, rt::CodePage::Cp936}) {
    rt::setCodePage(cp);
    for (int b = 0; b < 256; ++b) {
      char16_t c = charOfByte(static_cast<uint8_t>(b));
      EXPECT_EQ(byteOfChar(std::u16string(1, c)), b);
    }
  }
  rt::setCodePage(rt::CodePage::Utf8);
}

}  // namespace
