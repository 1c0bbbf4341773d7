#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "rt/collection.h"
#include "rt/testing.h"
#include "rt/text.h"

namespace {

using rt::testing::errorOf;

using rt::KeyedList;
using rt::Variant;

TEST(KeyedList, PositionsAndKeys) {
  KeyedList<int> l;
  EXPECT_EQ(l.add(10, u"Ten"), 1u);
  EXPECT_EQ(l.add(30), 2u);
  EXPECT_EQ(l.add(20, u"twenty", 2), 2u);       // before position 2
  EXPECT_EQ(l.add(40, std::nullopt, std::nullopt, 3), 4u);  // after position 3
  ASSERT_EQ(l.count(), 4u);
  EXPECT_EQ(l.at(1).value, 10);
  EXPECT_EQ(l.at(2).value, 20);
  EXPECT_EQ(l.at(3).value, 30);
  EXPECT_EQ(l.at(4).value, 40);
  EXPECT_EQ(l.at(u"TEN").value, 10);
  EXPECT_EQ(l.find(u"Twenty"), 2u);
  EXPECT_EQ(*l.at(1).key, u"Ten");  // the key keeps its spelling
  EXPECT_EQ(l.remove(u"ten"), 10);
  EXPECT_EQ(l.find(u"twenty"), 1u);
  EXPECT_FALSE(l.exists(u"ten"));
  EXPECT_EQ(l.add(11, u"TEN"), 4u);  // a removed key is free again
}

TEST(KeyedList, Errors) {
  KeyedList<int> l;
  l.add(1, u"a");
  struct Case {
    const char* what;
    std::function<void()> f;
    int number;
  };
  const Case cases[] = {
      {"duplicate key, other case", [&] { l.add(2, u"A"); }, 457},
      {"position 0", [&] { l.at(0); }, 9},
      {"position past the end", [&] { l.at(2); }, 9},
      {"missing key", [&] { l.at(u"zz"); }, 5},
      {"remove missing key", [&] { l.remove(u"zz"); }, 5},
      {"remove past the end", [&] { l.remove(5); }, 9},
      {"before and after", [&] { l.add(3, std::nullopt, 1, 1); }, 5},
      {"before out of range", [&] { l.add(3, std::nullopt, 7); }, 9},
  };
  for (const Case& c : cases) EXPECT_EQ(errorOf(c.f), c.number) << c.what;
  EXPECT_EQ(l.count(), 1u);  // nothing was added or lost by the failures
}

// Many keys added and removed in a shuffled order, checked against a plain
// map of the folded keys: the index must find every key filed, and none
// removed, whatever runs of collisions the removals cut.
TEST(KeyedList, IndexAgreesWithAMapThroughAddsAndRemovals) {
  KeyedList<int> l;
  std::map<std::u16string, int> want;
  uint32_t state = 7;
  auto next = [&] { return state = state * 1103515245u + 12345u; };
  auto keyOf = [](uint32_t n) {
    // Upper and lower case, full-width letters and non-ASCII text, which the
    // index must take as the same key as their folded forms.
    static const std::u16string_view heads[] = {u"K", u"k", u"Ｋ", u"ключ", u"键"};
    return std::u16string(heads[n % 5]) + rt::ascii(std::to_string(n / 5 % 400));
  };
  for (int round = 0; round < 4000; ++round) {
    const std::u16string key = keyOf(next() >> 8);
    const std::u16string folded = rt::foldCase(key);
    if (next() % 3 != 0) {
      const bool had = want.count(folded) != 0;
      EXPECT_EQ(errorOf([&] { l.add(round, key); }), had ? 457 : 0) << rt::toUtf8(key);
      if (!had) want[folded] = round;
    } else if (size_t p = l.find(key)) {
      EXPECT_EQ(l.remove(p), want.at(folded));
      want.erase(folded);
    } else {
      EXPECT_EQ(want.count(folded), 0u) << rt::toUtf8(key);
    }
  }
  ASSERT_EQ(l.count(), want.size());
  for (uint32_t n = 0; n < 2000; ++n) {
    const std::u16string key = keyOf(n);
    auto it = want.find(rt::foldCase(key));
    auto* e = l.lookup(key);
    ASSERT_EQ(e != nullptr, it != want.end()) << rt::toUtf8(key);
    if (e) {
      EXPECT_EQ(e->value, it->second);
    }
  }
}

TEST(Collection, LateBoundAndEnumerated) {
  auto c = rt::make<rt::Collection>();
  Variant args[] = {Variant(u"x"), Variant(u"kx")};
  rt::callByName(c.get(), u"add", rt::Method, args);
  Variant one[] = {Variant(u"y")};
  rt::callByName(c.get(), u"Add", rt::Method, one);
  EXPECT_EQ(rt::getProperty(c.get(), u"Count").longValue(), 2);
  Variant key[] = {Variant(u"KX")};
  EXPECT_EQ(rt::callDefault(c.get(), rt::PropGet | rt::Method, key).text(), u"x");
  Variant pos[] = {Variant(int32_t{2})};
  EXPECT_EQ(rt::callByName(c.get(), u"Item", rt::Method, pos).text(), u"y");

  std::u16string seen;
  auto e = rt::enumeratorOf(c.get());
  for (Variant v; e->next(v);) seen += v.text();
  EXPECT_EQ(seen, u"xy");

  Variant bad[] = {Variant(int32_t{3})};
  EXPECT_EQ(errorOf([&] { rt::callByName(c.get(), u"Item", rt::Method, bad); }), 9);
  EXPECT_EQ(errorOf([&] { rt::callByName(c.get(), u"Remove", rt::Method, key); }), 0);
  EXPECT_EQ(errorOf([&] { rt::callByName(c.get(), u"Remove", rt::Method, key); }), 5);
  EXPECT_EQ(c->count(), 1);
}

}  // namespace
