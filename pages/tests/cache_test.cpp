// The compiled page "<page>.bin": made when missing or older than the page
// (to the nanosecond), run as it is otherwise, and never left half made.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "pagetest.h"

namespace {

namespace fs = std::filesystem;
using pagetest::PageTest;

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

TEST_F(Cache, CompilesOnlyWhenThePageIsNewer) {
  write("p.page", "one\n");
  ASSERT_TRUE(run("out.txt", "p.page"));
  // Run again unchanged: the compiled page stays as it was made.
  const fs::file_time_type made = timeOf("p.page.bin");
  const ino_t id = fileId("p.page.bin");
  ASSERT_TRUE(run("out.txt", "p.page"));
  EXPECT_EQ(timeOf("p.page.bin"), made);
  EXPECT_EQ(fileId("p.page.bin"), id);
  const fs::file_time_type t = timeOf("p.page.bin") - std::chrono::hours(1);
  setTime("p.page.bin", t);
  setTime("p.page", t);  // equal times: no compile
  write("p.page", "two\n");
  setTime("p.page", t);
  ASSERT_TRUE(run("out.txt", "p.page"));
  EXPECT_EQ(read("out.txt"), "one\r\n");
  EXPECT_EQ(timeOf("p.page.bin"), t);
  EXPECT_EQ(fileId("p.page.bin"), id);
  // Newer by one nanosecond: compiled again.
  setTime("p.page", t + std::chrono::nanoseconds(1));
  ASSERT_TRUE(run("out.txt", "p.page"));
  EXPECT_EQ(read("out.txt"), "two\r\n");
  EXPECT_NE(fileId("p.page.bin"), id);
  // Older than its compiled form: run as it is.
  write("p.page", "three\n");
  setTime("p.page", t);
  ASSERT_TRUE(run("out.txt", "p.page"));
  EXPECT_EQ(read("out.txt"), "two\r\n");
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
