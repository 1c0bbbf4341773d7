// Packs that fail: nothing partial is left, an older pack stays as it was,
// and the user is told why.
#include <sys/resource.h>

#include <cerrno>
#include <cstdlib>
#include <iterator>

#include "packinfo.h"
#include "testpacks.h"
#include "writer.h"

namespace wistel::test {
namespace {

// Fails the `failAt`-th read with EIO, or ends every file after `shortAt` bytes.
class FailingSource final : public FileSource {
 public:
  int failAt = -1;
  int shortAt = -1;
  int reads = 0;
  ssize_t read(int fd, char* dst, size_t n) override {
    if (++reads == failAt) {
      errno = EIO;
      return -1;
    }
    if (shortAt >= 0) {
      off_t pos = ::lseek(fd, 0, SEEK_CUR);
      if (pos >= shortAt) return 0;
      n = std::min<size_t>(n, static_cast<size_t>(shortAt - pos));
    }
    return FileSource::read(fd, dst, n);
  }
};

class PackFailure : public PackerTest {
 protected:
  PackFailure() {
    fs::create_directories(at("T/sub"));
    writeFile(at("T/a"), std::string(5000, 'a'));
    writeFile(at("T/sub/b"), std::string(3000, 'b'));
    writeFile(at("t.pack"), "the old pack");
  }
  bool pack(FileSource& source) {
    auto info = rt::make<PackInfo>();
    info->setBlkSize(1000);
    return writePack(*info, u("T"), u("t.pack"), source);
  }
  std::vector<std::string> names() { return namesUnder(root_); }
};

TEST_F(PackFailure, AReadFailureLeavesTheOldPackAndNoTemporaryFile) {
  for (int failAt : {1, 3, 7}) {
    FailingSource source;
    source.failAt = failAt;
    EXPECT_FALSE(pack(source)) << failAt;
    EXPECT_EQ(readFile(at("t.pack")), "the old pack");
    EXPECT_EQ(names(), (std::vector<std::string>{"T", "t.pack"}));
  }
  ASSERT_EQ(errors().size(), 3u);
  EXPECT_EQ(errors()[0], u"设备 I/O 错误：" + u("T") + u"/a");

  // Without a failure the new pack takes the old one's place.
  FailingSource fine;
  EXPECT_TRUE(pack(fine));
  EXPECT_NE(readFile(at("t.pack")), "the old pack");
  EXPECT_EQ(names(), (std::vector<std::string>{"T", "t.pack"}));
}

// A pack that fills the disk, here by reaching the size limit of the process
// at points along its writing, fails naming the pack asked for (the stream
// writes it under a temporary name), and leaves the older pack and nothing else.
TEST_F(PackFailure, AFullDiskNamesThePackAskedFor) {
  writeFile(at("T/big"), std::string(200000, 'x'));
  FileSource files;
  rlimit before {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  for (rlim_t size : {0, 4096, 100000, 208000}) {
    SCOPED_TRACE(size);
    rlimit small{size, before.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool packed = pack(files);
    ::setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_FALSE(packed);
    ASSERT_FALSE(errors().empty());
    EXPECT_EQ(errors().back(), u"磁盘已满：" + u("t.pack"));
    EXPECT_EQ(readFile(at("t.pack")), "the old pack");
    EXPECT_EQ(names(), (std::vector<std::string>{"T", "t.pack"}));
  }
}

TEST_F(PackFailure, AFileShorterThanItsLengthFailsThePack) {
  FailingSource source;
  source.shortAt = 2500;
  EXPECT_FALSE(pack(source));
  EXPECT_EQ(readFile(at("t.pack")), "the old pack");
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_EQ(errors()[0], u"[" + u("T") + u"/a]读出的字节少于它的长度（文件在打包时变短了）。");
}

TEST_F(PackFailure, NamesAndPasswordsTheCodePageCannotHold) {
  FileSource files;
  writeFile(at("T/sub/smile 😀"), "x");
  rt::setCodePage(rt::CodePage::Cp936);
  EXPECT_FALSE(pack(files));
  rt::setCodePage(rt::CodePage::Utf8);
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_EQ(errors()[0], u"名称[" + u("T") + u"/sub/smile 😀]中有当前代码页不能表示的字符，不能打包。");
  EXPECT_TRUE(pack(files));  // UTF-8 holds it

  writeFile(at("T/bad \xFF name"), "x");
  EXPECT_FALSE(pack(files));
  EXPECT_EQ(errors().back(), u"名称[" + u("T") + u"/bad \\xFF name]不是有效的 UTF-8 文本，不能打包。");
  fs::remove(at("T/bad \xFF name"));

  rt::setCodePage(rt::CodePage::Cp936);
  auto p = newPack();
  p->info()->setFlag(PF_Password);
  p->info()->setPassword(u"口令😀");
  EXPECT_FALSE(p->startPack(u("T"), u("p.pack")));
  rt::setCodePage(rt::CodePage::Utf8);
  EXPECT_EQ(errors().back(), u"口令中有当前代码页不能表示的字符，不能打包。");
  EXPECT_FALSE(fs::exists(at("p.pack")));
}

// A name the reader would refuse fails the pack, naming it, and the older
// pack stays; every name a pack holds comes back.
TEST_F(PackFailure, NamesThePackCannotHoldFailItEveryOtherUnpacksWhole) {
  FileSource files;
  const struct {
    std::string path;  // under T
    bool folder;
  } refused[] = {{"b\\c", false}, {"sub/x\\y", true}, {"\\", false}};
  for (const auto& r : refused) {
    if (r.folder) fs::create_directory(at("T/" + r.path));
    else writeFile(at("T/" + r.path), "x");
    EXPECT_FALSE(pack(files)) << r.path;
    EXPECT_EQ(readFile(at("t.pack")), "the old pack");
    EXPECT_EQ(errors().back(), u"名称[" + u("T/" + r.path) +
                                   u"]不能放入文件包（名称中含有路径分隔符或空字符），不能打包。");
    fs::remove(at("T/" + r.path));
  }
  EXPECT_EQ(names(), (std::vector<std::string>{"T", "t.pack"}));

  const std::string odd[] = {"ctl \x01\x1b[1m\r\n\t", " lead and trail. ", "a:b*?\"<>|", "中文 ü",
                             std::string(255, 'L'), "-", "~x"};
  for (const std::string& n : odd) writeFile(at("T/sub/" + n), n);
  ASSERT_TRUE(pack(files));
  ASSERT_TRUE(newPack()->startUnPack(u("U"), u("t.pack")));
  EXPECT_EQ(std::system(("diff -r '" + at("T").string() + "' '" + at("U").string() + "'").c_str()), 0);
  EXPECT_EQ(errors().size(), std::size(refused));
}

TEST_F(PackFailure, TreesDeeperThanTheReaderTakesAreRefused) {
  fs::path deep = at("D");
  for (int i = 0; i < 256; ++i) deep /= "d";
  fs::create_directories(deep);
  auto p = newPack();
  EXPECT_TRUE(p->startPack(u("D"), u("d.pack")));
  EXPECT_TRUE(newPack()->startUnPack(u("E"), u("d.pack")));
  fs::create_directory(deep / "d");
  EXPECT_FALSE(p->startPack(u("D"), u("d.pack")));
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_TRUE(errors()[0].ends_with(u"/]的层数超过 256，不能打包。"));
}

TEST_F(PackFailure, MissingFoldersOnEitherSide) {
  auto p = newPack();
  EXPECT_FALSE(p->startPack(u("missing"), u("m.pack")));
  EXPECT_FALSE(p->startPack(u("T"), u("no/such/folder/m.pack")));
  EXPECT_FALSE(p->startPack(u("T"), u("")));
  EXPECT_FALSE(p->startPack(u"", u("m.pack")));  // not the root of the file system
  EXPECT_EQ(errors().size(), 4u);
  EXPECT_EQ(errors()[3], u"错误的文件名或号码：没有指定文件夹");
  EXPECT_EQ(names(), (std::vector<std::string>{"T", "t.pack"}));
}

}  // namespace
}  // namespace wistel::test
