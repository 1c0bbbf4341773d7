// The first-edition host: lines as they arrive, continuation, directives,
// definitions, the end of a text, and a host that is never entered again
// while it runs a line.
#include <limits>
#include <stdexcept>

#include "hostfixture.h"

namespace dovreltest {
namespace {

TEST_F(HostTest, LinesRunAsTheyArrive) {
  EXPECT_EQ(host->execLine(u"OutLine \"a\""), 0);
  EXPECT_EQ(out(), "a\n");
  EXPECT_EQ(host->execLine(u"x = (1"), -1);
  EXPECT_EQ(errNumber(), engineError(102));
}

TEST_F(HostTest, FailuresNameTheirLineAndTheDispatcherChain) {
  EXPECT_EQ(feed({u"a = 1", u"", u"b = (1"}), (std::vector<int32_t>{0, 0, -1}));
  EXPECT_EQ(description(), "在执行第3行脚本时出现下列错误：\r\n脚本语法错误：不成对的括号");
  EXPECT_EQ(utf8(host->errString()), "在执行第3行脚本时出现下列错误：\r\n");
  const std::string source = utf8(host->error().source());
  EXPECT_EQ(source.rfind("Dovrel.ScriptHost.ExecLine\r\nDovrel.BodyGeneral.ExecBody_Execute\r\n"
                         "Dovrel.BodyGeneral.ExecLine\r\n",
                         0),
            0u)
      << source;
  // A keyword that starts nothing, with the chain the dispatcher gives it.
  host->execLine(u"Loop");
  EXPECT_EQ(errNumber(), engineError(1));
  EXPECT_EQ(utf8(host->error().source()),
            "Dovrel.ScriptHost.ExecLine\r\nDovrel.BodyGeneral.ExecBody_Execute\r\n"
            "Dovrel.BodyGeneral.ExecLine\r\nExecLine");
}

TEST_F(HostTest, ContinuedLines) {
  EXPECT_EQ(feed({u"x = 1 + _", u"2"}), (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(value(u"x"), "3");
  run({u"y = 10 - _ ' a comment after the mark", u"  4"});
  EXPECT_EQ(value(u"y"), "6");
  // Words on either side of the break stay apart.
  run({u"z = 7 _", u"Mod 4"});
  EXPECT_EQ(value(u"z"), "3");
  // An underscore without a blank before it continues nothing.
  EXPECT_EQ(host->execLine(u"w = 1_"), -1);
}

TEST_F(HostTest, FailingLinesLeaveTheNextLineAlone) {
  struct Case {
    const char16_t* line;
    int32_t number;
  } cases[] = {
      {u"#pragma once", engineError(1003)},
      {u"s = \"open", engineError(103)},
      {u"x = 中", engineError(1002)},  // refused by the tokenizer
  };
  for (const Case& c : cases) {
    const int32_t r = host->execLine(c.line);
    EXPECT_EQ(errNumber(), c.number) << utf8(c.line);
    EXPECT_EQ(r, -1) << utf8(c.line);
    EXPECT_EQ(host->execLine(u"ok = 2"), 0) << utf8(c.line);
    EXPECT_FALSE(host->error().haveErr()) << utf8(c.line);
  }
  EXPECT_EQ(value(u"ok"), "2");
}

TEST_F(HostTest, Directives) {
  run({u"#define TWO = 2", u"x = TWO", u"#deftype Str = Fennick.SvString", u"Dim s As Str",
       u"OutLine TypeName(s)"});
  EXPECT_EQ(value(u"x"), "2");
  EXPECT_EQ(out(), "String\n");
  std::vector<std::string> included;
  rec->onInclude = [&](const std::u16string& file) { included.push_back(utf8(file)); };
  run({u"#include  \"lib.zub\" "});
  EXPECT_EQ(included, std::vector<std::string>{"\"lib.zub\""});
  EXPECT_EQ(host->execLine(u"#define A = A"), 0);
  EXPECT_EQ(host->execLine(u"x = A"), -1);
  EXPECT_EQ(errNumber(), engineError(1003));
}

// An include handler may feed the included file's lines to the same host,
// keeping the including file's numbers.
TEST_F(HostTest, IncludedLinesOnTheSameHost) {
  rec->onInclude = [&](const std::u16string&) {
    const int32_t including = host->lineNumber();
    host->setLineNumber(0);
    host->execLine(u"a = 1");
    host->execLine(u"b = (");
    EXPECT_EQ(description().rfind("在执行第2行", 0), 0u);
    host->setLineNumber(including);
  };
  feed({u"x = 1", u"#include x"});
  EXPECT_EQ(host->lineNumber(), 2);
  host->execLine(u"c = (");
  EXPECT_EQ(description().rfind("在执行第3行", 0), 0u);
}

TEST_F(HostTest, Definitions) {
  EXPECT_EQ(feed({u"Sub Main()", u"OutLine \"in Main\"", u"End Sub"}),
            (std::vector<int32_t>{1, 1, 0}));
  EXPECT_EQ(host->errCode(), 0);
  EXPECT_EQ(out(), "");
  run({u"Main"});
  EXPECT_EQ(out(), "in Main\n");
  host->refreshSSP();
  EXPECT_FALSE(host->sSpace()->existValue(u"Main"));
  // Public or Private before Sub opens a definition too, run only when
  // called.
  run({u"Public Sub Hello()", u"OutLine \"hello\"", u"End Sub", u"Private x"});
  EXPECT_EQ(out(), "");
  run({u"Hello()"});
  EXPECT_EQ(out(), "hello\n");
  // Called before its definition, a function is not there yet.
  EXPECT_EQ(feed({u"Later()", u"Sub Later()", u"End Sub", u"Later()"}),
            (std::vector<int32_t>{-1, 1, 0, 0}));
}

// A header the function refuses is reported with its text, and its lines
// up to the End line are dropped, never run.
TEST_F(HostTest, RefusedHeader) {
  EXPECT_EQ(feed({u"Sub Main", u"OutLine \"body\"", u"End Sub"}),
            (std::vector<int32_t>{-1, 1, 0}));
  EXPECT_EQ(feed({u"OutLine \"after\""}), std::vector<int32_t>{0});
  EXPECT_EQ(out(), "after\n");
  host->execLine(u"Function F(a As Long)");
  EXPECT_EQ(errNumber(), engineError(7));
  EXPECT_EQ(description(),
            "在执行第5行脚本时出现下列错误：\r\n脚本语法错误：函数定义语句格式不正确：Function F(a As "
            "Long)");
}

TEST_F(HostTest, DimInTheTopLevelSpace) {
  EXPECT_EQ(feed({u"Dim a As Long", u"Dim a As Long"}), (std::vector<int32_t>{0, -1}));
  EXPECT_EQ(errNumber(), engineError(201));
  host->execLine(u"Dim b As Foo");
  EXPECT_EQ(errNumber(), engineError(202));
  run({u"Dim c", u"Public d"});  // no As: nothing declared
  EXPECT_FALSE(host->sSpace()->existValue(u"c"));
}

TEST_F(HostTest, ExecuteCutsLinesAtAnyLineEnd) {
  EXPECT_EQ(host->execute(u""), 0);
  EXPECT_EQ(host->lineNumber(), 0);
  host->execute(u"x = 1\r\n");
  EXPECT_EQ(host->lineNumber(), 1);
  host->execute(u"a = 1\nb = 2\rc = 3\r\nOutLine a + b + c");
  EXPECT_EQ(out(), "6\n");
  EXPECT_EQ(host->lineNumber(), 4);
  // It stops after the first line that fails.
  host->execute(u"OutLine 1\nx = 1 / 0\nOutLine 2");
  EXPECT_EQ(errNumber(), 11);
  EXPECT_EQ(out(), "1\n");
  EXPECT_EQ(host->execute(u"Sub Open()"), 1);
}

// At its largest value the line counter stays there; it is never set
// below 0.
TEST_F(HostTest, TheLineCounterNeitherWrapsNorGoesNegative) {
  constexpr int32_t kLast = std::numeric_limits<int32_t>::max();
  host->setLineNumber(kLast - 1);
  EXPECT_EQ(feed({u"x = 1", u"x = 2", u"x = 1 / 0"}), (std::vector<int32_t>{0, 0, -1}));
  EXPECT_EQ(host->lineNumber(), kLast);
  EXPECT_EQ(description().rfind("在执行第2147483647行", 0), 0u) << description();
  int32_t refused = 0;
  try {
    host->setLineNumber(-1);
  } catch (const rt::RuntimeError& e) {
    refused = e.number();
  }
  EXPECT_EQ(refused, rt::err::InvalidCall);
  EXPECT_EQ(host->lineNumber(), kLast);
}

TEST_F(HostTest, TheEndReportsWhatIsLeftOpen) {
  struct Case {
    const char16_t* text;
    int32_t number;
    const char* description;
  } cases[] = {
      {u"x = 1\nIf x Then\nOutLine 1", engineError(4),
       "在执行第2行脚本时出现下列错误：\r\n脚本语法错误：IF 语句格式不正确：第 2 行的 If 没有对应的 "
       "End If"},
      {u"Sub F()\nx = 1", engineError(7), nullptr},
      {u"x = 1\ny = 1 + _", engineError(1), nullptr},
      {u"For i = 1 To 2\nDo\nLoop Until 1", engineError(3), nullptr},
      {u"Do While 0", engineError(5), nullptr},
      {u"Select Case 1\nCase 1", engineError(6), nullptr},
      {u"With 1", engineError(1002), nullptr},
      // A block whose opening line failed is passed over to its closing line.
      {u"If Nothing.x Then\nx = 1", engineError(1004), nullptr},
      {u"x = 1\nIf 1 Then OutLine 1", 0, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(script(c.text), c.number) << utf8(c.text);
    if (c.description) {
      EXPECT_EQ(description(), c.description);
    }
    // What was open is gone: the next text starts afresh.
    EXPECT_EQ(host->execLine(u"End If"), -1) << utf8(c.text);
    EXPECT_EQ(errNumber(), engineError(1)) << utf8(c.text);
    EXPECT_EQ(host->execEnd(), 0);
  }
}

// Calls of the host from its own running line fail with 5 and leave the
// line, its dispatcher and its spaces as they were.
TEST_F(HostTest, NeverEnteredWhileALineRuns) {
  std::vector<int32_t> refused;
  rec->onOutput = [&] {
    auto tryIt = [&](auto&& f) {
      try {
        f();
        refused.push_back(0);
      } catch (const rt::RuntimeError& e) {
        refused.push_back(e.number());
      }
    };
    tryIt([&] { host->execLine(u"OutLine 2"); });
    tryIt([&] { host->execute(u"x = 1"); });
    tryIt([&] { host->execEnd(); });
    tryIt([&] { host->freeAll(); });
    tryIt([&] { host->refreshSSP(); });
    rec->onOutput = nullptr;
  };
  run({u"For i = 1 To 2", u"OutLine i", u"Next"});
  EXPECT_EQ(refused, (std::vector<int32_t>{5, 5, 5, 5, 5}));
  EXPECT_EQ(out(), "1\n2\n");
  // From the script itself, through its "ScriptHost".
  feed({u"Dim o As Object", u"o = ScriptHost", u"o.ExecLine \"OutLine 3\""});
  EXPECT_EQ(errNumber(), 5);
  EXPECT_NE(description().find("正在运行"), std::string::npos);
  EXPECT_EQ(feed({u"o.FreeAll", u"OutLine \"still\""}), (std::vector<int32_t>{-1, 0}));
  EXPECT_EQ(out(), "still\n");
  // Between lines the script's host is the host itself.
  std::vector<rt::Variant> line{rt::Variant(u"OutLine 4")};
  EXPECT_EQ(rt::toLong(rt::callByName(host.get(), u"ExecLine", rt::Method, line)), 0);
  EXPECT_EQ(out(), "4\n");
}

TEST_F(HostTest, FreeAllLeavesAHostThatRefusesCleanly) {
  run({u"Sub F()", u"End Sub", u"x = 1", u"If 1 Then"});
  host->freeAll();
  EXPECT_EQ(host->execLine(u"y = 2"), -1);
  EXPECT_EQ(errNumber(), 91);
  EXPECT_EQ(host->sSpace(), nullptr);
  EXPECT_EQ(host->execEnd(), 0);
}

}  // namespace
}  // namespace dovreltest
