// The report of a failure shows a run of repeated source lines once, with
// its count.
#include <gtest/gtest.h>

#include "report.h"

namespace {

TEST(ZubrunReport, RepeatedSourceLinesShownOnceWithACount) {
  struct Case {
    const char* what;
    std::u16string source;
    std::string shown;
  } cases[] = {
      {"no repeat", u"A.Run\r\nB.Step\r\nC.Do", "A.Run\n  B.Step\n  C.Do"},
      {"one line three times", u"A.Run\r\nB.Step\r\nB.Step\r\nB.Step\r\nC.Do",
       "A.Run\n  3 times:\n    B.Step\n  C.Do"},
      {"two lines twice, then once more but cut", u"A\r\nB\r\nA\r\nB\r\nA", "2 times:\n    A\n    B\n  A"},
      {"two runs", u"X\nX\nX\nY\nZ\nY\nZ\nY\nZ", "3 times:\n    X\n  3 times:\n    Y\n    Z"},
      {"the group that covers most", u"A\nA\nB\nA\nA\nB", "2 times:\n    A\n    A\n    B"},
      {"a line end at the end", u"A\r\nA\r\nA\r\n", "3 times:\n    A"},
      {"a line twice stays", u"A\nA\nB", "A\n  A\n  B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(zubrun::errorReport(5, c.source, u"d"), "Number: 5\nSource: " + c.shown + "\nDescription: d\n");
  }
}

// A first-edition line context is read for any line number a host can
// count; a number past that is no context, and the description stays whole.
TEST(ZubrunReport, LineContextsAsFarAsLinesAreCounted) {
  struct Case {
    std::u16string number;
    int32_t line;
  } cases[] = {
      {u"7", 7},
      {u"1000000010", 1000000010},
      {u"2147483647", 2147483647},
      {u"2147483648", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::toUtf8(c.number));
    const std::u16string description = u"在执行第" + c.number + u"行脚本时出现下列错误：\r\n除数为零";
    EXPECT_EQ(zubrun::contextLine(description), c.line);
    EXPECT_EQ(zubrun::placeLine({"t.zub", c.line}, 11, description),
              c.line ? "t.zub:" + rt::toUtf8(c.number) + ": 除数为零 (11)\n"
                     : "t.zub: 在执行第" + rt::toUtf8(c.number) + "行脚本时出现下列错误： (11)\n");
  }
}

}  // namespace
