// Start-up, the event scripts, the end, and the program's paths.
#include <gtest/gtest.h>

#include <signal.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "marlox/messages.h"
#include "marlox/paths.h"
#include "marlox/scriptbridge.h"
#include "rig.h"
#include "yarrick/application.h"

namespace {

using marloxtest::FakeRun;
using marloxtest::Rig;
using rt::Variant;

TEST(Paths, AddBackslashAndAbsPath) {
  struct Case {
    const char16_t* in;
    const char16_t* backslashed;
    const char16_t* absolute;  // from the folder "/p/"
  } cases[] = {
      {u"", u"/", u"/p/"},
      {u"/", u"/", u"/"},
      {u"a", u"a/", u"/p/a"},
      {u"a\\b\\", u"a/b/", u"/p/a/b/"},
      {u"events/x.zub", u"events/x.zub/", u"/p/events/x.zub"},
      {u"\\srv\\x.zub", u"/srv/x.zub/", u"/srv/x.zub"},
      {u"C:\\s\\a.zub", u"C:/s/a.zub/", u"/p/C:/s/a.zub"},  // no drives here
      {u"/abs/x.zub", u"/abs/x.zub/", u"/abs/x.zub"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(marlox::addBackslash(c.in), c.backslashed) << rt::toUtf8(c.in);
    EXPECT_EQ(marlox::absPath(u"/p/", c.in), c.absolute) << rt::toUtf8(c.in);
  }
  EXPECT_EQ(marlox::addQuotes(u"a b"), u"\"a b\"");
}

// What ran, in order, as the fake scripts note it.
struct Journal {
  std::vector<std::string> lines;
  marloxtest::FakeScript note(const std::string& what, Rig& rig) {
    return [this, what, &rig](FakeRun&) {
      lines.push_back(what + (rig.program->hasFrame() ? " with window" : " without window"));
    };
  }
};

TEST(StartUp, FirstRunOnlyWhileTheKeyIsSet) {
  struct Case {
    const char* main;  // the [Main] lines
    bool firstRuns;
    const char16_t* keyAfter;
  } cases[] = {{"", false, u""},
               {"IsFirstRun=0\n", false, u"0"},
               {"IsFirstRun=1\n", true, u"0"},
               {"IsFirstRun=-3\n", true, u"0"}};
  for (const Case& c : cases) {
    Rig rig(std::string("[Main]\n") + c.main + "[Events]\nFirstRun=first.zub\nRun=run.zub\n");
    Journal journal;
    rig.apps->add(rig.appPath() + u"first.zub", journal.note("first", rig));
    rig.apps->add(rig.appPath() + u"run.zub", journal.note("run", rig));
    rig.start();
    std::vector<std::string> expected;
    if (c.firstRuns) expected.push_back("first without window");
    expected.push_back("run without window");
    EXPECT_EQ(journal.lines, expected) << c.main;
    EXPECT_EQ(rig.program->profile().getValue(u"Main", u"IsFirstRun"), c.keyAfter);
    EXPECT_EQ(rig.program->profile().getValue(u"Main", u"curPath"), rig.appPath());
    EXPECT_EQ(rig.windowsOpened, 1);
    EXPECT_EQ(rig.window.caption, u"新文件 - Pelmora文本变换器");
    rig.checkAll();
  }
}

TEST(StartUp, FirstRunWithNothingBoundClearsTheKey) {
  Rig rig("[Main]\nIsFirstRun=1\n");
  rig.start();
  EXPECT_EQ(rig.program->profile().getInt(u"Main", u"IsFirstRun", 9), 0);
  EXPECT_EQ(rig.apps->created, 0);
  rig.checkAll();
}

TEST(StartUp, AFailingFirstRunIsShownOnceAndStaysDue) {
  Rig rig("[Main]\nIsFirstRun=1\n[Events]\nFirstRun=events/first.zub\n");
  rig.apps->add(rig.appPath() + u"events/first.zub", [](FakeRun& run) { run.fail(11, u"除数为零"); });
  rig.ui->expectMessageBox(
      u"执行脚本时出现错误：\r\n除数为零\r\n错误位置：Yarrick.Application.ExecFile", rt::mb::Ok);
  rig.start();
  EXPECT_EQ(rig.program->profile().getInt(u"Main", u"IsFirstRun"), 1);
  ASSERT_EQ(rig.ui->asked().size(), 1u);
  EXPECT_EQ(rig.ui->asked()[0].style, rt::mb::Critical);
  EXPECT_EQ(rig.ui->asked()[0].title, u"Pelmora文本变换器");
  rig.checkAll();
}

TEST(StartUp, EventPathsAreTakenFromTheProgramFolder) {
  Rig rig("[Events]\nRun=sub\\run.zub\nFileNew=/elsewhere/new.zub\n");
  Journal journal;
  rig.apps->add(rig.appPath() + u"sub/run.zub", journal.note("run", rig));
  rig.apps->add(u"/elsewhere/new.zub", journal.note("new", rig));
  rig.start();
  EXPECT_TRUE(rig.doc().cmFileNew());
  EXPECT_EQ(journal.lines, (std::vector<std::string>{"run without window", "new with window"}));
  rig.checkAll();
}

TEST(StartUp, AMissingEventScriptReportsTheApplicationsOwnError) {
  Rig rig("[Events]\nRun=gone.zub\n");
  rig.ui->expectMessageBox(u"执行脚本时出现错误：\r\n不能打开所要执行的脚本文件[" + rig.appPath() +
                               u"gone.zub]。\r\n错误位置：Yarrick.Application.",
                           rt::mb::Ok);
  rig.start();
  rig.checkAll();
}

// An Application that cannot be made fails RunEvent itself: the box names
// the profile's text as written, and the event's result is False.
TEST(StartUp, RunEventNamesTheProfileTextWhenTheBridgeFails) {
  Rig rig("[Events]\nFileNew=events\\new one.zub\n");
  rig.start();
  rt::registerLocalClass(u"Yarrick.Application", yarrick::IApplication::firstEdition,
                         [] { return rt::Ref<rt::Object>(rt::make<rt::ScriptedHost>()); });
  rig.ui->expectMessageBox(
      u"程序运行时出现以下错误，如一直不能解决，请与开发者联系：\r\n\r\n在执行脚本[events\\new one.zub]时出现错误。",
      rt::mb::Ok);
  EXPECT_FALSE(rig.program->runEvent(u"FileNew"));
  EXPECT_EQ(rig.ui->asked().back().title, u"Pelmora文本变换器 运行错误");
  EXPECT_EQ(rig.ui->beeps(), 1);
  rig.checkAll();
}

TEST(Quit, RunsOnceAfterTheCloseWhileTheWindowExists) {
  Rig rig("[Events]\nQuit=quit.zub\n");
  Journal journal;
  rig.apps->add(rig.appPath() + u"quit.zub", journal.note("quit", rig));
  rig.start();
  EXPECT_TRUE(journal.lines.empty());
  EXPECT_TRUE(rig.close());
  rig.program->quit();
  EXPECT_EQ(journal.lines, std::vector<std::string>{"quit with window"});
  EXPECT_FALSE(rig.program->hasFrame());
  EXPECT_FALSE(rig.program->runEvent(u"Quit"));  // nothing runs after the end
  rig.checkAll();
}

// A close asked for while a script runs waits for the outermost run; the
// window is then asked to close again (and asks its question then).
TEST(Quit, ACloseDuringAScriptWaitsForTheRunToEnd) {
  Rig rig;
  rig.start();
  bool closedInside = true;
  int requestsInside = -1;
  rig.apps->add(u"/s/outer.zub", [&](FakeRun&) {
    closedInside = rig.close();
    EXPECT_TRUE(rig.program->bridge().zubExec(u"/s/inner.zub"));
    requestsInside = rig.window.closeRequests;
  });
  rig.apps->add(u"/s/inner.zub", [](FakeRun&) {});
  EXPECT_TRUE(rig.program->bridge().zubExec(u"/s/outer.zub"));
  EXPECT_FALSE(closedInside);
  EXPECT_EQ(requestsInside, 0);
  EXPECT_EQ(rig.window.closeRequests, 1);
  EXPECT_FALSE(rig.program->quitting());
  EXPECT_TRUE(rig.close());
  rig.checkAll();
}

// A host that calls `atYield` at its yields until it answers true.
class YieldHookHost final : public rt::ScriptedHost {
 public:
  std::function<bool()> atYield;
  void yield() override {
    rt::ScriptedHost::yield();
    if (atYield && atYield()) atYield = nullptr;
  }
};

// A close while a script waits in ExecCmd ends the command's process, and
// what that started, though both ignore SIGTERM, and stops the script: the
// method commands it sends afterwards show nothing.  Once the run has
// ended the next run is answered as usual.
TEST(Quit, ACloseDuringAScriptStopsItAndEndsTheCommandItWaitsFor) {
  auto host = rt::make<YieldHookHost>();
  Rig rig({}, host);
  rig.start();
  bool closedInside = true;
  const std::string pidFile = rig.home.path() + "/pid";
  const std::string startedFile = rig.home.path() + "/started";
  // The close comes once the command's process has told its id.
  host->atYield = [&] {
    if (marloxtest::TempDir::readFile(pidFile).empty()) return false;
    closedInside = rig.close();
    return true;
  };
  rig.apps->add(u"/s/wait.zub", [&](FakeRun& run) {
    run.send(u"ExecCmd", yarrick::SaMethod,
             {Variant(u"sh -c \"trap '' TERM; sleep 30 & echo $! > '" + rt::fromUtf8(startedFile) + u"'; echo $$ > '" +
                      rt::fromUtf8(pidFile) + u"'; wait\"")});
    EXPECT_TRUE(rig.program->bridge().stopping());
    run.send(u"ShowInfo", yarrick::SaMethod, {Variant(u"not shown")});
  });
  EXPECT_TRUE(rig.program->bridge().zubExec(u"/s/wait.zub"));
  EXPECT_FALSE(closedInside);
  EXPECT_EQ(rig.window.closeRequests, 1);
  EXPECT_FALSE(rig.program->bridge().stopping());
  const std::string pid = marloxtest::TempDir::readFile(pidFile);
  ASSERT_FALSE(pid.empty());
  EXPECT_NE(::kill(std::stoi(pid), 0), 0);
  EXPECT_EQ(errno, ESRCH);
  const std::string started = marloxtest::TempDir::readFile(startedFile);
  ASSERT_FALSE(started.empty());
  EXPECT_TRUE(marloxtest::processEnded(started));

  rig.apps->add(u"/s/info.zub", [](FakeRun& run) { run.send(u"ShowInfo", yarrick::SaMethod, {Variant(u"shown")}); });
  rig.ui->expectMessageBox(u"shown", 1);
  EXPECT_TRUE(rig.program->bridge().zubExec(u"/s/info.zub"));
  rig.checkAll();
}

}  // namespace
