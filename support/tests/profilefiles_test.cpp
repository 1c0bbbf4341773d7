// Profiles as files: a write never loses or spoils a file (its encoding,
// its permissions, its owner, a size a reader takes), and a file is parsed
// again only when it changed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "profile.h"
#include "readlimits.h"
#include "tempdir.h"

namespace {

using jespin::ProFile;
using jespin::test::TempDir;
using jespin::test::utf16le;

// Used through its interface, as programs use it.
rt::Ref<jespin::IProFile> openProfile(const TempDir& dir, const std::string& name = "app.ini") {
  rt::Ref<jespin::IProFile> p = rt::make<ProFile>();
  EXPECT_TRUE(p->init(dir.name(name)));
  return p;
}

std::string utf16be(std::u16string_view s) {
  std::string out;
  for (char16_t u : s) {
    out.push_back(static_cast<char>(u >> 8));
    out.push_back(static_cast<char>(u & 0xff));
  }
  return out;
}

// UTF-16 files are read and written in UTF-16, in their own byte order,
// line ends found among whole units (U+0D0A is no line end, though its
// bytes are CR and LF).
TEST(ProfileFiles, Utf16FilesStayUtf16) {
  TempDir dir;
  const std::u16string before = u"; 注释\r\n[S]\r\nk=值\r\nodd=\u0D0A\u0A0D\r\n[T]\r\nx=1\r\n";
  const std::u16string after = u"; 注释\r\n[S]\r\nk=值\r\nodd=\u0D0A\u0A0D\r\nk2=新\r\n[T]\r\nx=1\r\n";
  struct Case {
    const char* name;
    std::string (*encode)(std::u16string_view);
    std::string mark;
  } cases[] = {{"le.ini", utf16le, "\xFF\xFE"}, {"be.ini", utf16be, "\xFE\xFF"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.write(c.name, c.mark + c.encode(before));
    auto p = openProfile(dir, c.name);
    EXPECT_EQ(p->getValue(u"S", u"k"), u"值");
    EXPECT_EQ(p->getValue(u"S", u"odd"), u"\u0D0A\u0A0D");
    EXPECT_EQ(p->firstValue(u"T"), u"x=1");
    p->setValue(u"S", u"k2", u"新");
    EXPECT_FALSE(p->error()->haveErr());
    EXPECT_EQ(dir.read(c.name), c.mark + c.encode(after));
  }
  // A UTF-16 file cut inside a unit is not written back.
  const std::string cut = "\xFF\xFE" + utf16le(u"[S]\r\nk=v\r\n") + "x";
  dir.write("cut.ini", cut);
  auto p = openProfile(dir, "cut.ini");
  p->setValue(u"S", u"k", u"w");
  EXPECT_EQ(p->error()->number(), rt::err::PathFileAccess);
  EXPECT_EQ(dir.read("cut.ini"), cut);
}

TEST(ProfileFiles, Utf8FilesWithTheirMarkStayUtf8UnderAnotherCodePage) {
  TempDir dir;
  const rt::CodePage saved = rt::codePage();
  rt::setCodePage(rt::CodePage::Cp936);
  dir.write("app.ini", "\xEF\xBB\xBF[S]\r\nk=\xE5\x80\xBC\r\n");
  auto p = openProfile(dir);
  EXPECT_EQ(p->getValue(u"S", u"k"), u"值");
  p->setValue(u"S", u"n", u"新");
  rt::setCodePage(saved);
  EXPECT_EQ(dir.read("app.ini"), "\xEF\xBB\xBF[S]\r\nk=\xE5\x80\xBC\r\nn=\xE6\x96\xB0\r\n");
}

// The rename that replaces a profile needs only a writable folder: a file
// its owner may not write is refused before it, like a failed write.
TEST(ProfileFiles, AReadOnlyProfileIsNotReplaced) {
  TempDir dir;
  dir.write("app.ini", "[S]\r\nk=old\r\n");
  ASSERT_EQ(::chmod(dir.at("app.ini").c_str(), 0444), 0);
  auto p = openProfile(dir);
  p->setValue(u"S", u"k", u"new");
  EXPECT_EQ(p->error()->number(), rt::err::PathFileAccess);
  EXPECT_EQ(p->error()->source(), u"Jespin.ProFile.SetValue");
  EXPECT_EQ(dir.read("app.ini"), "[S]\r\nk=old\r\n");
  EXPECT_EQ(p->getValue(u"S", u"k"), u"old");
}

TEST(ProfileFiles, ARewriteKeepsModeAndOwner) {
  TempDir dir;
  dir.write("app.ini", "[S]\r\nk=old\r\n");
  ASSERT_EQ(::chmod(dir.at("app.ini").c_str(), 0604), 0);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(dir.at("app.ini").c_str(), 12345, 23456), 0);
  }
  auto p = openProfile(dir);
  p->setValue(u"S", u"k", u"new");
  EXPECT_FALSE(p->error()->haveErr());
  struct stat st {};
  ASSERT_EQ(::stat(dir.at("app.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
  if (!root) GTEST_SKIP() << "only root can give a file to another owner";
  EXPECT_EQ(st.st_uid, 12345u);
  EXPECT_EQ(st.st_gid, 23456u);
}

// A write that would make the file too large for a reader is refused, and
// the file stays as it was.
TEST(ProfileFiles, AWriteNeverGrowsAProfilePastTheReadersLimit) {
  TempDir dir;
  std::string big = "[S]\r\nk=v\r\n";
  const std::string filler = "; " + std::string(96, '-') + "\r\n";
  while (big.size() + filler.size() < jespin::kMaxProfileBytes - 40) big += filler;
  dir.write("app.ini", big);
  auto p = openProfile(dir);
  p->setValue(u"S", u"k", std::u16string(100, u'x'));
  EXPECT_EQ(p->error()->number(), rt::err::OutOfMemory);
  EXPECT_NE(p->error()->description().find(u"1048576 字节，未写入"), std::u16string::npos);
  EXPECT_EQ(dir.read("app.ini"), big);
  EXPECT_EQ(p->getValue(u"S", u"k"), u"v");
  p->setValue(u"S", u"k", u"w");  // one that fits is written
  EXPECT_FALSE(p->error()->haveErr());
  EXPECT_EQ(p->getValue(u"S", u"k"), u"w");
}

// A file is parsed once and read again only when its size or time of
// change is no longer the same, to the nanosecond; one changed a moment ago
// is read every time.
TEST(ProfileFiles, AFileIsReadAgainOnlyWhenItChanged) {
  TempDir dir;
  const std::string file = dir.at("app.ini");
  // Changed an hour ago, at this nanosecond.
  const timespec anHourAgo{::time(nullptr) - 3600, 123456789};
  auto stamp = [&](timespec changed) {
    const timespec times[2] = {changed, changed};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  };
  dir.write("app.ini", "[S]\r\nk=one\r\n");
  auto p = openProfile(dir);
  EXPECT_EQ(p->getValue(u"S", u"k"), u"one");  // changed just now: not kept
  dir.write("app.ini", "[S]\r\nk=two\r\n");
  EXPECT_EQ(p->getValue(u"S", u"k"), u"two");
  stamp(anHourAgo);
  EXPECT_EQ(p->getValue(u"S", u"k"), u"two");  // kept from here on
  // The same size and time: what was read stands.
  dir.write("app.ini", "[S]\r\nk=six\r\n");
  stamp(anHourAgo);
  EXPECT_EQ(p->getValue(u"S", u"k"), u"two");
  // One nanosecond later: read again.
  stamp({anHourAgo.tv_sec, anHourAgo.tv_nsec + 1});
  EXPECT_EQ(p->getValue(u"S", u"k"), u"six");
  // Another size: read again.
  dir.write("app.ini", "[S]\r\nk=three\r\n");
  stamp(anHourAgo);
  EXPECT_EQ(p->getValue(u"S", u"k"), u"three");
}

}  // namespace
