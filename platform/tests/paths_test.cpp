#include "rt/paths.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "rt/text.h"

namespace {

namespace fs = std::filesystem;

class MakePath : public testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "makepath-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  std::u16string under(const std::string& rel) const { return rt::fromUtf8(root_.string() + rel); }
  bool isDir(const std::string& rel) const { return fs::is_directory(root_.string() + rel); }

  fs::path root_;
};

TEST_F(MakePath, MakesEveryMissingFolderAlongThePath) {
  struct Case {
    const char* path;  // under the test folder
    bool result;
    const char* made;  // a folder that exists afterwards
  };
  const Case cases[] = {
      {"/a", true, "/a"},
      {"/b/c/d", true, "/b/c/d"},
      {"\\e\\f", true, "/e/f"},          // "\" separates too
      {"/g/h/", true, "/g/h"},           // a trailing separator adds no step
      {"/i//j\\/k", true, "/i/j/k"},     // repeated separators make no empty parts
      {"/b/c/d", true, "/b/c/d"},        // all there already
      {"/中文/名字", true, "/中文/名字"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(rt::makePath(under(c.path)), c.result);
    EXPECT_TRUE(isDir(c.made));
  }
}

TEST_F(MakePath, EmptyPathIsTrue) { EXPECT_TRUE(rt::makePath(u"")); }

TEST_F(MakePath, StopsAtTheFirstFailureKeepingWhatWasMade) {
  std::ofstream(root_ / "file") << "x";
  EXPECT_FALSE(rt::makePath(under("/m/../file/sub")));  // fine up to "m/.."
  EXPECT_TRUE(isDir("/m"));
  EXPECT_FALSE(rt::makePath(under("/file/sub")));  // a file stands where a folder must
  EXPECT_FALSE(rt::makePath(under("/file")));
  EXPECT_FALSE(fs::exists(root_ / "file" / "sub"));

  fs::create_directory(root_ / "locked");
  fs::permissions(root_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  if (::geteuid() != 0) {  // root writes anywhere
    EXPECT_FALSE(rt::makePath(under("/locked/n/o")));
    EXPECT_FALSE(fs::exists(root_ / "locked" / "n"));
  }
  fs::permissions(root_ / "locked", fs::perms::owner_all);

  EXPECT_FALSE(rt::makePath(std::u16string(u"x\0y", 3)));  // a zero would cut the name short
}

TEST_F(MakePath, RelativePathsStartAtTheCurrentFolderAndLinksToFoldersCount) {
  fs::create_directory(root_ / "real");
  fs::create_directory_symlink(root_ / "real", root_ / "link");
  fs::path saved = fs::current_path();
  fs::current_path(root_);
  EXPECT_TRUE(rt::makePath(u"p/q"));
  EXPECT_TRUE(rt::makePath(u"link/r"));
  fs::current_path(saved);
  EXPECT_TRUE(isDir("/p/q"));
  EXPECT_TRUE(isDir("/real/r"));
}

}  // namespace
