#include "unicodefile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "rt/dispatch.h"
#include "rt/testing.h"
#include "tempdir.h"
#include "udlfile.h"

namespace {

using jespin::UDLFile;
using jespin::UnicodeFile;
using jespin::test::raisedNumber;
using jespin::test::TempDir;
using jespin::test::utf16le;

const std::string kMark = "\xFF\xFE";
// Units in the first buffer read, after the mark.
constexpr size_t kFirstUnits = jespin::FileBuffer::kBytes / 2 - 1;

std::vector<std::u16string> readAll(UnicodeFile& f) {
  std::vector<std::u16string> lines;
  while (!f.isEOF()) lines.push_back(f.line());
  return lines;
}

TEST(UnicodeFile, ReadsLinesAtEveryKindOfLineEnd) {
  struct Case {
    std::u16string units;
    std::vector<std::u16string> lines;
  };
  const Case cases[] = {
      {u"", {}},
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\r\nb\r\n", {u"a", u"b"}},
      {u"a\nb\r\n", {u"a", u"b"}},
      {u"a\rb\r\n", {u"a", u"b"}},
      {u"a\r\r\nb", {u"a", u"", u"b"}},
      {u"\r\n", {u""}},
      {u"中文\r\n\xD83D\xDE00", {u"中文", u"\xD83D\xDE00"}},  // a surrogate pair stays whole
  };
  TempDir dir;
  auto f = rt::make<UnicodeFile>();
  for (const Case& c : cases) {
    dir.write("u.txt", kMark + utf16le(c.units));
    ASSERT_TRUE(f->openRead(dir.name("u.txt")));
    EXPECT_EQ(readAll(*f), c.lines);
    EXPECT_EQ(f->line(), u"");  // at the end: empty, no error
  }
}

// Line ends at, before and after the end of a buffer: a CR as its last unit
// and the LF as the next one's first are one line end.
TEST(UnicodeFile, LineEndsAtTheBufferBoundary) {
  TempDir dir;
  auto f = rt::make<UnicodeFile>();
  for (size_t length : {kFirstUnits - 2, kFirstUnits - 1, kFirstUnits, kFirstUnits + 1,
                        3 * kFirstUnits}) {
    for (const char16_t* end : {u"\r\n", u"\r", u"\n", u"\r\r\n", u""}) {
      for (const char16_t* next : {u"", u"b", u"\r\n"}) {
        const std::u16string units = std::u16string(length, u'a') + end + next;
        dir.write("u.txt", kMark + utf16le(units));
        ASSERT_TRUE(f->openRead(dir.name("u.txt")));
        ASSERT_EQ(readAll(*f), rt::testing::linesOf(std::u16string_view(units)))
            << length << " " << rt::toUtf8(end) << " " << rt::toUtf8(next);
      }
    }
  }
  // A surrogate pair cut by the buffer's end stays whole.
  const std::u16string pair = std::u16string(kFirstUnits - 1, u'a') + u"\U0001F600";
  dir.write("u.txt", kMark + utf16le(pair + u"\r\n" + pair));
  ASSERT_TRUE(f->openRead(dir.name("u.txt")));
  EXPECT_EQ(readAll(*f), (std::vector<std::u16string>{pair, pair}));
}

// The length taken when the file was opened bounds what is read: units added
// later are not read, and units gone count as read.
TEST(UnicodeFile, ReadsTheLengthTakenAtTheOpen) {
  TempDir dir;
  const std::u16string units = std::u16string(3 * kFirstUnits, u'a') + u"\r\nlast";
  dir.write("u.txt", kMark + utf16le(units));
  auto f = rt::make<UnicodeFile>();
  ASSERT_TRUE(f->openRead(dir.name("u.txt")));
  {
    std::ofstream(dir.at("u.txt"), std::ios::binary | std::ios::app) << utf16le(u"more");
  }
  EXPECT_EQ(readAll(*f), (std::vector<std::u16string>{std::u16string(3 * kFirstUnits, u'a'), u"last"}));

  ASSERT_TRUE(f->openRead(dir.name("u.txt")));
  std::filesystem::resize_file(dir.at("u.txt"), 2 + 2 * (2 * kFirstUnits));
  EXPECT_EQ(f->line(), std::u16string(2 * kFirstUnits, u'a'));
  EXPECT_TRUE(f->isEOF());
}

TEST(UnicodeFile, DropsALoneLastByte) {
  TempDir dir;
  dir.write("odd.txt", kMark + utf16le(u"ab\r\ncd") + "x");
  auto f = rt::make<UnicodeFile>();
  ASSERT_TRUE(f->openRead(dir.name("odd.txt")));
  EXPECT_EQ(readAll(*f), (std::vector<std::u16string>{u"ab", u"cd"}));
  dir.write("odd.txt", kMark + "x");
  ASSERT_TRUE(f->openRead(dir.name("odd.txt")));
  EXPECT_TRUE(f->isEOF());
}

TEST(UnicodeFile, RefusesFilesWithoutTheLittleEndianMark) {
  const std::string contents[] = {"\xFE\xFF" + utf16le(u"a"), utf16le(u"abc"), "", "\xFF",
                                  "\xEF\xBB\xBF" "abc"};
  TempDir dir;
  for (const std::string& bytes : contents) {
    dir.write("x.txt", bytes);
    auto f = rt::make<UnicodeFile>();
    EXPECT_FALSE(f->openRead(dir.name("x.txt")));
    EXPECT_TRUE(f->isEOF());
  }
  auto u = rt::make<UDLFile>();
  dir.write("x.txt", utf16le(u"[oledb]\r\nProvider=x"));
  EXPECT_EQ(u->getConnString(dir.name("x.txt")), u"");
  EXPECT_EQ(u->errString(), u"指定文件不是 Unicode 文件。");
}

TEST(UnicodeFile, MissingFileKeepsTheOpenOne) {
  TempDir dir;
  dir.write("u.txt", kMark + utf16le(u"one\r\ntwo"));
  auto f = rt::make<UnicodeFile>();
  ASSERT_TRUE(f->openRead(dir.name("u.txt")));
  EXPECT_EQ(f->line(), u"one");
  EXPECT_FALSE(f->openRead(dir.name("none.txt")));
  EXPECT_FALSE(f->openRead(dir.dir()));  // a folder is no file
  EXPECT_EQ(f->line(), u"two");
}

TEST(UnicodeFile, WritingMembersDoNothing) {
  TempDir dir;
  dir.write("u.txt", kMark + utf16le(u"a"));
  auto f = rt::make<UnicodeFile>();
  EXPECT_FALSE(f->openWrit(dir.name("u.txt")));
  EXPECT_FALSE(f->openAppend(dir.name("new.txt")));
  f->setLine(u"ignored");
  EXPECT_EQ(dir.read("u.txt"), kMark + utf16le(u"a"));
  EXPECT_FALSE(dir.exists("new.txt"));
}

TEST(UnicodeFile, ReadingAfterCloseInTheMiddleFails) {
  TempDir dir;
  dir.write("u.txt", kMark + utf16le(u"a\r\nb"));
  auto f = rt::make<UnicodeFile>();
  EXPECT_EQ(f->line(), u"");  // nothing opened yet
  ASSERT_TRUE(f->openRead(dir.name("u.txt")));
  EXPECT_EQ(f->line(), u"a");
  f->closeFile();
  EXPECT_FALSE(f->isEOF());  // position and length stay
  EXPECT_EQ(raisedNumber([&] { f->line(); }), rt::err::BadFileName);
}

TEST(UnicodeFile, LateBindingAndTheTextFileInterface) {
  TempDir dir;
  dir.write("u.txt", kMark + utf16le(u"x\r\n"));
  auto f = rt::make<UnicodeFile>();
  auto asText = rt::queryRef<jespin::ITextFile>(f.get());
  ASSERT_TRUE(asText);
  EXPECT_TRUE(rt::queryRef<jespin::IUnicodeFile>(f.get()));
  std::vector<rt::Variant> args{rt::Variant(dir.name("u.txt"))};
  EXPECT_TRUE(rt::callByName(f.get(), u"OPENREAD", rt::Method, args).boolean());
  EXPECT_FALSE(rt::callByName(f.get(), u"OpenWrit", rt::Method, args).boolean());
  EXPECT_EQ(rt::callDefault(f.get(), rt::PropGet).text(), u"x");
  EXPECT_TRUE(rt::callByName(f.get(), u"IsEOF", rt::PropGet).boolean());
  EXPECT_EQ(rt::typeNameOfValue(rt::Variant(f)), u"UnicodeFile");
}

// --- Data-link files ---------------------------------------------------------

TEST(UDLFile, FindsTheConnectionString) {
  struct Case {
    std::u16string units;
    std::u16string result;
  };
  const Case cases[] = {
      {u"[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
       u"Provider=SQLOLEDB.1;Data Source=.\r\n",
       u"Provider=SQLOLEDB.1;Data Source=."},
      {u"\r\n[oledb]\r\n\r\n;c1\r\n;c2\r\nDSN=x\r\nDSN=y\r\n", u"DSN=x"},
      {u"junk\n[oledb]\nDSN=lf\n", u"DSN=lf"},
      {u"[oledb] trailing\r\nDSN=z", u"DSN=z"},  // only the first seven characters count
  };
  TempDir dir;
  auto u = rt::make<UDLFile>();
  for (const Case& c : cases) {
    dir.write("a.udl", kMark + utf16le(c.units));
    EXPECT_EQ(u->getConnString(dir.name("a.udl")), c.result);
  }
  EXPECT_EQ(u->errString(), u"");
}

TEST(UDLFile, ReportsWhyItFoundNothing) {
  TempDir dir;
  auto u = rt::make<UDLFile>();
  const std::u16string missing = dir.name("none.udl");
  EXPECT_EQ(u->getConnString(missing), u"");
  EXPECT_EQ(u->errString(), u"指定文件[" + missing + u"]不存在。");

  const std::u16string noSection[] = {u"[OLEDB]\r\nDSN=x\r\n", u"[oledb]\r\n;only a comment\r\n", u""};
  for (const std::u16string& units : noSection) {
    u = rt::make<UDLFile>();
    dir.write("a.udl", kMark + utf16le(units));
    EXPECT_EQ(u->getConnString(dir.name("a.udl")), u"");
    EXPECT_EQ(u->errString(), u"Error File Format.");
  }

  // The reason stays after a later success.
  dir.write("good.udl", kMark + utf16le(u"[oledb]\r\nDSN=x"));
  EXPECT_EQ(u->getConnString(dir.name("good.udl")), u"DSN=x");
  EXPECT_EQ(u->errString(), u"Error File Format.");
  std::vector<rt::Variant> args{rt::Variant(dir.name("good.udl"))};
  EXPECT_EQ(rt::callDefault(u.get(), rt::Method, args).text(), u"DSN=x");
  EXPECT_EQ(rt::callByName(u.get(), u"errstring", rt::PropGet).text(), u"Error File Format.");
}

}  // namespace
