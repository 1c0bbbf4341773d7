#include "rt/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "rt/fspath.h"
#include "rt/testing.h"
#include "rt/text.h"

namespace {

namespace fs = std::filesystem;

class MakePath : public ::testing::Test {
 protected:
  std::u16string name(const std::string& rel) const { return rt::fromUtf8(temp_.path().string() + rel); }
  bool folder(const std::string& rel) const { return fs::is_directory(temp_.path().string() + rel); }

  rt::testing::TempDir temp_{"makepath"};
};

TEST_F(MakePath, MakesEveryMissingStep) {
  struct Case {
    const char* path;      // below the test's folder
    const char* lastStep;  // the deepest folder that must exist afterwards
  };
  const Case cases[] = {
      {"/a/b/c", "/a/b/c"},
      {"/a/b/c", "/a/b/c"},            // all there already
      {"\\d\\e", "/d/e"},              // the other separator
      {"/f/g/", "/f/g"},               // a trailing separator adds nothing
      {"//h//i", "/h/i"},              // doubled separators make no step
      {"/j\\k/l", "/j/k/l"},           // mixed
      {"/m/\xE4\xB8\xAD\xE6\x96\x87", "/m/\xE4\xB8\xAD\xE6\x96\x87"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(rt::makePath(name(c.path))) << c.path;
    EXPECT_TRUE(folder(c.lastStep)) << c.path;
  }
  EXPECT_FALSE(folder("/f/g/\\"));
}

TEST_F(MakePath, EmptyPathIsDone) { EXPECT_TRUE(rt::makePath(u"")); }

TEST_F(MakePath, RelativePathsStartAtTheCurrentFolder) {
  fs::path home = fs::current_path();
  fs::current_path(temp_.path());
  bool made = rt::makePath(u"r\\s/t");
  fs::current_path(home);
  EXPECT_TRUE(made);
  EXPECT_TRUE(folder("/r/s/t"));
}

TEST_F(MakePath, StopsAtTheFirstFailureAndRemovesWhatItMade) {
  temp_.write("file", "data");
  EXPECT_FALSE(rt::makePath(name("/file")));  // there, but no folder
  EXPECT_FALSE(rt::makePath(name("/file/deeper")));
  EXPECT_FALSE(folder("/file/deeper"));
  // A step no file system takes (a name of 300 bytes): the steps before it
  // go again, those that were there stay.
  EXPECT_TRUE(rt::makePath(name("/a1")));
  EXPECT_FALSE(rt::makePath(name("/a1/a2/a3/" + std::string(300, 'n') + "/b")));
  EXPECT_TRUE(folder("/a1"));
  EXPECT_FALSE(folder("/a1/a2"));
  // A path longer than any the system takes, in a hundred steps.
  std::string deep;
  for (int i = 0; i < 100; ++i) deep += "/d" + std::string(50, 'e');
  EXPECT_FALSE(rt::makePath(name(deep)));
  EXPECT_FALSE(folder("/d"));
  // A zero character would name another folder.
  EXPECT_FALSE(rt::makePath(name("/z") + std::u16string(1, u'\0') + u"y"));
  EXPECT_FALSE(folder("/z"));
}

}  // namespace

namespace {

TEST(ScriptPaths, FoldersAndNamesFromThem) {
  EXPECT_EQ(rt::withSlashes(u"a\\b/c\\"), u"a/b/c/");
  EXPECT_EQ(rt::folderPath(u""), u"/");
  EXPECT_EQ(rt::folderPath(u"C:\\s"), u"C:/s/");
  EXPECT_EQ(rt::folderPath(u"/s/"), u"/s/");
  EXPECT_EQ(rt::pathFrom(u"/s/", u"a\\b.zub"), u"/s/a/b.zub");
  EXPECT_EQ(rt::pathFrom(u"/s/", u"\\abs.zub"), u"/abs.zub");
  EXPECT_EQ(rt::pathFrom(u"\\s\\", u"D:\\x.zub"), u"/s/D:/x.zub");
  EXPECT_EQ(rt::pathFrom(u"/s/", u""), u"/s/");
  EXPECT_EQ(rt::pathFrom(u"", u"rel"), u"rel");
}

}  // namespace

// A replacement writes the file a link leads to, made or not yet, so the
// link stays; anything else (a loop among them) is replaced itself.
TEST(LinkedFile, LeadsWhereTheLinksLead) {
  rt::testing::TempDir temp{"linked"};
  const std::string real = fs::canonical(temp.path()).string();
  temp.write("file", "x");
  fs::create_directory(temp.at("sub"));
  fs::create_symlink("file", temp.at("to-file"));
  fs::create_symlink("sub/new", temp.at("to-new"));
  fs::create_symlink("to-new", temp.at("to-to-new"));
  fs::create_symlink(real + "/sub/abs", temp.at("to-abs"));
  fs::create_symlink("loop-b", temp.at("loop-a"));
  fs::create_symlink("loop-a", temp.at("loop-b"));
  const struct {
    const char* name;
    std::string want;
  } cases[] = {
      {"file", temp.at("file")},
      {"missing", temp.at("missing")},
      {"to-file", real + "/file"},
      {"to-new", temp.at("sub/new")},
      {"to-to-new", temp.at("sub/new")},
      {"to-abs", real + "/sub/abs"},
      {"loop-a", temp.at("loop-a")},
  };
  for (const auto& c : cases) EXPECT_EQ(rt::fs::linkedFile(temp.at(c.name)), c.want) << c.name;
}
