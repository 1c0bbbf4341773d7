#include "rt/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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
