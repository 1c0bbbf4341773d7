// Runs on both editions: script folders and names, what every run leaves
// behind, the host's input and output, and where the editions differ.
#include "apptest.h"
#include "rt/dispatch.h"
#include "rt/error.h"
#include "rt/text.h"

namespace apptest {
namespace {

using Runs = AppTest;

rt::Ref<zorbel::ScriptSpace> spaceOf(const rt::Ref<rt::Object>& host) {
  rt::Variant space = rt::callByName(host.get(), u"SSpace", rt::PropGet);
  return rt::queryRef<zorbel::ScriptSpace>(space.object());
}

TEST_P(Runs, ScriptFoldersEndInASlash) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"/s", u"/s/"}, {u"/s/", u"/s/"}, {u"\\s\\t", u"/s/t/"}, {u"", u"/"}, {u"C:", u"C:/"}};
  for (const auto& [given, kept] : cases) {
    app->setSptPath(given);
    EXPECT_EQ(app->sptPath(), kept) << rt::toUtf8(given);
  }
}

TEST_P(Runs, NamesAreTakenFromTheScriptFolder) {
  TempDir other;
  const std::string where = "Application.Where Application.SptFn, Application.SptPath";
  write("a.zub", {where});
  other.write("x.zub", where + "\r\n");
  app->execFile(u"a.zub");
  EXPECT_EQ(app->sptFileName(), dir.dir() + u"/a.zub");
  app->execFile(other.name("x.zub"));
  EXPECT_EQ(app->sptFileName(), other.dir() + u"/x.zub");
  EXPECT_EQ(app->sptPath(), other.dir() + u"/");
  execute({where});
  EXPECT_EQ(app->sptFileName(), u"");
  ASSERT_EQ(host->commands.size(), 3u) << rt::toUtf8(description());
  EXPECT_EQ(host->commands[0].args[0].text(), u"a.zub");
  EXPECT_EQ(host->commands[0].args[1].text(), dir.dir() + u"/");
  EXPECT_EQ(host->commands[1].args[0].text(), u"x.zub");
  EXPECT_EQ(host->commands[2].args[0].text(), u"");
}

TEST_P(Runs, SptFileNameIsAnAttributeOfTheSecondEditionOnly) {
  execFile("b.zub", {"Application.Where Application.SptFileName"});
  if (edition() == 1) {
    ASSERT_EQ(names(host->commands), (std::vector<std::u16string>{u"SptFileName", u"Where"}));
    EXPECT_EQ(host->commands[0].callType, yarrick::SaGet);
    EXPECT_EQ(host->commands[1].args[0].integer(), 0);
  } else {
    ASSERT_EQ(names(host->commands), (std::vector<std::u16string>{u"Where"}));
    EXPECT_EQ(host->commands[0].args[0].text(), u"b.zub");
  }
}

TEST_P(Runs, EveryRunLetsGoOfItsHost) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    bool sinkThrows;
  } cases[] = {
      {"normal", {"Application.Probe"}, false},
      {"failing", {"Application.Probe", "x = 1 / 0"}, false},
      {"sink throws", {"Application.Probe", "Application.Last = 1"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    rt::Ref<rt::Object> seen;
    rt::Ref<zorbel::ScriptSpace> space;
    host->onCommand = [&](const Command& cmd) {
      if (cmd.name != u"Probe") return;
      seen = app->host();
      space = spaceOf(seen);
      EXPECT_TRUE(space->existValue(u"Application"));
      if (c.sinkThrows) throw std::runtime_error("the host gave up");
    };
    execFile("p.zub", c.lines);
    EXPECT_FALSE(app->host());
    ASSERT_TRUE(space);
    EXPECT_FALSE(space->existValue(u"Application"));
  }
  app->execFile(u"missing.zub");
  EXPECT_FALSE(app->host());
  EXPECT_EQ(number(), -1);
}

TEST_P(Runs, AMissingScript) {
  app->execFile(u"none.zub");
  const std::u16string name = dir.dir() + u"/none.zub";
  EXPECT_EQ(number(), -1);
  if (edition() == 1) {
    EXPECT_EQ(description(), u"不能打开所要执行的脚本文件[" + name + u"]。");
    EXPECT_EQ(sourceFull(), u"Yarrick.Application.");
  } else {
    EXPECT_EQ(description(), u"不能发现所要执行的脚本文件[" + name + u"]。");
    EXPECT_EQ(sourceFull(), u"Yarrick.Application.ExecFile");
  }
}

TEST_P(Runs, AFailingLineEndsTheFileInTheSecondEditionOnly) {
  execFile("f.zub", {"x = 1/0", "Application.ShowInfo \"go on\""});
  EXPECT_EQ(number(), rt::err::DivisionByZero);
  EXPECT_EQ(names(host->commands), edition() == 1 ? std::vector<std::u16string>{u"ShowInfo"}
                                                  : std::vector<std::u16string>{});
}

TEST_P(Runs, AFailedStatementTellsItsLineInTheFirstEdition) {
  execFile("s.zub", {"a = 1", "", "b = 2", "c = 3", "d = 4", "e = 5", "x = 1 / 0"});
  EXPECT_EQ(number(), rt::err::DivisionByZero);
  EXPECT_EQ(description(),
            edition() == 1 ? u"在执行第7行脚本时出现下列错误：\r\n除数为零" : u"除数为零");
}

TEST_P(Runs, TextThatDoesNotCompile) {
  app->setSptFileName(u"kept");
  execute({"Application.A", "x = \"open", "Application.B"});
  EXPECT_EQ(number(), static_cast<int32_t>(0x80040067));
  EXPECT_FALSE(app->host());
  if (edition() == 1) {
    // Run line by line: up to the line that fails.
    EXPECT_EQ(names(host->commands), std::vector<std::u16string>{u"A"});
    EXPECT_EQ(app->sptFileName(), u"");
  } else {
    EXPECT_TRUE(host->commands.empty());
    EXPECT_EQ(app->sptFileName(), u"kept");
  }
}

TEST_P(Runs, InputIsAskedOfTheHostInTheSecondEditionOnly) {
  host->answers[u"InputLine"] = {rt::Variant(u"typed")};
  host->answers[u"InputChar"] = {rt::Variant(int32_t{65})};
  execute({"OutLine \"[\" & Input() & \"]\"", "OutLine GetChar()"});
  if (edition() == 1) {
    EXPECT_EQ(host->output, u"[]\r\n0\r\n");
    EXPECT_TRUE(host->commands.empty());
  } else {
    EXPECT_EQ(host->output, u"[typed]\r\n65\r\n");
    EXPECT_EQ(names(host->commands), (std::vector<std::u16string>{u"InputLine", u"InputChar"}));
    EXPECT_EQ(host->commands[0].callType, yarrick::SaMethod);
    EXPECT_TRUE(host->commands[0].args.empty());
  }
}

TEST_P(Runs, InputAnswersThatDoNotConvertFailTheScript) {
  if (edition() == 1) GTEST_SKIP() << "the first edition asks no input of the host";
  host->answers[u"InputChar"] = {rt::Variant(u"x")};
  execute({"c = GetChar()", "OutLine \"not here\""});
  EXPECT_EQ(number(), rt::err::TypeMismatch);
  EXPECT_EQ(host->output, u"");
  host->answers.clear();
  execute({"OutLine \"[\" & Input() & \"]\" & GetChar()"});
  EXPECT_EQ(host->output, u"[]0\r\n");  // unanswered: as the engine had them
}

APP_TEST_EDITIONS(Runs);

}  // namespace
}  // namespace apptest
