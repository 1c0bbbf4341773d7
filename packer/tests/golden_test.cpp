// The exact bytes of packs, and what StartPack makes of the header the host
// set.
#include <sys/stat.h>

#include "testpacks.h"

namespace wistel::test {
namespace {

// 2000-01-01 00:00 and 12:00 as stored dates.
const std::string kMidnight = hex("00 00 00 00 C0 D5 E1 40");
const std::string kNoon = hex("00 00 00 00 D0 D5 E1 40");

class Golden : public PackerTest {
 protected:
  // A folder "T" holding `name` with `content`, mode 0644, modified at noon.
  void oneFile(const std::string& name, std::string_view content) {
    fs::create_directory(at("T"));
    writeFile(at("T/" + name), content);
    fs::permissions(at("T/" + name), fs::perms(0644));
    setTime(at("T/" + name), kNoon2000);
  }
};

TEST_F(Golden, OneFile) {
  oneFile("a.txt", "hi");
  auto p = newPack();
  ASSERT_TRUE(p->startPack(u("T"), u("t.pack")));
  std::string expected = hex(
      "88 66 66 88 0C 00 00 00 4F 62 6A 65 63 74 53 74 72 65 61 6D 01 00 00 00 01 00 00 00"
      "01 00 00 00 43 01 00 00 00 44 00 00 00 00 00 00 00 00 C0 D5 E1 40 00 04 00 00 01 00 00 00"
      "00 00 00 00 05 00 00 00 61 2E 74 78 74 20 00 00 00 00 00 00 00 D0 D5 E1 40 01 00 00 00"
      "00 00 00 00 01 00 00 00 68 69");
  EXPECT_EQ(expected.size(), 97u);
  EXPECT_EQ(readFile(at("t.pack")), expected);
  EXPECT_TRUE(errors().empty());
}

TEST_F(Golden, EmptyFolderWithTheDefaults) {
  fs::create_directory(at("T"));
  auto p = newPack();
  p->info()->setDescription(u"");
  p->info()->setBlkSize(0);
  ASSERT_TRUE(p->startPack(u("T"), u("t.pack")));
  std::string description = "Quarrin系统文件包(Quarrin FilePack)";
  ASSERT_EQ(description.size(), 40u);
  std::string expected = streamHeader() + longBytes(1) + stringBytes("C", 1) +
                         hex("1E 00 00 00") + description + longBytes(0) + kMidnight +
                         hex("00 04 00 00") + longBytes(0) + longBytes(0);
  EXPECT_EQ(expected.size(), 101u);
  EXPECT_EQ(readFile(at("t.pack")), expected);
  EXPECT_EQ(p->info()->description(), u"Quarrin系统文件包(Quarrin FilePack)");
}

TEST_F(Golden, PasswordAndBlocks) {
  oneFile("f", "abcde");
  auto p = newPack();
  p->info()->setFlag(3);
  p->info()->setPassword(u"pw");
  p->info()->setBlkSize(4);
  ASSERT_TRUE(p->startPack(u("T"), u("t.pack")));
  std::string expected =
      streamHeader() + hex("01 00 00 00") +
      hex("01 00 00 00 43 01 00 00 00 44 03 00 00 00 00 00 00 00 C0 D5 E1 40 04 00 00 00 02 00"
          "00 00 70 77 01 00 00 00 00 00 00 00 01 00 00 00 66 20 00 00 00 00 00 00 00 D0 D5 E1 40"
          "02 00 00 00 00 00 00 00 03 00 00 00 61 62 63 64 00 00 00 00 00 00 00 00 65");
  EXPECT_EQ(expected.size(), 110u);
  EXPECT_EQ(readFile(at("t.pack")), expected);
}

TEST_F(Golden, TextInTheCodePage) {
  // "中文" is two units: UTF-8 by default, GBK under CP936.
  struct Case {
    rt::CodePage cp;
    std::string bytes;
  };
  for (const Case& c : {Case{rt::CodePage::Utf8, hex("02 00 00 00 E4 B8 AD E6 96 87")},
                        Case{rt::CodePage::Cp936, hex("02 00 00 00 D6 D0 CE C4")}}) {
    rt::setCodePage(c.cp);
    fs::remove_all(at("T"));
    fs::create_directory(at("T"));
    auto p = newPack();
    p->info()->setCopyright(u"中文");
    ASSERT_TRUE(p->startPack(u("T"), u("t.pack")));
    EXPECT_EQ(readFile(at("t.pack")).substr(28, c.bytes.size()), c.bytes);
  }
  rt::setCodePage(rt::CodePage::Utf8);
}

TEST_F(Golden, StartPackCompletesTheHeader) {
  fs::create_directory(at("T"));
  auto p = newPack();
  p->info()->setVer(5);
  p->info()->setBlkSize(4096);
  p->setFileName(u("named.pack"));
  ASSERT_TRUE(p->startPack(u("T")));  // no smFn: FileName
  EXPECT_TRUE(fs::exists(at("named.pack")));
  EXPECT_EQ(p->info()->ver(), 1);
  EXPECT_EQ(p->info()->blkSize(), 4096);
  EXPECT_EQ(p->info()->createTime().serial, 36526.0);
  std::string bytes = readFile(at("named.pack"));
  EXPECT_EQ(bytes.substr(24, 4), longBytes(1));
  EXPECT_EQ(bytes.substr(bytes.size() - 12, 4), longBytes(4096));

  ASSERT_TRUE(p->startPack(u("T"), u("other.pack")));  // smFn becomes FileName
  EXPECT_EQ(p->fileName(), u("other.pack"));
  EXPECT_TRUE(fs::exists(at("other.pack")));

  // The packer's own notice when the host set none.
  p->info()->setCopyright(u"");
  ASSERT_TRUE(p->startPack(u("T")));
  EXPECT_EQ(p->info()->copyright(), u"版权所有 (C) Zub 项目");
}

TEST_F(Golden, ANegativeBlockSizeIsRefused) {
  fs::create_directory(at("T"));
  writeFile(at("old.pack"), "old");
  for (int32_t blk : {-1, (1 << 27) + 1}) {
    auto p = newPack();
    p->info()->setBlkSize(blk);
    EXPECT_FALSE(p->startPack(u("T"), u("old.pack")));
    EXPECT_EQ(readFile(at("old.pack")), "old");
  }
  ASSERT_EQ(errors().size(), 2u);
  EXPECT_EQ(errors()[0], u"无效的过程调用或参数：BlkSize -1 不在 0 到 134217728 之间");
  EXPECT_EQ(ui_->beeps, 2);
  // The progress view was opened and closed each time.
  EXPECT_EQ(work_->viewsOpened(), 2);
  EXPECT_EQ(work_->viewsClosed(), 2);
}

}  // namespace
}  // namespace wistel::test
