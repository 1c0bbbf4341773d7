// Unpacking: newer versions, the password question, and files that cannot
// be written.
#include <sys/stat.h>

#include "testpacks.h"

namespace wistel::test {
namespace {

class Unpack : public PackerTest {
 protected:
  // T holds "a.txt" and "sub/b.txt"; packed into t.pack with `flag` and `password`.
  void pack(int32_t flag = 0, std::u16string_view password = {}) {
    fs::create_directories(at("T/sub"));
    writeFile(at("T/a.txt"), "alpha");
    writeFile(at("T/sub/b.txt"), "beta");
    auto p = newPack();
    p->info()->setFlag(flag);
    p->info()->setPassword(password);
    ASSERT_TRUE(p->startPack(u("T"), u("t.pack")));
  }
  int boxesSaying(std::u16string_view text) {
    int n = 0;
    for (const RecordingUiHost::Box& b : ui_->boxes)
      if (b.prompt == text && b.style == rt::mb::OkOnly && b.title == u"Wistel") ++n;
    return n;
  }
};

TEST_F(Unpack, ANewerVersionIsRefusedAndNothingWritten) {
  pack();
  std::string bytes = readFile(at("t.pack"));
  bytes[24] = 2;
  writeFile(at("t.pack"), bytes);
  auto p = newPack();
  EXPECT_FALSE(p->startUnPack(u("U"), u("t.pack")));
  EXPECT_EQ(boxesSaying(u"文件包的版本高于解包程序的版本，解包操作无法完成，请升级您的应用程序。"), 1);
  EXPECT_EQ(ui_->boxes.size(), 1u);
  EXPECT_FALSE(fs::exists(at("U")));
  EXPECT_EQ(p->info()->ver(), 2);
  EXPECT_EQ(work_->viewsClosed(), work_->viewsOpened());

  bytes[24] = 0;  // any version up to 1 is read
  writeFile(at("t.pack"), bytes);
  EXPECT_TRUE(newPack()->startUnPack(u("U"), u("t.pack")));
  EXPECT_EQ(readFile(at("U/sub/b.txt")), "beta");
}

TEST_F(Unpack, TheRightPasswordUnpacks) {
  pack(PF_Password, u"Secret");
  work_->expectPassword({u"secret", u"Secret"});  // letter case counts
  auto p = newPack();
  EXPECT_TRUE(p->startUnPack(u("U"), u("t.pack")));
  work_->checkAllAsked();
  EXPECT_EQ(boxesSaying(u"口令无效，请重新录入。"), 1);
  EXPECT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(readFile(at("U/a.txt")), "alpha");
  EXPECT_EQ(p->info()->password(), u"Secret");
  const auto& t = work_->transcript();
  EXPECT_NE(std::find(t.begin(), t.end(), u"password 录入口令 | 正在解包的文件要求口令，请录入："), t.end());
}

TEST_F(Unpack, ClosingTheQuestionEndsTheRunQuietly) {
  pack(PF_Password | PF_Compress, u"pw");
  work_->expectPassword({});
  EXPECT_FALSE(newPack()->startUnPack(u("U"), u("t.pack")));
  work_->checkAllAsked();
  EXPECT_TRUE(ui_->boxes.empty());
  EXPECT_FALSE(fs::exists(at("U")));
  EXPECT_EQ(work_->viewsClosed(), work_->viewsOpened());
  EXPECT_EQ(work_->transcript().back(), u"close");
}

TEST_F(Unpack, AnEmptyStoredPasswordTakesAnEmptyEntry) {
  pack(PF_Password, u"");
  work_->expectPassword({u""});
  EXPECT_TRUE(newPack()->startUnPack(u("U"), u("t.pack")));
  work_->checkAllAsked();
  EXPECT_TRUE(ui_->boxes.empty());
}

TEST_F(Unpack, AReadOnlyFileStaysTheRestIsUnpackedAndTheRunSaysSo) {
  pack();
  fs::create_directories(at("U/sub"));
  writeFile(at("U/sub/b.txt"), "mine");
  fs::permissions(at("U/sub/b.txt"), fs::perms(0444));
  setTime(at("U/sub/b.txt"), kNoon2000);
  writeFile(at("U/a.txt"), "to be replaced");
  EXPECT_FALSE(newPack()->startUnPack(u("U"), u("t.pack")));
  EXPECT_EQ(readFile(at("U/sub/b.txt")), "mine");
  struct stat st {};
  ::stat(at("U/sub/b.txt").c_str(), &st);
  EXPECT_EQ(st.st_mtime, kNoon2000);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
  EXPECT_EQ(readFile(at("U/a.txt")), "alpha");
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_EQ(errors()[0], u"以下文件或文件夹未能写入：\r\n" + u("U") + u"/sub/b.txt");
  // No temporary file stays behind.
  for (const auto& e : fs::recursive_directory_iterator(at("U")))
    EXPECT_FALSE(e.path().filename().string().starts_with(".")) << e.path();
}

TEST_F(Unpack, AMissingOrRefusedPackIsShown) {
  EXPECT_FALSE(newPack()->startUnPack(u("U"), u("missing.pack")));
  writeFile(at("text.pack"), "no object stream at all, just text that is long enough");
  EXPECT_FALSE(newPack()->startUnPack(u("U"), u("text.pack")));
  ASSERT_EQ(errors().size(), 2u);
  EXPECT_EQ(errors()[1], u"文件不是对象流格式，打开操作不成功！");
  EXPECT_FALSE(fs::exists(at("U")));
}

TEST_F(Unpack, ATargetThatCannotBeMadeIsShown) {
  pack();
  // No folder at all would be the root of the file system.
  EXPECT_FALSE(newPack()->startUnPack(u"", u("t.pack")));
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_EQ(errors()[0], u"错误的文件名或号码：没有指定文件夹");
  ui_->boxes.clear();

  writeFile(at("file"), "x");
  EXPECT_FALSE(newPack()->startUnPack(u("file/U"), u("t.pack")));
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_EQ(errors()[0], u"文件夹[" + u("file/U") + u"/]不存在或不能被建立。");
}

}  // namespace
}  // namespace wistel::test
