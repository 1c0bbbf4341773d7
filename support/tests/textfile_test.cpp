#include "textfile.h"

#include <gtest/gtest.h>

#include <vector>

#include "rt/dispatch.h"
#include "tempdir.h"

namespace {

using jespin::TextFile;
using jespin::test::raisedNumber;
using jespin::test::TempDir;

std::vector<std::u16string> readAll(TextFile& f) {
  std::vector<std::u16string> lines;
  while (!f.isEOF()) lines.push_back(f.line());
  return lines;
}

TEST(TextFile, ReadsEveryKindOfLineEnd) {
  struct Case {
    const char* bytes;
    std::vector<std::u16string> lines;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {u"a", u"b"}},
      {"a\rb\r", {u"a", u"b"}},
      {"a\nb\n", {u"a", u"b"}},
      {"a\r\nb\rc\nd", {u"a", u"b", u"c", u"d"}},
      {"a\r\n\r\nb", {u"a", u"", u"b"}},
      {"a\n\rb", {u"a", u"", u"b"}},  // LF then CR: two line ends
      {"\r\n", {u""}},
      {"last line without end", {u"last line without end"}},
      {"", {}},
      {"\xE4\xB8\xAD\xE6\x96\x87\r\n", {u"中文"}},
  };
  TempDir dir;
  auto f = rt::make<TextFile>();
  for (const Case& c : cases) {
    dir.write("in.txt", c.bytes);
    ASSERT_TRUE(f->openRead(dir.name("in.txt"))) << c.bytes;
    EXPECT_EQ(readAll(*f), c.lines) << c.bytes;
    EXPECT_EQ(raisedNumber([&] { f->line(); }), rt::err::PastEndOfFile);
    f->closeFile();
  }
}

TEST(TextFile, WritesLinesWithCrLfAndReadsThemBack) {
  TempDir dir;
  auto f = rt::make<TextFile>();
  ASSERT_TRUE(f->openWrit(dir.name("out.txt")));
  for (auto s : {u"one", u"", u"中文"}) f->setLine(s);
  f->closeFile();
  EXPECT_EQ(dir.read("out.txt"), "one\r\n\r\n\xE4\xB8\xAD\xE6\x96\x87\r\n");

  ASSERT_TRUE(f->openRead(dir.name("out.txt")));
  EXPECT_EQ(readAll(*f), (std::vector<std::u16string>{u"one", u"", u"中文"}));
}

TEST(TextFile, WritesAndReadsTheSystemCodePage) {
  jespin::test::CodePageScope gbk(rt::CodePage::Cp936);
  TempDir dir;
  auto f = rt::make<TextFile>();
  ASSERT_TRUE(f->openWrit(dir.name("gbk.txt")));
  f->setLine(u"中文");
  f->closeFile();
  EXPECT_EQ(dir.read("gbk.txt"), "\xD6\xD0\xCE\xC4\r\n");
  ASSERT_TRUE(f->openRead(dir.name("gbk.txt")));
  EXPECT_EQ(f->line(), u"中文");
}

TEST(TextFile, OpenWritEmptiesAndOpenAppendContinues) {
  TempDir dir;
  dir.write("f.txt", "old\r\n");
  auto f = rt::make<TextFile>();
  ASSERT_TRUE(f->openAppend(dir.name("f.txt")));
  f->setLine(u"more");
  ASSERT_TRUE(f->openAppend(dir.name("new.txt")));  // closes f.txt, creates new.txt
  f->setLine(u"first");
  f->closeFile();
  EXPECT_EQ(dir.read("f.txt"), "old\r\nmore\r\n");
  EXPECT_EQ(dir.read("new.txt"), "first\r\n");

  ASSERT_TRUE(f->openWrit(dir.name("f.txt")));
  f->closeFile();
  EXPECT_EQ(dir.read("f.txt"), "");
}

TEST(TextFile, FailedOpensLeaveNothingOpen) {
  TempDir dir;
  dir.write("f.txt", "x\r\n");
  auto f = rt::make<TextFile>();
  ASSERT_TRUE(f->openRead(dir.name("f.txt")));
  const std::u16string bad[] = {dir.name("missing.txt"), dir.dir(), u"", dir.name("no/such/dir.txt"),
                                dir.name("f.txt") + u'\0' + u"x"};
  for (const std::u16string& fn : bad) {
    EXPECT_FALSE(f->openRead(fn));
    EXPECT_EQ(raisedNumber([&] { f->isEOF(); }), rt::err::BadFileName);
  }
  EXPECT_FALSE(f->openWrit(dir.dir()));
  EXPECT_FALSE(f->openAppend(dir.name("no/such/dir.txt")));
  EXPECT_EQ(raisedNumber([&] { f->setLine(u"x"); }), rt::err::BadFileName);
}

TEST(TextFile, MembersCheckTheFileAndItsMode) {
  TempDir dir;
  dir.write("f.txt", "x\r\n");
  auto f = rt::make<TextFile>();
  EXPECT_EQ(raisedNumber([&] { f->line(); }), rt::err::BadFileName);
  EXPECT_EQ(raisedNumber([&] { f->setLine(u"x"); }), rt::err::BadFileName);
  EXPECT_EQ(raisedNumber([&] { f->isEOF(); }), rt::err::BadFileName);
  f->closeFile();  // nothing open: nothing happens

  ASSERT_TRUE(f->openRead(dir.name("f.txt")));
  EXPECT_EQ(raisedNumber([&] { f->setLine(u"x"); }), rt::err::BadFileMode);
  // Opening for writing closes the file being read.
  ASSERT_TRUE(f->openWrit(dir.name("g.txt")));
  EXPECT_EQ(raisedNumber([&] { f->line(); }), rt::err::BadFileMode);
  EXPECT_FALSE(f->isEOF());  // a file being written has no end to reach
  ASSERT_TRUE(f->openAppend(dir.name("g.txt")));
  EXPECT_FALSE(f->isEOF());
}

TEST(TextFile, BackslashesSeparateFolders) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "sub");
  auto f = rt::make<TextFile>();
  ASSERT_TRUE(f->openWrit(dir.dir() + u"\\sub\\f.txt"));
  f->setLine(u"x");
  f->closeFile();
  EXPECT_EQ(dir.read("sub/f.txt"), "x\r\n");
}

TEST(TextFile, ReleasingTheObjectClosesItsFile) {
  TempDir dir;
  {
    auto f = rt::make<TextFile>();
    ASSERT_TRUE(f->openWrit(dir.name("f.txt")));
    f->setLine(u"kept");
  }
  EXPECT_EQ(dir.read("f.txt"), "kept\r\n");
}

TEST(TextFile, LateBinding) {
  TempDir dir;
  auto f = rt::make<TextFile>();
  auto call = [&](std::u16string_view name, int kinds, std::vector<rt::Variant> args = {}) {
    return rt::callByName(f.get(), name, kinds, args);
  };
  EXPECT_TRUE(call(u"openwrit", rt::Method, {rt::Variant(dir.name("f.txt"))}).boolean());
  call(u"Line", rt::PropLet, {rt::Variant(u"hello")});
  call(u"CloseFile", rt::Method);
  EXPECT_TRUE(call(u"OpenRead", rt::Method, {rt::Variant(dir.name("f.txt"))}).boolean());
  EXPECT_FALSE(call(u"IsEOF", rt::PropGet).boolean());
  EXPECT_EQ(rt::callDefault(f.get(), rt::PropGet).text(), u"hello");
  EXPECT_TRUE(call(u"IsEOF", rt::PropGet).boolean());
  EXPECT_FALSE(call(u"OpenAppend", rt::Method, {rt::Variant(u"")}).boolean());
  EXPECT_EQ(raisedNumber([&] { call(u"OpenRead", rt::Method); }), rt::err::WrongArgumentCount);
  EXPECT_EQ(raisedNumber([&] { call(u"Flush", rt::Method); }), rt::err::NotSupported);
}

}  // namespace
