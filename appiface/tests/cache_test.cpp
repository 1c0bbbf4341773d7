// The second edition's compiled-script cache "<script>.bin".
#include <sys/stat.h>

#include <filesystem>

#include "apptest.h"
#include "rt/text.h"

namespace apptest {
namespace {

using namespace std::chrono_literals;

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
  void setTime(const std::string& name, struct timespec t) const { ASSERT_TRUE(dir.stamp(name, t)); }
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

// Compiled again unless the cache was written strictly after the script
// last changed (its text or its entry).
TEST_F(Cache, IsCompiledAgainUnlessMadeAfterTheScriptChanged) {
  struct Case {
    const char* what;
    bool edited;                     // to output "B"
    std::chrono::nanoseconds stamp;  // then the cache's time, from that change
    bool backdated;                  // then the script's own time a day back
    const char16_t* ran;
  };
  const Case cases[] = {
      {"unchanged", false, 0ns, false, u"A\r\n"},
      {"edited after", true, -1ns, false, u"B\r\n"},
      {"edited in the same tick: to the nanosecond the same time", true, 0ns, false, u"B\r\n"},
      {"edited before the cache was written", true, 1ns, false, u"A\r\n"},
      {"put back with an older time, as a copy that kept its times", true, -1h, true, u"B\r\n"},
  };
  const std::string header("\x88\x66\x66\x88\x0C\0\0\0ObjectStream\x01\0\0\0", 24);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(dir.at("a.zub.bin"));
    script("OutLine \"A\"");
    EXPECT_EQ(run(), u"A\r\n");
    EXPECT_EQ(dir.read("a.zub.bin").substr(0, 24), header);
    setTime("a.zub.bin", dir.changed("a.zub", 1s));  // settled
    const ino_t id = statOf("a.zub.bin").st_ino;
    if (c.edited) {
      script("OutLine \"B\"");
      setTime("a.zub.bin", dir.changed("a.zub", c.stamp));
    }
    if (c.backdated) setTime("a.zub", dir.changed("a.zub", -24h));  // older than the cache
    EXPECT_EQ(run(), c.ran);
    EXPECT_EQ(statOf("a.zub.bin").st_ino == id, c.ran == std::u16string(u"A\r\n"));
    EXPECT_EQ(app->error().number(), 0);
  }
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
  setTime("a.zub.bin", dir.changed("a.zub", 1s));
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
