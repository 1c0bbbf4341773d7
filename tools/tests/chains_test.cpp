// A script may build a chain of lists as long as memory allows, each list
// held by the one before.  Letting go of it, however it happens, ends the
// run normally with the script's output kept, on every road a script is
// run: either edition, the application interface and a script page.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "child.h"
#include "process.h"
#include "rt/testing.h"

namespace {

// Far past the native stack that letting go of them one inside another
// would take (the sanitizer's frames are larger still, its memory dearer).
constexpr int kLong = zubruntest::kSanitized ? 300000 : 1000000;
constexpr int kShort = zubruntest::kSanitized ? 30000 : 200000;

// A chain of `n` lists of class `make` (a creation call), joined by `add`,
// whose head is then let go by `letGo` (empty: at the end of the run).
std::string chain(const std::string& name, const std::string& make, const std::string& add, int n,
                  const std::string& letGo) {
  std::string s = "Set " + name + " = " + make + "\r\nSet cur = " + name + "\r\n";
  s += "For i = 1 To " + std::to_string(n) + "\r\n  Set nxt = " + make + "\r\n  cur." + add +
       " nxt\r\n  Set cur = nxt\r\nNext\r\nSet cur = Nothing : Set nxt = Nothing\r\n";
  s += "OutLine \"" + name + " \" & (i - 1)\r\n";
  if (!letGo.empty()) s += letGo + "\r\nOutLine \"" + name + " let go\"\r\n";
  return s;
}

std::string script() {
  return chain("stack", "CreateObject(\"Jespin.VStack\")", "Push", kShort, "Set stack = Nothing") +
         chain("queue", "CreateObject(\"Jespin.VQueue\")", "PutIn", kShort, "queue.Clear") +
         chain("coll", "New(\"Fennick.SvCollection\")", "Add", kShort, "coll.Remove 1") +
         chain("values", "CreateObject(\"Jespin.VValues\")", "Add", kShort, "values.Remove 1") +
         chain("head", "CreateObject(\"Jespin.VValues\")", "Add", kLong, "");
}

std::string output() {
  std::string out;
  for (const char* name : {"stack", "queue", "coll", "values"})
    out += std::string(name) + " " + std::to_string(kShort) + "\n" + name + " let go\n";
  return out + "head " + std::to_string(kLong) + "\n";
}

struct Road {
  const char* what;
  std::vector<std::string> argv;  // the file to run follows
  bool page;
};
void PrintTo(const Road& road, std::ostream* os) { *os << road.what; }

// A page writes its output as the script made it, CR LF and all, and the
// line end after the script's block.
std::string pageOf(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

class Chains : public ::testing::TestWithParam<Road> {};

TEST_P(Chains, LetGoEndsTheRunNormally) {
  const Road& road = GetParam();
  rt::testing::TempDir dir("zubrun-chains");
  const std::string file = road.page ? "chain.page" : "chain.zub";
  clitest::write(dir.path() / file, road.page ? "<!!\r\n" + script() + "!!>\r\nend\r\n" : script());
  clitest::ChildRun r;
  r.argv = road.argv;
  r.argv.push_back(file);
  r.folder = dir.path();
  r.limit = std::chrono::seconds(300);
  clitest::Result result = clitest::run(r);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, road.page ? pageOf(output() + "\nend\n") : output());
}

INSTANTIATE_TEST_SUITE_P(
    EveryRoad, Chains,
    ::testing::Values(Road{"Edition2", {ZUBRUN, "--edition", "2"}, false},
                      Road{"Edition1", {ZUBRUN, "--edition", "1"}, false},
                      Road{"Application", {ZUBRUN, "--app"}, false}, Road{"Page", {ZUBPAGE}, true}),
    [](const ::testing::TestParamInfo<Road>& info) { return std::string(info.param.what); });

}  // namespace
