// The finder against the plain definition of a match (equal window, case
// folded or not) on texts made to hold the hard cases: letters that fold
// from outside ASCII, surrogate pairs with case, lone halves, and needles
// that overlap themselves.
#include "rt/finder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "rt/text.h"

namespace {

constexpr size_t npos = rt::TextFinder::npos;

// Every match, by the definition: the window of the text equals the needle.
std::vector<size_t> plainMatches(std::u16string_view s, std::u16string_view what, bool noCase) {
  std::vector<size_t> out;
  if (what.empty()) return out;
  for (size_t i = 0; i + what.size() <= s.size(); ++i) {
    std::u16string_view w = s.substr(i, what.size());
    if (noCase ? rt::equalsNoCase(w, what) : w == what) out.push_back(i);
  }
  return out;
}

// Units chosen among those that fold, pair, or repeat.
std::u16string randomText(std::mt19937& rng, size_t n, bool varied = true) {
  static const std::u16string pool[] = {
      u"a", u"A", u"b", u"B", u"k", u"\u212A" /* Kelvin sign */, u"\uFF41" /* full-width a */,
      u"\u00DF", u"\u1E9E", u"\u03A3", u"\u03C3", u"\u03C2", u"\U00010400", u"\U00010428",
      u"\U0001F600", u"\xD801", u"\xDC00", u"\xDC28", u"\u6587"};
  std::u16string s;
  // Few kinds of unit make texts that repeat, and needles that overlap.
  std::uniform_int_distribution<size_t> pick(0, varied ? std::size(pool) - 1 : 3);
  while (s.size() < n) s += pool[pick(rng)];
  return s;
}

TEST(TextFinder, AgreesWithThePlainDefinition) {
  std::mt19937 rng(7);
  for (int round = 0; round < 6000; ++round) {
    // Short needles are compared place by place, long ones through a table.
    const size_t longest = round % 2 ? 5 : 40;
    const bool varied = round % 3 != 0;
    std::u16string s = randomText(rng, rng() % (longest * 4), varied);
    std::u16string what;
    if (rng() % 2 && s.size() > 1) {
      // A window of the text itself, so that matches exist.
      size_t at = rng() % s.size();
      what = s.substr(at, 1 + rng() % std::min<size_t>(longest, s.size() - at));
    } else {
      what = randomText(rng, 1 + rng() % longest, varied);
    }
    for (bool noCase : {false, true}) {
      std::vector<size_t> all = plainMatches(s, what, noCase);
      rt::TextFinder f(what, noCase);
      size_t from = rng() % (s.size() + 2);
      size_t expected = npos;
      for (size_t at : all)
        if (at >= from) {
          expected = at;
          break;
        }
      ASSERT_EQ(f.find(s, from), expected) << "round " << round << " noCase " << noCase;
      ASSERT_EQ(f.findLast(s), all.empty() ? npos : all.back()) << "round " << round;
    }
  }
}

// The finder takes kana and CJK ideographs as they are, without asking the
// tables.
TEST(TextFinder, NothingFoldsBetweenTheIdeographicSpaceAndCyrillicExtendedB) {
  for (char32_t c = 0x3001; c < 0xA640; ++c) ASSERT_EQ(uint32_t(rt::foldChar(c)), uint32_t(c)) << std::hex << uint32_t(c);
}

TEST(TextFinder, Cases) {
  struct Case {
    std::u16string_view s, what;
    bool noCase;
    size_t first, last;
  } cases[] = {
      {u"aXbxc", u"x", true, 1, 3},
      {u"aXbxc", u"x", false, 3, 3},
      {u"abc", u"", true, npos, npos},
      {u"aaaa", u"aa", true, 0, 2},
      {u"abababc", u"ababc", false, 2, 2},
      {u"x\u212Ay", u"K", true, 1, 1},                      // the Kelvin sign folds to k
      {u"\uFF21\uFF22", u"ab", true, 0, 0},                   // full-width letters
      {u"\U00010400\U00010428", u"\U00010428", true, 0, 2},  // a pair with case
      {u"\U00010400", u"\xDC28", true, npos, npos},          // half of a pair is itself
      {u"\U00010400", u"\xDC00", true, 1, 1},
  };
  for (const Case& c : cases) {
    rt::TextFinder f(c.what, c.noCase);
    EXPECT_EQ(f.find(c.s), c.first) << rt::toUtf8(c.s) << " / " << rt::toUtf8(c.what);
    EXPECT_EQ(f.findLast(c.s), c.last) << rt::toUtf8(c.s) << " / " << rt::toUtf8(c.what);
  }
}

}  // namespace
