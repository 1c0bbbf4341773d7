// zubrun --app on the scripts of scripts/, one test per edition.  Each
// NAME.zub runs (on a copy of the folder: a run leaves caches beside its
// script) as
//
//   zubrun --app --edition E --commands [the lines of NAME.args] NAME.zub
//
// with NAME.in as its input.  What it writes is compared with NAME.out
// (standard output), NAME.cmd (the command lines) and NAME.err (the rest
// of standard error, whose presence means status 1); a file NAME.E.ext is
// taken instead of NAME.ext for edition E where the editions differ.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "apptest.h"
#include "child.h"

namespace apptest {
namespace {

namespace fs = std::filesystem;

// The expected text of `ext` for `name`, edition-specific first; "" when
// there is none.
std::string expected(const fs::path& folder, const std::string& name, int edition,
                     const std::string& ext) {
  for (const std::string& file : {name + "." + std::to_string(edition) + ext, name + ext})
    if (fs::exists(folder / file)) return clitest::slurp(folder / file);
  return {};
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);)
    if (!l.empty()) out.push_back(l);
  return out;
}

class ZubrunApp : public ::testing::TestWithParam<int> {};

TEST_P(ZubrunApp, ScriptsWriteTheirTranscripts) {
  const int edition = GetParam();
  TempDir dir;
  fs::copy(ZUB_APP_SCRIPTS, dir.path(), fs::copy_options::recursive);
  int ran = 0;
  for (const auto& entry : fs::directory_iterator(ZUB_APP_SCRIPTS)) {
    if (entry.path().extension() != ".zub") continue;
    const std::string name = entry.path().stem().string();
    SCOPED_TRACE(name);
    clitest::ChildRun r;
    r.argv = {ZUBRUN, "--app", "--edition", std::to_string(edition), "--commands"};
    for (const std::string& a : lines(expected(dir.path(), name, edition, ".args")))
      r.argv.push_back(a);
    r.argv.push_back(name + ".zub");
    r.folder = dir.path();
    r.input = expected(dir.path(), name, edition, ".in");
    const clitest::Result got = clitest::run(r);
    EXPECT_FALSE(got.timedOut);
    std::string commands, rest;
    for (const std::string& l : lines(got.err))
      (l.rfind("SptCommand ", 0) == 0 ? commands : rest) += l + "\n";
    const std::string err = expected(dir.path(), name, edition, ".err");
    EXPECT_EQ(got.out, expected(dir.path(), name, edition, ".out"));
    EXPECT_EQ(commands, expected(dir.path(), name, edition, ".cmd"));
    EXPECT_EQ(rest, err);
    EXPECT_EQ(got.status, err.empty() ? 0 : 1);
    ++ran;
  }
  EXPECT_GT(ran, 0);
}

APP_TEST_EDITIONS(ZubrunApp);

}  // namespace
}  // namespace apptest
