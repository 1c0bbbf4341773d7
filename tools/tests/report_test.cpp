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

}  // namespace
