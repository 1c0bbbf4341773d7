// The compiled page "<page>.bin": made when missing or not made after the
// page last changed (to the nanosecond), run as it is otherwise, and never
// left half made.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "pagetest.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using pagetest::PageTest;

bool sameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

class Cache : public PageTest {
 protected:
  fs::file_time_type timeOf(const std::string& file) { return fs::last_write_time(dir.at(file)); }
  void setTime(const std::string& file, fs::file_time_type t) { fs::last_write_time(dir.at(file), t); }
  // A compiled page made again is a new file: it replaces the old one.
  ino_t fileId(const std::string& file) {
    struct stat st {};
    return ::stat(dir.at(file).c_str(), &st) == 0 ? st.st_ino : 0;
  }
};

// The rule holds for a page and for an include alike: compiled again unless
// the compiled form was written strictly after the file last changed.
TEST_F(Cache, CompiledAgainUnlessMadeAfterTheFileChanged) {
  struct Case {
    const char* what;
    bool rewritten;                  // "two" written over "one"
    std::chrono::nanoseconds stamp;  // then the compiled form's time, from that change
    bool backdated;                  // then the file's own time a day back
    const char* ran;
  };
  const Case cases[] = {
      {"unchanged", false, 0ns, false, "one"},
      {"rewritten after", true, -1ns, false, "two"},
      {"rewritten in the same tick: to the nanosecond the same time", true, 0ns, false, "two"},
      {"rewritten before the compiled form was written", true, 1ns, false, "one"},
      {"put back with an older time, as a copy that kept its times", true, -1h, true, "two"},
  };
  for (const std::string file : {"p.page", "inc.page"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(file + ": " + c.what);
      fs::remove(dir.at("p.page.bin"));
      fs::remove(dir.at("inc.page.bin"));
      dir.write("p.page", file == "p.page" ? "one\n" : "<!--#INCLUDE file=\"inc.page\"-->\n");
      dir.write("inc.page", "one\n");
      ASSERT_TRUE(run("out.txt", "p.page"));
      // Settled: each compiled form made a second after its file.
      for (const std::string f : {"p.page", "inc.page"}) dir.stamp(f + ".bin", dir.changed(f, 1s));
      const ino_t id = fileId(file + ".bin");
      if (c.rewritten) {
        dir.write(file, "two\n");
        dir.stamp(file + ".bin", dir.changed(file, c.stamp));
      }
      if (c.backdated) dir.stamp(file, dir.changed(file, -24h));  // older than its compiled form
      ASSERT_TRUE(run("out.txt", "p.page"));
      EXPECT_EQ(read("out.txt"), c.ran + std::string("\r\n"));
      EXPECT_EQ(fileId(file + ".bin") == id, c.ran == std::string("one"));
    }
  }
}

// Written, run, rewritten at once and run again, as a user's loop does: most
// rewrites land in the clock tick their compiled form was made in, and
// none may run the text before it.
TEST_F(Cache, QuickRewritesNeverRunTheOldText) {
  constexpr int kRounds = 200;
  for (const std::string file : {"p.page", "inc.page"}) {
    SCOPED_TRACE(file);
    dir.write("p.page", file == "p.page" ? "" : "<!--#INCLUDE file=\"inc.page\"-->\n");
    int inOneTick = 0;
    for (int i = 0; i < kRounds; ++i) {
      for (const char* text : {"a", "b"}) {
        const std::string line = text + std::to_string(i);
        dir.write(file, line + "\n");
        if (fs::exists(dir.at(file + ".bin")) &&
            sameTime(dir.status(file).st_mtim, dir.status(file + ".bin").st_mtim))
          ++inOneTick;
        ASSERT_TRUE(run("out.txt", "p.page"));
        ASSERT_EQ(read("out.txt"), line + "\r\n");
      }
    }
    RecordProperty(file + " rewrites in the compiled form's tick", inOneTick);
  }
}

TEST_F(Cache, ACompiledPageRunsWithoutItsPage) {
  write("p.page", "kept\n");
  ASSERT_TRUE(run("out.txt", "p.page"));
  fs::remove(dir.at("p.page"));
  ASSERT_TRUE(run("out2.txt", "p.page"));
  EXPECT_EQ(read("out2.txt"), "kept\r\n");
}

TEST_F(Cache, ACompileErrorNamesThePageLineAndLeavesNoCompiledPage) {
  write("p.page", "1\n2\n3\n4\n5\n6\nbad <!! s = \"open !!>\n8\n");
  // A compiled page of an earlier version goes too: it no longer stands for the page.
  write("p.page.bin", "");
  setTime("p.page.bin", timeOf("p.page") - std::chrono::seconds(5));
  EXPECT_FALSE(run("out.txt", "p.page"));
  jespin::IErrInfo& e = page->error();
  EXPECT_EQ(e.number(), static_cast<int32_t>(0x80040067));
  EXPECT_TRUE(e.description().starts_with(u"在脚本文件[" + name("p.page") + u"]中的第 7 行时出现编译错误。\r\n"));
  EXPECT_TRUE(e.description().ends_with(u"脚本语法错误：不成对的引号"));
  EXPECT_TRUE(e.source().starts_with(u"Halvorn.SPage.CompFile\r\n"));
  EXPECT_FALSE(dir.exists("p.page.bin"));
  EXPECT_FALSE(dir.exists("out.txt"));
  EXPECT_EQ(page->errString(), u"");
}

TEST_F(Cache, ACompiledPageThatCannotBeMadeIsRecorded) {
  write("p.page", "x\n");
  fs::create_directory(dir.at("p.page.bin"));  // in the way of the file
  EXPECT_FALSE(run("out.txt", "p.page"));
  EXPECT_EQ(page->error().number(), -1);
  EXPECT_EQ(page->error().description(), u"不能建立脚本文件[" + name("p.page") + u"]的预编译文件。");
  EXPECT_EQ(page->error().source(), u"Halvorn.SPage.CompFile");
}

TEST_F(Cache, AFolderIsNoPage) {
  fs::create_directory(dir.at("p.page"));
  EXPECT_FALSE(run("out.txt", "p.page"));
  EXPECT_EQ(page->errString(), u"没有发现要执行的脚本文件[" + name("p.page") + u"]。");
}

}  // namespace
