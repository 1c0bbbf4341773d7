#include "inifile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>

#include "tempdir.h"

namespace {

namespace ini = jespin::ini;
using jespin::test::TempDir;

constexpr size_t kBig = 10240;

const char kSample[] =
    "top=outside any section\r\n"
    "[Main]\r\n"
    "  Name  =  Kestrin  \r\n"
    "quoted=\"  spaced  \"\r\n"
    "single='x'\r\n"
    "mixed=\"x'\r\n"
    "lonely\r\n"
    "; hidden=comment\r\n"
    "dup=first\r\n"
    "dup=second\r\n"
    "[ Other ]\n"
    "Name=other\r"
    "[main]\r\n"
    "late=second section of the same name\r\n";

TEST(IniRead, FindsKeysLikeThePlatform) {
  TempDir dir;
  dir.write("a.ini", kSample);
  const std::string file = dir.at("a.ini");
  struct Case {
    const char16_t* section;
    const char16_t* key;
    std::optional<std::u16string> value;
  };
  const Case cases[] = {
      {u"Main", u"Name", u"Kestrin"},        // trimmed
      {u"MAIN", u"name", u"Kestrin"},        // case-blind
      {u"  Main ", u" Name", u"Kestrin"},    // names trimmed too
      {u"Main", u"quoted", u"  spaced  "},   // quotes go, what they hold stays
      {u"Main", u"single", u"x"},
      {u"Main", u"mixed", u"\"x'"},          // quotes that do not match stay
      {u"Main", u"lonely", u""},             // a key without "="
      {u"Main", u"dup", u"first"},           // the first of two
      {u"Main", u"; hidden", std::nullopt},  // comments hold no keys
      {u"Main", u"late", std::nullopt},      // only the first section of a name counts
      {u"Main", u"top", std::nullopt},       // keys before any section belong to none
      {u"other", u"NAME", u"other"},         // LF and CR line ends
      {u"Missing", u"Name", std::nullopt},
      {u"Main", u"missing", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ini::readString(file, c.section, c.key, kBig), c.value) << rt::toUtf8(c.key);
  EXPECT_EQ(ini::readString(dir.at("none.ini"), u"Main", u"Name", kBig), std::nullopt);
  EXPECT_EQ(ini::readString(dir.at(""), u"Main", u"Name", kBig), std::nullopt);  // a folder
}

TEST(IniRead, ReadsTheLeadingInteger) {
  struct Case {
    const char* value;
    int32_t result;
  };
  const Case cases[] = {
      {"12", 12},  {"-1", -1},   {"+3", 3},   {"7abc", 7},  {"abc", 0},
      {"\"5\"", 5}, {"", 99},     {"- 1", 0},  {"4294967297", 1}, {"2147483648", INT32_MIN},
  };
  TempDir dir;
  for (const Case& c : cases) {
    dir.write("a.ini", std::string("[S]\r\nk=") + c.value + "\r\n");
    EXPECT_EQ(ini::readInt(dir.at("a.ini"), u"s", u"K", 99), c.result) << c.value;
  }
  EXPECT_EQ(ini::readInt(dir.at("a.ini"), u"S", u"missing", -7), -7);
  EXPECT_EQ(ini::readInt(dir.at("none.ini"), u"S", u"k", 42), 42);
}

TEST(IniRead, ListsASection) {
  TempDir dir;
  dir.write("a.ini", kSample);
  EXPECT_EQ(ini::readSection(dir.at("a.ini"), u"main", kBig),
            (std::vector<std::u16string>{u"Name=Kestrin", u"quoted=\"  spaced  \"", u"single='x'",
                                         u"mixed=\"x'", u"lonely", u"dup=first", u"dup=second"}));
  EXPECT_TRUE(ini::readSection(dir.at("a.ini"), u"none", kBig).empty());
  EXPECT_TRUE(ini::readSection(dir.at("none.ini"), u"main", kBig).empty());
}

TEST(IniRead, CutsToTheBufferSize) {
  TempDir dir;
  dir.write("a.ini", "[S]\r\nk=abcdefghij\r\nl=xyz\r\n");
  // The value and its ending zero fit the buffer.
  EXPECT_EQ(ini::readString(dir.at("a.ini"), u"S", u"k", 5), u"abcd");
  // Each line with its zero, and the final zero: "k=abcdefghij\0" takes 13.
  EXPECT_EQ(ini::readSection(dir.at("a.ini"), u"S", 20),
            (std::vector<std::u16string>{u"k=abcdefghij", u"l=xyz"}));
  EXPECT_EQ(ini::readSection(dir.at("a.ini"), u"S", 17),
            (std::vector<std::u16string>{u"k=abcdefghij", u"l="}));
  EXPECT_EQ(ini::readSection(dir.at("a.ini"), u"S", 8), (std::vector<std::u16string>{u"k=abcd"}));
}

TEST(IniRead, NeverCutsInsideACharacter) {
  // Three bytes a character under UTF-8, two under GBK: 7 bytes of room.
  EXPECT_EQ(ini::fitBuffer(u"中中中中", 8), u"中中");
  EXPECT_EQ(ini::fitBuffer(u"a中中中", 8), u"a中中");
  EXPECT_EQ(ini::fitBuffer(u"short", 8), u"short");
  EXPECT_EQ(ini::fitBuffer(u"x", 0), u"");
  jespin::test::CodePageScope gbk(rt::CodePage::Cp936);
  EXPECT_EQ(ini::fitBuffer(u"中中中中", 8), u"中中中");
  EXPECT_EQ(ini::fitBuffer(u"a中中中中", 8), u"a中中中");
}

TEST(IniWrite, CreatesFileSectionAndKey) {
  TempDir dir;
  const std::string file = dir.at("new.ini");
  ASSERT_EQ(ini::writeString(file, u"Main", u"k", u"v"), ini::WriteResult::Ok);
  EXPECT_EQ(dir.read("new.ini"), "[Main]\r\nk=v\r\n");
  ASSERT_EQ(ini::writeString(file, u"Main", u"k2", u"中文"), ini::WriteResult::Ok);
  ASSERT_EQ(ini::writeString(file, u"Next", u"a", u""), ini::WriteResult::Ok);
  EXPECT_EQ(dir.read("new.ini"),
            "[Main]\r\nk=v\r\nk2=\xE4\xB8\xAD\xE6\x96\x87\r\n\r\n[Next]\r\na=\r\n");
  EXPECT_EQ(ini::readString(file, u"main", u"K2", kBig), u"中文");
}

TEST(IniWrite, ReplacesAKeyWhereItStands) {
  TempDir dir;
  dir.write("a.ini",
            "; settings\n"
            "[Main]\n"
            "  First = 1 \n"
            "Second=2\n"
            "\n"
            "[Other]\n"
            "x=\xFF\xFE raw bytes kept\n");
  const std::string file = dir.at("a.ini");
  ASSERT_EQ(ini::writeString(file, u"MAIN", u"first", u"one"), ini::WriteResult::Ok);
  ASSERT_EQ(ini::writeString(file, u"Main", u"Third", u"3"), ini::WriteResult::Ok);
  EXPECT_EQ(dir.read("a.ini"),
            "; settings\r\n"
            "[Main]\r\n"
            "first=one\r\n"
            "Second=2\r\n"
            "Third=3\r\n"  // after the section's last line, before the blank one
            "\r\n"
            "[Other]\r\n"
            "x=\xFF\xFE raw bytes kept\r\n");
}

TEST(IniWrite, RefusesTextThatWouldAddLines) {
  struct Case {
    std::u16string section, key, value;
    ini::WriteResult result;
  };
  const Case cases[] = {
      {u"S", u"k", u"a\r\n[Evil]\r\nx=1", ini::WriteResult::BadValue},
      {u"S", u"k", u"a\nb", ini::WriteResult::BadValue},
      {u"S", u"k", u"a\rb", ini::WriteResult::BadValue},
      {u"S", u"k\r\nx", u"v", ini::WriteResult::BadName},
      {u"S", u"a=b", u"v", ini::WriteResult::BadName},
      {u"S", u"a]", u"v", ini::WriteResult::BadName},
      {u"S", u";k", u"v", ini::WriteResult::BadName},
      {u"S]x", u"k", u"v", ini::WriteResult::BadName},
      {u"S=x", u"k", u"v", ini::WriteResult::BadName},
      {u"S\nx", u"k", u"v", ini::WriteResult::BadName},
  };
  TempDir dir;
  dir.write("a.ini", "[S]\r\nk=old\r\n");
  for (const Case& c : cases) {
    EXPECT_EQ(ini::writeString(dir.at("a.ini"), c.section, c.key, c.value), c.result);
    EXPECT_EQ(dir.read("a.ini"), "[S]\r\nk=old\r\n");
  }
  // Values may hold the characters names may not.
  EXPECT_EQ(ini::writeString(dir.at("a.ini"), u"S", u"k", u"a=b]c;d"), ini::WriteResult::Ok);
  EXPECT_EQ(ini::readString(dir.at("a.ini"), u"S", u"k", kBig), u"a=b]c;d");
}

TEST(IniWrite, FailsWithoutHarm) {
  TempDir dir;
  EXPECT_EQ(ini::writeString(dir.at("no/such/a.ini"), u"S", u"k", u"v"), ini::WriteResult::Failed);
  EXPECT_EQ(ini::writeString(dir.path().string(), u"S", u"k", u"v"), ini::WriteResult::Failed);
  EXPECT_EQ(ini::writeString("", u"S", u"k", u"v"), ini::WriteResult::Failed);
}

TEST(IniWrite, ReplacesTheFileAsOneStep) {
  TempDir dir;
  dir.write("real.ini", "\xEF\xBB\xBF[S]\r\nk=1\r\n");
  ::chmod(dir.at("real.ini").c_str(), 0640);
  std::filesystem::create_symlink(dir.at("real.ini"), dir.at("link.ini"));
  ASSERT_EQ(ini::writeString(dir.at("link.ini"), u"S", u"k", u"2"), ini::WriteResult::Ok);
  // The link still points at the file, which kept its mark and permissions.
  EXPECT_TRUE(std::filesystem::is_symlink(dir.at("link.ini")));
  EXPECT_EQ(dir.read("real.ini"), "\xEF\xBB\xBF[S]\r\nk=2\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(dir.at("real.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // No temporary file is left behind.
  int files = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 2);
}

}  // namespace
