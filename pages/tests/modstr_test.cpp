#include "modstr.h"

#include <gtest/gtest.h>

#include "rt/error.h"
#include "rt/testing.h"

namespace {

TEST(StripQuotes, RemovesOnePairAroundTheText) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"\"a.page\"", u"a.page"}, {u"a.page", u"a.page"}, {u"\"\"", u""},
      {u"\"a", u"\"a"},           {u"a\"", u"a\""},       {u"\"\"a\"\"", u"\"a\""},
      {u"", u""},
  };
  for (const auto& [text, stripped] : cases) EXPECT_EQ(halvorn::stripQuotes(text), stripped);
  EXPECT_EQ(rt::testing::errorOf([] { halvorn::stripQuotes(u"\""); }), rt::err::InvalidCall);
}

TEST(Bracket, PutsTheTextInBrackets) { EXPECT_EQ(halvorn::bracket(u"a.page"), u"[a.page]"); }

}  // namespace
