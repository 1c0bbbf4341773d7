// Packing a tree and unpacking it again gives the same tree; what the walk
// leaves out.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

#include "testpacks.h"

namespace wistel::test {
namespace {

constexpr int32_t kBlk = 1024;

class RoundTrip : public PackerTest {
 protected:
  // 5 levels of folders with Chinese, blanks, "#" and "%" in their names,
  // 60 files in each (lengths 0, 1, BlkSize - 1, BlkSize, BlkSize + 1 in
  // turn, each with a time of its own), two empty folders and one 3 MB file.
  void makeTree(const fs::path& top) {
    const char* levels[] = {"级别 1", "L#2", "dir %3", "四", "5 five"};
    const size_t lengths[] = {0, 1, kBlk - 1, kBlk, kBlk + 1};
    std::mt19937 rng(7);
    fs::path dir = top;
    fs::create_directories(dir);
    int n = 0;
    for (int level = 0; level < 5; ++level) {
      for (int i = 0; i < 60; ++i, ++n) {
        std::string content(lengths[n % 5], '\0');
        for (char& c : content) c = static_cast<char>(rng());
        fs::path f = dir / ("文件 #" + std::to_string(i) + " 100%.bin");
        writeFile(f, content);
        setTime(f, kNoon2000 + n * 3601);
      }
      if (level == 1 || level == 3) fs::create_directory(dir / "empty 空");
      dir /= levels[level];
      fs::create_directory(dir);
    }
    std::string big(3 << 20, '\0');
    for (char& c : big) c = static_cast<char>(rng());
    writeFile(top / "big.dat", big);
    setTime(top / "big.dat", kNoon2000);
  }

  // Every file's path and modification time, for comparing trees.
  std::vector<std::pair<std::string, std::time_t>> times(const fs::path& top) {
    std::vector<std::pair<std::string, std::time_t>> out;
    for (const auto& e : fs::recursive_directory_iterator(top)) {
      struct stat st {};
      ::lstat(e.path().c_str(), &st);
      out.emplace_back(fs::relative(e.path(), top).string(), S_ISDIR(st.st_mode) ? 0 : st.st_mtime);
    }
    std::sort(out.begin(), out.end());
    return out;
  }

  int diff(const fs::path& a, const fs::path& b) {
    std::string cmd = "diff -r '" + a.string() + "' '" + b.string() + "' >/dev/null 2>&1";
    return std::system(cmd.c_str());
  }
};

TEST_F(RoundTrip, TheTreeComesBackWithItsTimesAndPacksToTheSameBytes) {
  makeTree(at("T"));
  auto p = newPack();
  p->info()->setBlkSize(kBlk);
  ASSERT_TRUE(p->startPack(u("T"), u("t.pack")));
  auto q = newPack();
  ASSERT_TRUE(q->startUnPack(u("U"), u("t.pack")));
  EXPECT_TRUE(errors().empty());
  EXPECT_EQ(diff(at("T"), at("U")), 0);
  EXPECT_EQ(times(at("T")), times(at("U")));
  EXPECT_EQ(q->info()->packLen(), static_cast<int64_t>(fs::file_size(at("t.pack"))));

  // Packed again, later: only CreateTime differs.
  rt::LocalTime later;
  later.parts = rt::DateParts{2001, 2, 3, 4, 5, 6, 7};
  rt::PinnedClock clock(later);
  auto r = newPack();
  r->info()->setBlkSize(kBlk);
  ASSERT_TRUE(r->startPack(u("U"), u("u.pack")));
  std::string first = readFile(at("t.pack")), second = readFile(at("u.pack"));
  ASSERT_EQ(first.size(), second.size());
  const size_t createTime = 24 + 4 + 5 + 5 + 4;
  EXPECT_NE(first.substr(createTime, 8), second.substr(createTime, 8));
  EXPECT_EQ(first.substr(0, createTime), second.substr(0, createTime));
  EXPECT_EQ(first.substr(createTime + 8), second.substr(createTime + 8));
}

TEST_F(RoundTrip, DotNamesFolderLinksAndPipesStayOutALinkToAFileGoesIn) {
  fs::create_directories(at("T/sub/.hidden dir"));
  writeFile(at("T/.hidden"), "h");
  writeFile(at("T/sub/.also"), "h");
  writeFile(at("T/sub/.hidden dir/x"), "h");
  writeFile(at("T/real.txt"), "real");
  fs::create_directories(at("outside/deep"));
  writeFile(at("outside/deep/secret"), "s");
  fs::create_directory_symlink(at("outside"), at("T/folder link"));
  fs::create_symlink(at("T/real.txt"), at("T/file link"));
  fs::create_symlink(at("nowhere"), at("T/broken link"));
  ASSERT_EQ(::mkfifo(at("T/sub/fifo").c_str(), 0644), 0);

  auto p = newPack();
  ASSERT_TRUE(p->startPack(u("T"), u("t.pack")));  // a pipe opened would block here
  ASSERT_TRUE(newPack()->startUnPack(u("U"), u("t.pack")));
  EXPECT_EQ(namesUnder(at("U"), true), (std::vector<std::string>{"file link", "real.txt", "sub"}));
  EXPECT_FALSE(fs::is_symlink(at("U/file link")));
  EXPECT_EQ(readFile(at("U/file link")), "real");
}

TEST_F(RoundTrip, ThePackIsNeverPackedIntoItself) {
  fs::create_directory(at("T"));
  writeFile(at("T/a"), "a");
  for (int run = 0; run < 2; ++run) {  // the second time the old pack lies in the tree
    ASSERT_TRUE(newPack()->startPack(u("T"), u("T/t.pack")));
  }
  fs::create_directory(at("U"));
  ASSERT_TRUE(newPack()->startUnPack(u("U"), u("T/t.pack")));
  EXPECT_EQ(namesUnder(at("U")), std::vector<std::string>{"a"});
  EXPECT_EQ(namesUnder(at("T")), (std::vector<std::string>{"a", "t.pack"}));  // no temporary file left
  EXPECT_TRUE(ui_->boxes.empty());  // under its own name it goes without saying

  // Under another name too it is left out, and the user is told.
  fs::create_hard_link(at("T/t.pack"), at("T/b.pack"));
  ASSERT_TRUE(newPack()->startPack(u("T"), u("T/t.pack")));
  ASSERT_EQ(ui_->boxes.size(), 1u);
  EXPECT_EQ(ui_->boxes[0].style, rt::mb::OkOnly);
  EXPECT_EQ(ui_->boxes[0].prompt, u"以下文件是被替换的旧文件包，没有打包：\r\n" + u("T/b.pack"));
  fs::remove_all(at("U"));
  ASSERT_TRUE(newPack()->startUnPack(u("U"), u("T/t.pack")));
  EXPECT_EQ(namesUnder(at("U")), std::vector<std::string>{"a"});
}

TEST_F(RoundTrip, EmptyFilesAndFoldersAndNamesThatDifferInCase) {
  fs::create_directories(at("T/e/f"));
  writeFile(at("T/empty"), "");
  writeFile(at("T/B"), "1");
  writeFile(at("T/a"), "2");
  writeFile(at("T/A"), "3");
  auto p = newPack();
  ASSERT_TRUE(p->startPack(u("T"), u("t.pack")));
  std::string bytes = readFile(at("t.pack"));
  // Files in name order without regard to case: A, a, B, empty.
  size_t posA = bytes.find(stringBytes("A", 1)), posa = bytes.find(stringBytes("a", 1));
  size_t posB = bytes.find(stringBytes("B", 1)), posE = bytes.find(stringBytes("empty", 5));
  EXPECT_LT(posA, posa);
  EXPECT_LT(posa, posB);
  EXPECT_LT(posB, posE);
  ASSERT_TRUE(newPack()->startUnPack(u("U"), u("t.pack")));
  EXPECT_TRUE(fs::is_directory(at("U/e/f")));
  EXPECT_EQ(fs::file_size(at("U/empty")), 0u);
  EXPECT_EQ(readFile(at("U/A")), "3");
}

}  // namespace
}  // namespace wistel::test
