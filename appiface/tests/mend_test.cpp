// What a run reports when its host fails or re-enters it.
#include "apptest.h"
#include "rt/error.h"
#include "rt/text.h"

namespace apptest {
namespace {

using Mends = AppTest;

bool mentions(const std::u16string& text, std::u16string_view part) {
  return text.find(part) != std::u16string::npos;
}

TEST_P(Mends, AFailedLineStaysReportedAfterALaterCommand) {
  execFile("f.zub", {"a = 1", "b = 2", "c = 1 / 0", "d = 4", "Application.Done"});
  EXPECT_EQ(number(), rt::err::DivisionByZero);
  EXPECT_EQ(names(host->commands),
            edition() == 1 ? std::vector<std::u16string>{u"Done"} : std::vector<std::u16string>{});
}

TEST_P(Mends, AFailedCommandStaysReportedAfterALaterOne) {
  host->onCommand = [](const Command& c) {
    if (c.name == u"Bad") throw std::runtime_error("no such thing here");
  };
  execFile("f.zub", {"Application.Bad = 1", "Application.Fine"});
  EXPECT_EQ(names(host->commands), (std::vector<std::u16string>{u"Bad", u"Fine"}));
  EXPECT_EQ(number(), rt::err::AutomationError);
  EXPECT_EQ(description(), u"no such thing here");
  EXPECT_EQ(sourceFull(), u"Yarrick.Application.SendComm\r\n");  // the sink gave no source
}

TEST_P(Mends, AFailedCallFailsItsLine) {
  host->onCommand = [](const Command& c) {
    if (c.name == u"Bad") throw rt::RuntimeError(rt::err::InvalidCall, u"", u"Host.Bad");
  };
  execFile("f.zub", {"Application.Bad 1", "Application.After"});
  EXPECT_EQ(number(), rt::err::InvalidCall);
  EXPECT_TRUE(mentions(sourceFull(), u"SendCommVVS")) << rt::toUtf8(sourceFull());
  EXPECT_TRUE(mentions(sourceFull(), u"Host.Bad")) << rt::toUtf8(sourceFull());
  EXPECT_FALSE(app->host());
}

TEST_P(Mends, ASinkMayLetGoOfTheApplication) {
  yarrick::IApplication* running = app.get();
  host->onCommand = [this](const Command& c) {
    if (c.name == u"Drop") app = nullptr;  // the last reference but the run's
  };
  write("d.zub", {"Application.Drop", "Application.After", "x = Application.Ver"});
  running->execFile(u"d.zub");
  EXPECT_EQ(names(host->commands), (std::vector<std::u16string>{u"Drop", u"After"}));
}

TEST_P(Mends, ARunStartedFromACommandHasItsOwnHost) {
  write("inner.zub", {"Application.Inner", "x = 1 / 0"});
  rt::Ref<rt::Object> outerHost, innerHost;
  int32_t innerNumber = 0;
  host->onCommand = [&](const Command& c) {
    if (c.name == u"Nest") {
      outerHost = app->host();
      app->execFile(u"inner.zub");
      innerNumber = number();
      EXPECT_EQ(app->host(), outerHost);
    } else if (c.name == u"Inner") {
      innerHost = app->host();
    }
  };
  execFile("outer.zub", {"Application.Nest", "Application.Outer"});
  EXPECT_EQ(names(host->commands), (std::vector<std::u16string>{u"Nest", u"Inner", u"Outer"}));
  ASSERT_TRUE(innerHost && outerHost);
  EXPECT_NE(innerHost, outerHost);
  EXPECT_EQ(innerNumber, rt::err::DivisionByZero);
  EXPECT_EQ(number(), 0);  // the inner run's failure is its own
  EXPECT_FALSE(app->host());
}

// An Execute from a command handler whose text does not compile fails that
// Execute only: the outer run, which goes on well, reports nothing.
TEST_P(Mends, ACommandsExecuteThatDoesNotCompileIsItsOwnFailure) {
  int32_t innerNumber = 0;
  host->onCommand = [&](const Command& c) {
    if (c.name != u"Nest") return;
    app->execute(u"x = \"open quote");
    innerNumber = number();
  };
  execFile("outer.zub", {"Application.Nest", "Application.Outer"});
  EXPECT_EQ(names(host->commands), (std::vector<std::u16string>{u"Nest", u"Outer"}));
  EXPECT_EQ(innerNumber, static_cast<int32_t>(0x80040067));  // unpaired quote
  EXPECT_EQ(number(), 0);
  EXPECT_FALSE(app->host());
}

TEST_P(Mends, ABlockLeftOpenIsReported) {
  const std::vector<std::string> lines = {"If 1 Then", "  x = 1"};
  execFile("open.zub", lines);
  const int32_t expected = edition() == 1 ? static_cast<int32_t>(0x80040004)  // If syntax
                                          : static_cast<int32_t>(0x80040008);
  EXPECT_EQ(number(), expected);
  EXPECT_TRUE(mentions(description(), u"第 1 行的 If")) << rt::toUtf8(description());
  execute(lines);
  EXPECT_EQ(number(), expected);
}

TEST_P(Mends, RunsNestOnlySoDeep) {
  write("again.zub", {"Application.Again"});
  int depth = 0, deepest = 0;
  std::vector<int32_t> numbers;
  host->onCommand = [&](const Command&) {
    deepest = std::max(deepest, ++depth);
    app->execFile(u"again.zub");
    numbers.push_back(number());
    --depth;
  };
  app->execFile(u"again.zub");
  EXPECT_EQ(deepest, 32);
  EXPECT_EQ(number(), 0);
  // The run that could not start failed the command that started it.
  ASSERT_FALSE(numbers.empty());
  EXPECT_EQ(numbers.front(), rt::err::OutOfStackSpace);
  EXPECT_FALSE(app->host());
}

APP_TEST_EDITIONS(Mends);

}  // namespace
}  // namespace apptest
