// What one read of a file may ask for is bounded, and reading devices or
// FIFOs never hangs: every limit is a recorded or raised error that says
// what it met.
#include "readlimits.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "profile.h"
#include "tempdir.h"
#include "testing.h"
#include "textfile.h"
#include "udlfile.h"
#include "unicodefile.h"

namespace {

using jespin::test::TempDir;
using testing_jespin::errorOf;

// `head`, then zero bytes up to `size` (a sparse file: no disk is used).
void writeSparse(const TempDir& dir, const std::string& name, std::string_view head,
                 uint64_t size) {
  dir.write(name, head);
  std::filesystem::resize_file(dir.at(name), size);
}

bool contains(const std::u16string& s, std::u16string_view part) {
  return s.find(part) != std::u16string::npos;
}

// A profile past the limit gives the defaults, and every read and write
// reports why.
TEST(ReadLimits, ProfileLargerThanTheLimitIsReportedOnEveryUse) {
  TempDir dir;
  writeSparse(dir, "big.ini", "[S]\r\nk=v\r\n", jespin::kMaxProfileBytes + 1);
  auto p = rt::make<jespin::ProFile>();
  ASSERT_TRUE(p->init(dir.name("big.ini")));
  p->setDefValue(u"default");
  EXPECT_EQ(p->getValue(u"S", u"k"), u"default");
  EXPECT_EQ(p->error()->number(), rt::err::OutOfMemory);
  EXPECT_EQ(p->error()->source(), u"Jespin.ProFile.GetValue");
  EXPECT_TRUE(contains(p->error()->description(), u"超过 1048576 字节"));
  EXPECT_EQ(p->getInt(u"S", u"k", 9), 9);
  EXPECT_EQ(p->error()->source(), u"Jespin.ProFile.GetInt");
  EXPECT_EQ(p->firstValue(u"S"), u"");
  EXPECT_EQ(p->error()->source(), u"Jespin.ProFile.FirstValue");
  EXPECT_EQ(p->error()->number(), rt::err::OutOfMemory);

  p->setValue(u"S", u"k", u"new");
  EXPECT_EQ(p->error()->number(), rt::err::OutOfMemory);
  EXPECT_EQ(p->error()->source(), u"Jespin.ProFile.SetValue");
  EXPECT_EQ(std::filesystem::file_size(dir.at("big.ini")), jespin::kMaxProfileBytes + 1);

  // At the limit the file is read.
  writeSparse(dir, "edge.ini", "[S]\r\nk=v\r\n", jespin::kMaxProfileBytes);
  ASSERT_TRUE(p->init(dir.name("edge.ini")));
  EXPECT_EQ(p->getValue(u"S", u"k"), u"v");
}

TEST(ReadLimits, SubstitutionIsCutOffAndRecorded) {
  TempDir dir;
  // Each value names the next one twice: 2^20 substitutions if none were cut.
  std::string ini = "[ProFileDef]\r\nEscEnable=1\r\nEscChar=%,%\r\n[Values]\r\n";
  for (int i = 0; i < 20; ++i)
    ini += "D" + std::to_string(i) + "=%D" + std::to_string(i + 1) + "%%D" + std::to_string(i + 1) +
           "%\r\n";
  ini += "D20=x\r\nPlain=%D19%\r\n";
  for (int i = 0; i < 40; ++i)
    ini += "L" + std::to_string(i) + "=%L" + std::to_string(i + 1) + "%\r\n";
  dir.write("app.ini", ini);
  auto p = rt::make<jespin::ProFile>();
  ASSERT_TRUE(p->init(dir.name("app.ini")));

  EXPECT_EQ(p->value(u"Plain"), u"xx");  // three substitutions: no limit met
  EXPECT_FALSE(p->error()->haveErr());

  std::u16string wide = p->value(u"D0");
  EXPECT_TRUE(contains(wide, u"%D")) << "references past the limit stay as written";
  EXPECT_EQ(p->error()->number(), rt::err::ExpressionTooComplex);
  EXPECT_EQ(p->error()->source(), u"Jespin.ProFile.Value");
  EXPECT_TRUE(contains(p->error()->description(), u"超过 256 次"));

  p->setValue(u"Values", u"Other", u"1");  // a write clears the record
  EXPECT_FALSE(p->error()->haveErr());
  EXPECT_EQ(p->value(u"L0"), u"%L32%");  // L0 to L31 are substituted
  EXPECT_EQ(p->error()->number(), rt::err::ExpressionTooComplex);
  EXPECT_TRUE(contains(p->error()->description(), u"超过 32 层"));
}

TEST(ReadLimits, TextFileLineLongerThanTheLimit) {
  TempDir dir;
  writeSparse(dir, "long.txt", "", jespin::kMaxLineBytes + 3);
  auto t = rt::make<jespin::TextFile>();
  ASSERT_TRUE(t->openRead(dir.name("long.txt")));
  EXPECT_EQ(errorOf([&] { t->line(); }), rt::err::OutOfStringSpace);
  // Reading goes on after what was read.
  EXPECT_EQ(t->line(), std::u16string(3, u'\0'));
  EXPECT_TRUE(t->isEOF());
}

// A line of exactly the limit is read, one byte more is refused, and the byte
// past the limit is what the next read returns, wherever the buffer ends.
TEST(ReadLimits, TextFileLineAtTheLimit) {
  TempDir dir;
  const uint64_t limit = jespin::kMaxLineBytes;
  writeSparse(dir, "edge.txt", "", limit);
  {
    std::ofstream out(dir.at("edge.txt"), std::ios::binary | std::ios::app);
    out << "\r\n";
  }
  std::filesystem::resize_file(dir.at("edge.txt"), 2 * limit + 3);
  {
    std::ofstream out(dir.at("edge.txt"), std::ios::binary | std::ios::app);
    out << "\nend";
  }
  auto t = rt::make<jespin::TextFile>();
  ASSERT_TRUE(t->openRead(dir.name("edge.txt")));
  EXPECT_EQ(t->line().size(), limit);
  EXPECT_EQ(errorOf([&] { t->line(); }), rt::err::OutOfStringSpace);
  EXPECT_EQ(t->line(), std::u16string(1, u'\0'));
  EXPECT_EQ(t->line(), u"end");
  EXPECT_TRUE(t->isEOF());
}

TEST(ReadLimits, UnicodeLineLongerThanTheLimit) {
  TempDir dir;
  writeSparse(dir, "long.txt", "\xFF\xFE", 2 + 2 * (jespin::kMaxLineUnits + 2));
  auto u = rt::make<jespin::UnicodeFile>();
  ASSERT_TRUE(u->openRead(dir.name("long.txt")));
  EXPECT_EQ(errorOf([&] { u->line(); }), rt::err::OutOfStringSpace);
  EXPECT_EQ(u->line(), std::u16string(2, u'\0'));
  EXPECT_TRUE(u->isEOF());

  // A data-link file with such a line finds nothing and says why.
  auto udl = rt::make<jespin::UDLFile>();
  EXPECT_EQ(udl->getConnString(dir.name("long.txt")), u"");
  EXPECT_TRUE(contains(udl->errString(), u"个字符"));
}

// A FIFO with no writer would block a plain open for ever; a device would
// feed a line without end.
TEST(ReadLimits, FifosAndDevicesAreRefusedWithoutWaiting) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.at("fifo").c_str(), 0600), 0);
  const std::u16string fifo = dir.name("fifo");

  auto t = rt::make<jespin::TextFile>();
  EXPECT_FALSE(t->openRead(fifo));
  EXPECT_FALSE(t->openWrit(fifo));  // no reader at the other end
  EXPECT_FALSE(t->openAppend(fifo));
  EXPECT_FALSE(t->openRead(u"/dev/zero"));

  auto u = rt::make<jespin::UnicodeFile>();
  EXPECT_FALSE(u->openRead(fifo));
  auto udl = rt::make<jespin::UDLFile>();
  EXPECT_EQ(udl->getConnString(u"/dev/zero"), u"");
  EXPECT_FALSE(udl->errString().empty());

  auto p = rt::make<jespin::ProFile>();
  ASSERT_TRUE(p->init(fifo));
  EXPECT_EQ(p->getValue(u"S", u"k"), u"");
  EXPECT_EQ(p->getInt(u"S", u"k", 3), 3);
}

}  // namespace
