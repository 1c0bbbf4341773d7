// zubpage as a user runs it: a child page that fails fails the run, said on
// standard error; names are shown so that none reaches the terminal raw,
// and a page whose name is no UTF-8 text runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "child.h"
#include "rt/testing.h"

namespace {

using rt::testing::TempDir;

clitest::Result zubpage(const TempDir& dir, std::vector<std::string> args) {
  args.insert(args.begin(), ZUBPAGE);
  clitest::Result r = clitest::runIn(dir.path(), std::move(args));
  EXPECT_FALSE(r.timedOut);
  return r;
}

std::string firstLine(const std::string& s) { return s.substr(0, s.find('\n')); }

// At run time, not found (the parent's information off), two levels down.
TEST(ZubpageChildren, AChildThatFailsFailsTheRunAndIsReported) {
  TempDir dir{"zubpage-child"};
  clitest::write(dir.at("fails.page"), "child\n<!! x = 1 / 0 !!>\n");
  clitest::write(dir.at("middle.page"),
                 "<!! Set g = curPage.NewPage() : g.OutPage \"g.txt\", \"fails.page\" !!>\n");
  const struct {
    std::string before, child, first;
  } cases[] = {
      {"", "fails.page", "fails.page:2: 除数为零 (11)"},
      {"<!! curPage.InfoOff !!>\n", "none.page",
       "none.page: 没有发现要执行的脚本文件[" + dir.at("none.page") + "]。 (&HFFFFFFFF)"},
      {"", "middle.page", "fails.page:2: 除数为零 (11)"},
  };
  for (const auto& c : cases) {
    clitest::write(dir.at("out.txt"), "old");
    clitest::write(dir.at("p.page"), c.before + "top\n<!! Set c = curPage.NewPage() : c.OutPage \"c.txt\", \"" +
                                         c.child + "\" !!>\n");
    clitest::Result r = zubpage(dir, {"-o", "out.txt", "p.page"});
    EXPECT_EQ(r.status, 1) << c.child;
    EXPECT_EQ(firstLine(r.err), c.first) << r.err;
    EXPECT_EQ(r.err.find(c.first, 1), std::string::npos) << r.err;  // told once
    EXPECT_EQ(clitest::slurp(dir.at("out.txt")), "old") << c.child;
    EXPECT_FALSE(std::filesystem::exists(dir.at("c.txt")) || std::filesystem::exists(dir.at("g.txt")));
  }
}

TEST(ZubpageNames, NamesAreShownEscapedAndAnyBytesName) {
  TempDir dir{"zubpage-names"};
  const std::string hostile = "e\x1B[31m\nx\xE2\x80\x8B.page";
  clitest::write(dir.at(hostile), "a\n<!! x = 1 / 0 !!>\n");
  const struct {
    std::string page, first;
  } cases[] = {
      {hostile, "e\\x1B[31m\\x0Ax\\u200B.page:2: 除数为零 (11)"},
      {"n\x1B]0;t\x07\xE2\x80\xAE.page",
       "n\\x1B]0;t\\x07\\u202E.page: 没有发现要执行的脚本文件[" + dir.at("n\\x1B]0;t\\x07\\u202E.page") +
           "]。 (&HFFFFFFFF)"},
  };
  for (const auto& c : cases) {
    clitest::Result r = zubpage(dir, {c.page});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(firstLine(r.err), c.first) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\x1B'), 0) << r.err;
  }
  // Named from the bytes as given: the page, its compiled form, the output.
  clitest::write(dir.at("p\xFF.page"), "<!!= 6 * 7 !!>\n");
  clitest::Result r = zubpage(dir, {"-o", "o\xFE.txt", "p\xFF.page"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(clitest::slurp(dir.at("o\xFE.txt")), "42\r\n");
  EXPECT_TRUE(std::filesystem::exists(dir.at("p\xFF.page.bin")));
}

}  // namespace
