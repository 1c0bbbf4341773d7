#include "textfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "rt/dispatch.h"
#include "rt/testing.h"
#include "tempdir.h"

namespace {

using jespin::FileBuffer;
using jespin::TextFile;
using jespin::test::raisedNumber;
using jespin::test::TempDir;

constexpr size_t kBuffer = FileBuffer::kBytes;

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

// Lines whose ends fall at, just before and just after the end of the read
// buffer: a CR as its last byte and the LF as the next one's first are one
// line end.
TEST(TextFile, LineEndsAtTheBufferBoundary) {
  TempDir dir;
  auto f = rt::make<TextFile>();
  for (size_t length : {kBuffer - 2, kBuffer - 1, kBuffer, kBuffer + 1, 2 * kBuffer - 1}) {
    for (const char* end : {"\r\n", "\r", "\n", "\r\r\n", "\n\r", ""}) {
      for (const char* next : {"", "b", "\r\n", "\n"}) {
        const std::string bytes = std::string(length, 'a') + end + next;
        dir.write("in.txt", bytes);
        ASSERT_TRUE(f->openRead(dir.name("in.txt")));
        std::vector<std::u16string> expected;
        for (const std::string& l : rt::testing::linesOf(std::string_view(bytes)))
          expected.push_back(rt::ascii(l));
        ASSERT_EQ(readAll(*f), expected) << length << " " << testing::PrintToString(end) << " "
                                         << testing::PrintToString(next);
        EXPECT_EQ(raisedNumber([&] { f->line(); }), rt::err::PastEndOfFile);
      }
    }
  }
}

TEST(TextFile, CharactersCutByTheBufferStayWhole) {
  TempDir dir;
  auto f = rt::make<TextFile>();
  // "中" is three bytes in UTF-8, two in GBK: cut after each of its bytes.
  for (size_t before : {kBuffer - 3, kBuffer - 2, kBuffer - 1}) {
    dir.write("in.txt", std::string(before, 'a') + "\xE4\xB8\xAD\r\n\xE4\xB8\xAD");
    ASSERT_TRUE(f->openRead(dir.name("in.txt")));
    EXPECT_EQ(readAll(*f), (std::vector<std::u16string>{std::u16string(before, u'a') + u"中", u"中"}));
  }
  jespin::test::CodePageScope gbk(rt::CodePage::Cp936);
  for (size_t before : {kBuffer - 2, kBuffer - 1}) {
    dir.write("in.txt", std::string(before, 'a') + "\xD6\xD0\n");
    ASSERT_TRUE(f->openRead(dir.name("in.txt")));
    EXPECT_EQ(readAll(*f), (std::vector<std::u16string>{std::u16string(before, u'a') + u"中"}));
  }
  // Bad UTF-8 is replaced the same wherever the buffer ends.
  jespin::test::CodePageScope utf8(rt::CodePage::Utf8);
  dir.write("in.txt", std::string(kBuffer - 1, 'a') + "\xE4\xB8" "b\xFF");
  ASSERT_TRUE(f->openRead(dir.name("in.txt")));
  EXPECT_EQ(f->line(), std::u16string(kBuffer - 1, u'a') + u"\uFFFD\uFFFDb\uFFFD");
}

TEST(TextFile, ManyLinesAndEmptyOnes) {
  TempDir dir;
  auto f = rt::make<TextFile>();
  dir.write("in.txt", std::string(3 * kBuffer + 1, '\n'));
  ASSERT_TRUE(f->openRead(dir.name("in.txt")));
  EXPECT_EQ(readAll(*f), std::vector<std::u16string>(3 * kBuffer + 1));
  dir.write("in.txt", std::string(3 * kBuffer, 'z'));  // one line, no end
  ASSERT_TRUE(f->openRead(dir.name("in.txt")));
  EXPECT_EQ(readAll(*f), std::vector<std::u16string>{std::u16string(3 * kBuffer, u'z')});
}

// The file written is exactly the lines and their ends, whatever the lines'
// lengths are beside the buffer's, and reads back as written.
TEST(TextFile, WritesManyLinesByteForByte) {
  for (rt::CodePage cp : {rt::CodePage::Utf8, rt::CodePage::Cp936}) {
    jespin::test::CodePageScope scope(cp);
    TempDir dir;
    std::vector<std::u16string> lines;
    for (int i = 0; i < 100000; ++i) {
      std::u16string line = u"line " + rt::ascii(std::to_string(i));
      if (i % 7 == 0) line += u" 文本";
      if (i % 13 == 0) line.clear();
      if (i % 25000 == 1) line = std::u16string(kBuffer / 3 + i % 5, u'中');  // past the fast path
      if (i % 25000 == 2) line = std::u16string(2 * kBuffer + 1, u'x');       // past the buffer
      lines.push_back(line);
    }
    std::string expected;
    auto f = rt::make<TextFile>();
    ASSERT_TRUE(f->openWrit(dir.name("out.txt")));
    for (const std::u16string& line : lines) {
      f->setLine(line);
      expected += rt::toAnsi(line) + "\r\n";
    }
    f->closeFile();
    ASSERT_EQ(dir.read("out.txt"), expected);
    ASSERT_TRUE(f->openRead(dir.name("out.txt")));
    EXPECT_EQ(readAll(*f), lines);
  }
}

TEST(TextFile, WritingAndReadingTakeTurns) {
  TempDir dir;
  auto f = rt::make<TextFile>();
  ASSERT_TRUE(f->openWrit(dir.name("f.txt")));
  f->setLine(u"one");
  ASSERT_TRUE(f->openRead(dir.name("f.txt")));  // closing writes what waits
  EXPECT_EQ(f->line(), u"one");
  ASSERT_TRUE(f->openAppend(dir.name("f.txt")));
  f->setLine(u"two");
  EXPECT_EQ(raisedNumber([&] { f->line(); }), rt::err::BadFileMode);
  ASSERT_TRUE(f->openRead(dir.name("f.txt")));
  EXPECT_EQ(readAll(*f), (std::vector<std::u16string>{u"one", u"two"}));
  EXPECT_EQ(raisedNumber([&] { f->setLine(u"x"); }), rt::err::BadFileMode);
}

// Lines wait in the buffer; a write that fails is reported by the line that
// filled the buffer, or by CloseFile, never lost in silence.
TEST(TextFile, WriteFailuresAreReported) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  auto f = rt::make<TextFile>();
  ASSERT_TRUE(f->openWrit(u"/dev/full"));
  f->setLine(u"waits in the buffer");
  EXPECT_EQ(raisedNumber([&] { f->closeFile(); }), rt::err::DiskFull);
  EXPECT_EQ(raisedNumber([&] { f->isEOF(); }), rt::err::BadFileName);  // closed all the same

  ASSERT_TRUE(f->openWrit(u"/dev/full"));
  const std::u16string line(1000, u'x');
  int failedAt = 0;
  for (int i = 1; i <= 200 && failedAt == 0; ++i)
    if (raisedNumber([&] { f->setLine(line); }) == rt::err::DiskFull) failedAt = i;
  EXPECT_GT(failedAt, 0);
  EXPECT_LE(failedAt * (line.size() + 2), 2 * kBuffer);  // at most a buffer waited
  EXPECT_EQ(raisedNumber([&] { f->setLine(line); }), rt::err::DiskFull);  // still full
  EXPECT_EQ(raisedNumber([&] { f->closeFile(); }), rt::err::DiskFull);

  // Other failures are device errors: this file takes no writes at its start.
  ASSERT_TRUE(f->openWrit(u"/proc/self/mem"));
  f->setLine(u"x");
  EXPECT_EQ(raisedNumber([&] { f->closeFile(); }), rt::err::DeviceIO);
}

TEST(TextFile, ReadFailuresAreReported) {
  // A plain file whose first bytes cannot be read.
  auto f = rt::make<TextFile>();
  ASSERT_TRUE(f->openRead(u"/proc/self/mem"));
  EXPECT_EQ(raisedNumber([&] { f->isEOF(); }), rt::err::DeviceIO);
  EXPECT_EQ(raisedNumber([&] { f->line(); }), rt::err::DeviceIO);
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
