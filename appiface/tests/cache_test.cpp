// The second edition's compiled-script cache "<script>.bin".
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

#include "apptest.h"
#include "rt/text.h"

namespace apptest {
namespace {

class Cache : public ::testing::Test {
 protected:
  Cache() : app(newApplication(2)), host(rt::make<RecordingHost>()) {
    app->advise(host);
    app->setSptPath(dir.dir());
  }

  // Writes a.zub; runs it and returns what it output.
  void script(const std::string& text) { dir.write("a.zub", text + "\r\n"); }
  std::u16string run() {
    host->output.clear();
    app->execFile(u"a.zub");
    return host->output;
  }
  struct stat statOf(const std::string& name) const {
    struct stat st {};
    EXPECT_EQ(::stat(dir.at(name).c_str(), &st), 0) << name;
    return st;
  }
  void setTime(const std::string& name, struct timespec t) const {
    const struct timespec times[2] = {t, t};
    ASSERT_EQ(::utimensat(AT_FDCWD, dir.at(name).c_str(), times, 0), 0);
  }
  static struct timespec later(struct timespec t, long seconds) {
    t.tv_sec += seconds;
    return t;
  }
  std::vector<std::string> listing() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::u16string fullName() const { return dir.dir() + u"/a.zub"; }

  TempDir dir;
  rt::Ref<yarrick::IApplication> app;
  rt::Ref<RecordingHost> host;
};

bool sameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

TEST_F(Cache, IsCompiledAgainWhenTheScriptsTimeDiffers) {
  script("OutLine \"A\"");
  EXPECT_EQ(run(), u"A\r\n");
  const std::string header("\x88\x66\x66\x88\x0C\0\0\0ObjectStream\x01\0\0\0", 24);
  EXPECT_EQ(dir.read("a.zub.bin").substr(0, 24), header);
  struct stat first = statOf("a.zub.bin");
  EXPECT_TRUE(sameTime(first.st_mtim, statOf("a.zub").st_mtim));

  EXPECT_EQ(run(), u"A\r\n");
  struct stat again = statOf("a.zub.bin");
  EXPECT_EQ(again.st_ino, first.st_ino);
  EXPECT_TRUE(sameTime(again.st_mtim, first.st_mtim));

  // Edited a minute later.
  script("OutLine \"B\"");
  setTime("a.zub", later(first.st_mtim, 60));
  EXPECT_EQ(run(), u"B\r\n");
  EXPECT_NE(statOf("a.zub.bin").st_ino, first.st_ino);

  // Equal times: the cache is taken, whatever the script says.
  script("OutLine \"C\"");
  setTime("a.zub", statOf("a.zub.bin").st_mtim);
  EXPECT_EQ(run(), u"B\r\n");

  // Put back with an older time, as a copy that kept its times.
  setTime("a.zub", later(first.st_mtim, -86400));
  EXPECT_EQ(run(), u"C\r\n");
  EXPECT_EQ(app->error().number(), 0);
}

TEST_F(Cache, ACompileErrorRunsNothingAndLeavesNoPartialCache) {
  const std::string broken =
      "Application.Early\r\na = 1\r\nb = 2\r\nc = 3\r\nd = 4\r\ne = 5\r\nOutLine \"open\r\nf = 6";
  for (bool oldCache : {false, true}) {
    SCOPED_TRACE(oldCache ? "over an old cache" : "no cache before");
    std::filesystem::remove(dir.at("a.zub.bin"));
    std::string before;
    if (oldCache) {
      script("OutLine \"old\"");
      run();
      before = dir.read("a.zub.bin");
    }
    script(broken);
    setTime("a.zub", later(statOf("a.zub").st_mtim, 60));
    host->commands.clear();
    EXPECT_EQ(run(), u"");
    EXPECT_TRUE(host->commands.empty());
    EXPECT_EQ(app->error().number(), static_cast<int32_t>(0x80040067));
    EXPECT_EQ(app->error().description(), u"在脚本文件[" + fullName() +
                                              u"]中的第 7 行出现编译错误。\r\n"
                                              u"脚本语法错误：不成对的引号");
    EXPECT_EQ(app->error().sourceFull().rfind(u"Yarrick.Application.CompFile\r\n", 0), 0u);
    if (oldCache) {
      EXPECT_EQ(listing(), (std::vector<std::string>{"a.zub", "a.zub.bin"}));
      EXPECT_EQ(dir.read("a.zub.bin"), before);
    } else {
      EXPECT_EQ(listing(), std::vector<std::string>{"a.zub"});
    }
  }
}

TEST_F(Cache, ACacheRunsWithoutItsScript) {
  script("OutLine \"kept\"");
  run();
  std::filesystem::remove(dir.at("a.zub"));
  EXPECT_EQ(run(), u"kept\r\n");
  std::filesystem::remove(dir.at("a.zub.bin"));
  EXPECT_EQ(run(), u"");
  EXPECT_EQ(app->error().number(), -1);
  EXPECT_EQ(app->error().description(), u"不能发现所要执行的脚本文件[" + fullName() + u"]。");
  EXPECT_EQ(app->error().sourceFull(), u"Yarrick.Application.ExecFile");
}

TEST_F(Cache, CachesThatCannotBeUsed) {
  // Spoilt, but current by its time.
  script("OutLine \"x\"");
  dir.write("a.zub.bin", "not a stream");
  setTime("a.zub.bin", statOf("a.zub").st_mtim);
  EXPECT_EQ(run(), u"");
  EXPECT_EQ(app->error().description(), u"不能打开预编译文件[" + fullName() + u".bin]。");
  EXPECT_EQ(app->error().sourceFull(), u"Yarrick.Application.ExecFile");
  // A folder in its place is no cache, and none can be made there.
  std::filesystem::remove(dir.at("a.zub.bin"));
  std::filesystem::create_directory(dir.at("a.zub.bin"));
  EXPECT_EQ(run(), u"");
  EXPECT_EQ(app->error().description(), u"不能建立脚本文件[" + fullName() + u"]的预编译文件。");
  EXPECT_EQ(app->error().sourceFull(), u"Yarrick.Application.CompFile");
}

TEST_F(Cache, ADefinitionLeftOpenIsACompileError) {
  script("Sub Main()\r\n  OutLine 1");
  EXPECT_EQ(run(), u"");
  EXPECT_EQ(app->error().description().rfind(
                u"在脚本文件[" + fullName() + u"]中的第 1 行出现编译错误。\r\n", 0),
            0u);
  EXPECT_FALSE(std::filesystem::exists(dir.at("a.zub.bin")));
}

}  // namespace
}  // namespace apptest
