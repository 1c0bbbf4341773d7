// Text files that are not plain UTF-8 text, saves that must ask or write
// in place, and a profile the program cannot read or write.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <string>

#include "marlox/textform.h"
#include "rig.h"
#include "rt/testing.h"

namespace {

using marloxtest::Rig;

constexpr char16_t kShowErrIntro[] = u"程序运行时出现以下错误，如一直不能解决，请与开发者联系：\r\n\r\n";
constexpr char16_t kNotExact[] = u"此文件含有不能作为文本读出的内容（如二进制数据），保存时会先询问。";
constexpr char16_t kChangesBytes[] =
    u"此文件含有不能作为文本读出的内容（如二进制数据），保存会改变其中您没有编辑过的字节。是否仍然保存？";
constexpr char16_t kLosesChars[] = u"文本中有此文件的编码不能保存的字符，保存后它们将变为“?”。是否仍然保存？";

// What posix_fallocate answers while it is not 0: a file system that cannot
// reserve room.
int g_fallocateAnswer = 0;

}  // namespace

extern "C" int posix_fallocate(int fd, off_t offset, off_t len) {
  using Real = int (*)(int, off_t, off_t);
  static const auto real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "posix_fallocate"));
  return g_fallocateAnswer ? g_fallocateAnswer : real(fd, offset, len);
}

namespace {

// The box of a save of `rel` in the program folder that failed for `error`
// where its room was reserved.
std::u16string saveFailed(Rig& rig, const std::string& rel, int error) {
  const std::u16string file = rig.home.name(rel);
  return kShowErrIntro + (u"文件[" + file + u"]不能被保存：\r\n不能在文件[" + file + u"]中为新内容预留空间：" +
                          rt::fromUtf8(std::strerror(error)));
}

ino_t inodeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// Runs `body` in a child process whose kernel allocates nothing ahead
// (fallocate answers EOPNOTSUPP, as on ramfs, NFSv3 and many FUSE file
// systems), so that the C library reserves room its own way.  1 when
// `body` gave true, 0 when false, -1 when no such process can be made here.
int withoutFallocate(const std::function<bool()>& body) {
  const int status = rt::testing::inChild([&] {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fallocate, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
      return 2;
    return body() ? 1 : 0;
  });
  // A body that threw (125) gave no true; a signal or no child, no answer.
  if (status < 0 || status == 2 || status >= 128) return -1;
  return status == 1 ? 1 : 0;
}

// Saves the text to `rel`, its folder made read-only, as a user the folder
// refuses (root writes every folder: a child process that is not root
// saves then).  True when it was saved without a box, or, when `box` is
// given, refused with that box.
bool saveInReadOnlyFolder(Rig& rig, const std::string& rel, const std::u16string& box = {}) {
  const std::string file = rig.home.path() + "/" + rel, dir = file.substr(0, file.rfind('/'));
  auto save = [&] {
    if (!box.empty()) rig.ui->expectMessageBox(box, rt::mb::Ok);
    const size_t asked = rig.ui->asked().size();
    return rig.doc().saveTextFile(rig.home.name(rel)) == box.empty() &&
           rig.ui->asked().size() == asked + (box.empty() ? 0 : 1);
  };
  if (::chmod(dir.c_str(), 0555) != 0) return false;
  if (::geteuid() != 0) return save();
  const uid_t nobody = 65534;
  if (::chmod(rig.home.path().c_str(), 0755) != 0 || ::chown(file.c_str(), nobody, nobody) != 0) return false;
  return rt::testing::inChild([&] {
           return ::setgid(nobody) == 0 && ::setuid(nobody) == 0 && ::access(dir.c_str(), W_OK) != 0 && save() ? 0 : 1;
         }) == 0;
}

// A file that no encoding reads exactly is read in the one that reads the
// most of it, so its text shows and a save loses only the bad bytes.
TEST(TextForm, FilesReadExactlyOrSaySo) {
  struct Case {
    std::string bytes;
    rt::Encoding encoding;
    bool mark, exact;
    const char16_t* text = nullptr;
    const char* saved = nullptr;  // the text written back
  } cases[] = {
      {"plain\r\n", rt::Encoding::Utf8, false, true},
      {"\xe4\xb8\xad", rt::Encoding::Utf8, false, true},
      {"\xef\xbb\xbf", rt::Encoding::Utf8, true, true},
      {"\xd6\xd0\xce\xc4", rt::Encoding::Cp936, false, true},
      {std::string("\xff\xfe\x2d\x4e", 4), rt::Encoding::Utf16Le, true, true},
      {std::string("\xff\xfe\x2d", 3), rt::Encoding::Utf16Le, true, false},  // half a unit
      {"a\r\nb\nc", rt::Encoding::Utf8, false, false},                       // mixed line ends
      {"a\u2029b", rt::Encoding::Utf8, false, false},                        // a paragraph mark
      {"a\ufdd0b\n", rt::Encoding::Utf8, false, false},                     // the editor breaks there
      {std::string("\xff\xfe" "a\0\xd1\xfd", 6), rt::Encoding::Utf16Le, true, false},
      {std::string("\x7f" "ELF\x02\x01\x01\0\0\xff\xfe\x80", 12), rt::Encoding::Cp936, false, false},
      {"\xd6\xd0\xff\xce\xc4\r\n\xb5\xda\xb6\xfe\x81\r\n\xd0\xd0\xff", rt::Encoding::Cp936, false, false,
       u"中\uFFFD文\n第二\uFFFD\n行\uFFFD", "\xd6\xd0?\xce\xc4\r\n\xb5\xda\xb6\xfe?\r\n\xd0\xd0?"},
      {"\xe4\xb8\xad\xff\n", rt::Encoding::Utf8, false, false, u"中\uFFFD"},
      {"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xff", rt::Encoding::Utf8, false, false},  // three held, one lost
  };
  for (const Case& c : cases) {
    marlox::ReadText read = marlox::readText(c.bytes);
    EXPECT_EQ(read.form.encoding, c.encoding) << c.bytes;
    EXPECT_EQ(read.form.mark, c.mark) << c.bytes;
    EXPECT_EQ(read.exact, c.exact) << c.bytes;
    if (c.text) {
      EXPECT_EQ(read.text, c.text) << c.bytes;
    }
    if (c.saved) {
      EXPECT_EQ(marlox::writeText(read.text, read.form), c.saved);
    }
  }
}

// A file whose last character the end of the file cuts short is UTF-8
// still, in either system code page: only the bytes cut off are lost, and
// a save (asked first) writes a U+FFFD for each.  A character cut anywhere
// else, or bytes that could begin no character, are no sign of UTF-8, nor
// is ASCII before the cut where the system code page is CP936.
TEST(TextForm, ACharacterCutByTheEndOfTheFileIsStillUtf8) {
  using rt::CodePage;
  using rt::Encoding;
  const std::string lost = "\xef\xbf\xbd";
  struct Case {
    CodePage page;
    std::string bytes;
    Encoding encoding;
    std::u16string text;
    std::string saved;
  } cases[] = {
      {CodePage::Utf8, "\xe4\xb8\xad\xe6\x96", Encoding::Utf8, u"中\uFFFD\uFFFD", "中" + lost + lost},
      {CodePage::Cp936, "\xe4\xb8\xad\xe6\x96", Encoding::Utf8, u"中\uFFFD\uFFFD", "中" + lost + lost},
      {CodePage::Utf8, "\xe4\xb8\xad\r\n\xe6", Encoding::Utf8, u"中\n\uFFFD", "中\r\n" + lost},
      {CodePage::Utf8, "\xc3\xa9\xf0\x9f\x98", Encoding::Utf8, u"é\uFFFD\uFFFD\uFFFD", "é" + lost + lost + lost},
      {CodePage::Utf8, "\xe4\xb8\xad\xed\x9f", Encoding::Utf8, u"中\uFFFD\uFFFD", "中" + lost + lost},
      {CodePage::Utf8, "ab\xe4\xb8", Encoding::Utf8, u"ab\uFFFD\uFFFD", "ab" + lost + lost},
      {CodePage::Cp936, "ab\xe4\xb8", Encoding::Cp936, u"ab\u6D93", "ab\xe4\xb8"},
      {CodePage::Utf8, "\xe4\xb8\xad\xe6\x96\n", Encoding::Cp936, {}, {}},             // cut by a line end
      {CodePage::Utf8, "\xe4\xb8\xad\xe6\x96z", Encoding::Cp936, {}, {}},               // in the middle
      {CodePage::Utf8, "\xe4\xb8\xad\xed\xa0", Encoding::Cp936, {}, {}},                 // a surrogate's start
  };
  const CodePage before = rt::codePage();
  for (const Case& c : cases) {
    rt::setCodePage(c.page);
    marlox::ReadText read = marlox::readText(c.bytes);
    EXPECT_EQ(read.form.encoding, c.encoding) << c.bytes;
    if (c.saved.empty()) continue;
    EXPECT_EQ(read.text, c.text) << c.bytes;
    EXPECT_EQ(read.exact, c.saved == c.bytes) << c.bytes;
    EXPECT_EQ(marlox::writeText(read.text, read.form), c.saved) << c.bytes;
  }
  rt::setCodePage(before);
}

// Binary data loads with a word in the status bar and is written back only
// after a Yes.
TEST(TextFile, BinaryDataIsNeverChangedWithoutAYes) {
  Rig rig;
  rig.start();
  const std::string binary("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xd8", 18);
  rig.home.write("b.bin", binary);
  ASSERT_TRUE(rig.doc().cmFileOpen(rig.home.name("b.bin")));
  EXPECT_EQ(rig.window.status, kNotExact);
  rig.ui->expectMessageBox(kChangesBytes, rt::mb::No);
  EXPECT_FALSE(rig.doc().cmFileSave());
  EXPECT_EQ(rig.ui->asked()[0].style, rt::mb::Exclamation | rt::mb::YesNo | rt::mb::DefaultButton2);
  EXPECT_EQ(rig.home.read("b.bin"), binary);
  rig.ui->expectMessageBox(kChangesBytes, rt::mb::Yes);
  EXPECT_TRUE(rig.doc().cmFileSave());
  EXPECT_NE(rig.home.read("b.bin"), binary);
  // What was written now reads back as it is: no further question, and the
  // word in the status bar has gone.
  EXPECT_EQ(rig.window.status, u"");
  EXPECT_TRUE(rig.doc().cmFileSave());
  rig.checkAll();
}

// A character the file's encoding lacks is not written as "?" silently.
TEST(TextFile, ACharacterTheEncodingLacksIsAskedAbout) {
  Rig rig;
  rig.start();
  rig.home.write("gbk.txt", "\xd6\xd0\r\n");
  ASSERT_TRUE(rig.doc().loadTextFile(rig.home.name("gbk.txt")));
  rig.doc().appendText(u"\U0001F600");
  rig.ui->expectMessageBox(kLosesChars, rt::mb::No);
  EXPECT_FALSE(rig.doc().saveTextFile(rig.home.name("gbk.txt")));
  EXPECT_EQ(rig.home.read("gbk.txt"), "\xd6\xd0\r\n");
  rig.ui->expectMessageBox(kLosesChars, rt::mb::Yes);
  EXPECT_TRUE(rig.doc().saveTextFile(rig.home.name("gbk.txt")));
  EXPECT_EQ(rig.home.read("gbk.txt"), "\xd6\xd0?\r\n");
  rig.checkAll();
}

// The file may be written but its folder takes no new file: the file is
// written in place (the same file, its inode kept).
TEST(TextFile, AWritableFileInAReadOnlyFolderIsWrittenInPlace) {
  Rig rig;
  rig.start();
  rig.home.write("ro/x.txt", "old\n");
  const std::string dir = rig.home.path() + "/ro", file = dir + "/x.txt";
  const ino_t before = inodeOf(file);
  rig.editor.setText(u"new");
  EXPECT_TRUE(saveInReadOnlyFolder(rig, "ro/x.txt"));
  EXPECT_EQ(inodeOf(file), before);
  EXPECT_EQ(rig.home.read("ro/x.txt"), "new\r\n");
  EXPECT_EQ(marloxtest::shell("test \"$(ls -A '" + dir + "')\" = x.txt"), 0);
  rig.checkAll();
}

// A file with more than one name (hard links) is written in place, so
// that every name holds the new text and it stays one file; a text that
// cannot get its room (a full disk, as a size limit stands it in) changes
// none of them.
TEST(TextFile, AFileWithSeveralNamesKeepsThemAll) {
  Rig rig;
  rig.start();
  rig.home.write("d/a.txt", "old contents\n");
  const std::string a = rig.home.path() + "/d/a.txt", b = rig.home.path() + "/d/b.txt";
  ASSERT_EQ(::link(a.c_str(), b.c_str()), 0);
  const ino_t inode = inodeOf(a);
  ASSERT_TRUE(rig.doc().loadTextFile(rig.home.name("d/a.txt")));
  for (std::string text : {"a text longer than the old one", "new", ""}) {
    rig.editor.setText(rt::fromUtf8(text));
    EXPECT_TRUE(rig.doc().saveTextFile(rig.home.name("d/b.txt")));
    EXPECT_EQ(rig.home.read("d/a.txt"), text + "\n");
    EXPECT_EQ(rig.home.read("d/b.txt"), text + "\n");
    EXPECT_TRUE(inodeOf(a) == inode && inodeOf(b) == inode);
  }
  rig.editor.setText(std::u16string(100000, u'n'));
  rig.ui->expectMessageBox(saveFailed(rig, "d/a.txt", EFBIG), rt::mb::Ok);
  {
    marloxtest::FileSizeLimit full(4096);
    EXPECT_FALSE(rig.doc().saveTextFile(rig.home.name("d/a.txt")));
  }
  EXPECT_EQ(rig.home.read("d/a.txt"), "\n");
  EXPECT_EQ(marloxtest::shell("test \"$(ls -A '" + rig.home.path() + "/d' | xargs)\" = 'a.txt b.txt'"), 0);
  EXPECT_TRUE(inodeOf(a) == inode && inodeOf(b) == inode);
  rig.checkAll();
}

// A file is written in place only once its room is reserved: where the
// file system cannot reserve it, the save fails with the box and the file
// keeps every byte, whether the text is longer or shorter than it.
TEST(TextFile, NoRoomReservedNoWriteInPlace) {
  for (int answer : {EOPNOTSUPP, EINVAL}) {
    for (bool linked : {true, false}) {  // else alone in a read-only folder
      for (size_t length : {1, 100}) {
        SCOPED_TRACE(testing::Message() << answer << (linked ? " linked " : " alone ") << length);
        Rig rig;
        rig.start();
        const std::string old(40, 'o'), a = rig.home.path() + "/d/a.txt", b = rig.home.path() + "/d/b.txt";
        rig.home.write("d/a.txt", old);
        ASSERT_TRUE(!linked || ::link(a.c_str(), b.c_str()) == 0);
        const ino_t inode = inodeOf(a);
        rig.editor.setText(std::u16string(length, u'n'));
        g_fallocateAnswer = answer;
        if (linked) {
          rig.ui->expectMessageBox(saveFailed(rig, "d/a.txt", answer), rt::mb::Ok);
          EXPECT_FALSE(rig.doc().saveTextFile(rig.home.name("d/a.txt")));
        } else {
          EXPECT_TRUE(saveInReadOnlyFolder(rig, "d/a.txt", saveFailed(rig, "d/a.txt", answer)));
        }
        g_fallocateAnswer = 0;
        EXPECT_EQ(rig.home.read("d/a.txt"), old);
        EXPECT_EQ(inodeOf(a), inode);
        EXPECT_EQ(inodeOf(b), linked ? inode : 0);
        rig.checkAll();
      }
    }
  }
}

// Where the file system allocates nothing ahead, a file with two names
// still saves in place, shorter or longer by more than a block; a save
// that fails names its step and the file.
TEST(TextFile, ALinkedFileSavesWhereNothingIsAllocatedAhead) {
  Rig rig;
  rig.start();
  rig.home.write("d/a.txt", std::string(10000, 'o') + "\n");
  const std::string a = rig.home.path() + "/d/a.txt", b = rig.home.path() + "/d/b.txt";
  ASSERT_EQ(::link(a.c_str(), b.c_str()), 0);
  const ino_t inode = inodeOf(a);
  ASSERT_TRUE(rig.doc().loadTextFile(rig.home.name("d/a.txt")));
  for (size_t length : {3, 9000, 5000, 0}) {
    const std::string text(length, 'n');
    rig.editor.setText(rt::fromUtf8(text));
    const int saved = withoutFallocate([&] { return rig.doc().saveTextFile(rig.home.name("d/b.txt")); });
    if (saved < 0) GTEST_SKIP() << "no process without fallocate can be made here";
    EXPECT_EQ(saved, 1) << length;
    EXPECT_EQ(rig.home.read("d/a.txt"), text + "\n");
    EXPECT_TRUE(inodeOf(a) == inode && inodeOf(b) == inode);
  }
  const std::u16string missing = rig.home.name("none/x.txt");
  rig.ui->expectMessageBox(kShowErrIntro + (u"文件[" + missing + u"]不能被保存：\r\n不能在文件[" + missing +
                                            u"]所在的文件夹中建立临时文件：No such file or directory"),
                           rt::mb::Ok);
  EXPECT_FALSE(rig.doc().saveTextFile(missing));
  rig.checkAll();
}

// A profile the program cannot read or write is told of once, at start-up.
TEST(StartUp, AProfileThatCannotBeReadOrWrittenIsToldOnce) {
  const std::u16string unreadable = u"]不能被读取：\r\n", unwritable = u"]不能被写入：\r\n";
  const std::u16string defaults = u"\r\n程序将按默认设置运行，所作的设置不会被保存。";
  const std::u16string notKept = u"\r\n所作的设置不会被保存，首次运行的脚本在每次启动时都会执行。";
  for (int which = 0; which < 3; ++which) {
    Rig rig(which == 2 ? "[Main]\r\nIsFirstRun=1\r\n" : "");
    const std::string ini = rig.home.path() + "/Marlox.ini";
    std::u16string expected = kShowErrIntro + std::u16string(u"配置文件[") + rig.appPath() + u"Marlox.ini";
    if (which == 0) {  // a folder
      ASSERT_EQ(::mkdir(ini.c_str(), 0755), 0);
      expected += unreadable + u"Is a directory" + defaults;
    } else if (which == 1) {  // over the profile's limit
      rig.home.write("Marlox.ini", "[Main]\r\n" + std::string(1 << 20, ';'));
      expected += unreadable + u"内存不足：配置文件[" + rig.appPath() + u"Marlox.ini]超过 1048576 字节" + defaults;
    } else {  // read-only, so the first run would never end
      ASSERT_EQ(::chmod(ini.c_str(), 0444), 0);
      expected += unwritable + u"不能写入配置文件[" + rig.appPath() + u"Marlox.ini]。" + notKept;
    }
    rig.ui->expectMessageBox(expected, rt::mb::Ok);
    rig.start();
    EXPECT_EQ(rig.ui->asked().size(), 1u) << which;
    rig.checkAll();
  }
}

}  // namespace
