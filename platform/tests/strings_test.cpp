#include "rt/strings.h"

#include <gtest/gtest.h>

#include <string>

#include "rt/error.h"

namespace {

TEST(SplitHead, CutsAtTheFirstSeparator) {
  struct Case {
    std::u16string s, sep, head, rest;
  };
  const Case cases[] = {
      {u"a=1;b=2", u";", u"a=1", u"b=2"},
      {u"b=2", u";", u"b=2", u""},
      {u"abc", u";", u"abc", u""},
      {u"abXcd", u"x", u"ab", u"cd"},            // letters without regard to case
      {u"abxcd", u"X", u"ab", u"cd"},
      {u"ab<<cd<<ef", u"<<", u"ab", u"cd<<ef"},  // several units, first occurrence
      {u";x", u";", u"", u"x"},
      {u"x;", u";", u"x", u""},
      {u"", u";", u"", u""},
      {u"abc", u"", u"abc", u""},                // an empty separator is never found
      {u"a\uFF21b", u"a", u"", u"\uFF21b"},      // full-width A folds like a
      {u"x\uFF21y", u"A", u"x", u"y"},
      {u"\u00C9t\u00E9", u"\u00C9", u"", u"t\u00E9"},
      {u"ab", u"abc", u"ab", u""},               // separator longer than the text
  };
  for (const Case& c : cases) {
    std::u16string s = c.s;
    EXPECT_EQ(rt::splitHead(s, c.sep), c.head);
    EXPECT_EQ(s, c.rest);
  }
}

TEST(SplitHead, SplitsTextOfAnyLength) {
  // A separator far beyond any 16-bit position.
  std::u16string s(70000, u'a');
  s += u";tail";
  EXPECT_EQ(rt::splitHead(s, u";").size(), 70000u);
  EXPECT_EQ(s, u"tail");
}

TEST(SplitHead, ViewLoopEnds) {
  std::u16string_view rest = u"a;b;;c";
  std::u16string pieces;
  int n = 0;
  while (!rest.empty()) {
    pieces += rt::splitHead(rest, u";");
    pieces += u"|";
    ++n;
  }
  EXPECT_EQ(pieces, u"a|b||c|");
  EXPECT_EQ(n, 4);
  rest = u"never split";
  rt::splitHead(rest, u"");
  EXPECT_TRUE(rest.empty());
}

TEST(FindNoCase, FromAPosition) {
  EXPECT_EQ(rt::findNoCase(u"aXbxc", u"x"), 1u);
  EXPECT_EQ(rt::findNoCase(u"aXbxc", u"x", 2), 3u);
  EXPECT_EQ(rt::findNoCase(u"aXbxc", u"y"), std::u16string_view::npos);
  EXPECT_EQ(rt::findNoCase(u"abc", u"", 0), std::u16string_view::npos);
  EXPECT_EQ(rt::findNoCase(u"abc", u"c", 9), std::u16string_view::npos);
}

TEST(Pad, FillsToWidth) {
  struct Case {
    std::u16string s;
    int32_t width;
    std::u16string fill, left, right;
  };
  const Case cases[] = {
      {u"C", 8, u"0", u"0000000C", u"C0000000"},
      {u"123456789", 8, u"0", u"123456789", u"123456789"},  // never cut
      {u"7", 3, u"ab", u"abab7", u"7abab"},                 // copies, not characters
      {u"7", 3, u"0", u"007", u"700"},
      {u"x", 0, u"0", u"x", u"x"},
      {u"x", -5, u"0", u"x", u"x"},
      {u"x", 4, u"", u"x", u"x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rt::padLeft(c.s, c.width, c.fill), c.left);
    EXPECT_EQ(rt::padRight(c.s, c.width, c.fill), c.right);
  }
}

TEST(Pad, RefusesResultsPastTheLongestText) {
  try {
    rt::padLeft(u"x", 0x7FFFFFFF, u"ab");
    FAIL() << "expected error 14";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), 14);
  }
}

// Every way a text grows (joining, appending in place, replacing, padding)
// asks this one rule; sizes near size_t's end must not wrap around.
TEST(TextRoom, RefusesTextPastTheLongest) {
  struct Case {
    size_t have, more;
    bool fits;
  } cases[] = {
      {0, 0, true},
      {0, rt::kLongestText, true},
      {rt::kLongestText, 0, true},
      {rt::kLongestText - 1, 1, true},
      {rt::kLongestText, 1, false},
      {1, rt::kLongestText, false},
      {rt::kLongestText + 5, 0, false},
      {SIZE_MAX, SIZE_MAX, false},
      {3, SIZE_MAX - 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.have << " + " << c.more);
    if (c.fits) {
      EXPECT_NO_THROW(rt::ensureTextRoom(c.have, c.more));
      continue;
    }
    try {
      rt::ensureTextRoom(c.have, c.more);
      ADD_FAILURE() << "expected error 14";
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), 14);
    }
  }
}

}  // namespace
