// Every limit of the engine on what a script may ask for ends the run with
// a recorded error that says which limit it met, never a crash or a hang.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "core/scriptcompile.h"
#include "core/steps.h"
#include "hostfixture.h"
#include "rt/testing.h"
#include "testsupport.h"

namespace {

using enginetest::HostFixture;
using enginetest::utf8;

std::u16string repeat(std::u16string_view s, int n) {
  std::u16string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

struct Limits : HostFixture {
  struct Failure {
    int32_t number = 0;
    std::string description;
    int32_t compiledLine = 0;  // the line the compiler refused, 0 when it took all
  };
  // Compiles and runs `source`: the error it ends with, the compiler's when
  // it refuses a line.
  Failure failure(std::u16string_view source) {
    auto compiler = rt::make<engine::ScriptCompile>();
    rt::Ref<nubrel::IMemStream> ms = enginetest::memStream();
    compiler->compile(source, *ms);
    if (jespin::IErrInfo& e = compiler->error(); e.haveErr())
      return {e.number(), utf8(e.description()), compiler->curLineCode()};
    ms->setDir(nubrel::InStream);
    host->execStream(*ms);
    jespin::IErrInfo& e = host->error();
    return {e.haveErr() ? e.number() : 0, utf8(e.description())};
  }
  // A script, the error it ends with and the line the compiler refused.
  struct Case {
    const char* what;
    std::u16string source;
    int32_t number;
    int32_t compiledLine;
  };
  void expectEach(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      Failure f = failure(c.source);
      EXPECT_EQ(f.number, c.number) << f.description;
      EXPECT_EQ(f.compiledLine, c.compiledLine);
    }
  }
};

// What no host could load is refused by the compiler, at its line, so that
// no compiled script holds it, also where the script's own macros make it;
// what only a run makes too much ends the run.
TEST_F(Limits, EachEndsTheRunWithItsError) {
  struct Case {
    const char* what;
    std::u16string source;
    int32_t number;
    const char* description;  // a part of it
    int32_t compiledLine;
  };
  const Case cases[] = {
      {"expression of more than 1024 nodes", u"x = 1\r\nx = a" + repeat(u" + a", 2000),
       rt::err::ExpressionTooComplex, "表达式超过 1024 个节点", 2},
      {"brackets nested 2000 deep", u"x = " + repeat(u"(", 2000) + u"1" + repeat(u")", 2000),
       rt::err::ExpressionTooComplex, "表达式超过 1024 个节点", 1},
      {"1500 strings in a row", u"x = \"" + repeat(u"\"\"", 1500) + u"\"",
       rt::err::ExpressionTooComplex, "表达式超过 1024 个节点", 1},
      {"a condition of more than 1024 nodes", u"If 0 Then\r\nElseIf a" + repeat(u" + a", 2000) +
       u" Then\r\nEnd If", rt::err::ExpressionTooComplex, "表达式超过 1024 个节点", 2},
      {"in a function's body", u"Function F()\r\n  F = 1\r\n  F = a" + repeat(u" + a", 2000) +
       u"\r\nEnd Function", rt::err::ExpressionTooComplex, "表达式超过 1024 个节点", 3},
      {"blocks nested 300 deep", repeat(u"If 1 Then\r\n", 300) + repeat(u"EndIf\r\n", 300),
       rt::err::OutOfStackSpace, "语句块嵌套超过 256 层", 257},
      {"more than 1024 nodes once a define is expanded",
       u"#define BIG = b" + repeat(u" + b", 600) + u"\r\nx = BIG + BIG", rt::err::ExpressionTooComplex,
       "表达式超过 1024 个节点", 2},
      {"recursion without end", u"Function F(n)\r\n  F = F(n + 1)\r\nEnd Function\r\nx = F(1)",
       rt::err::OutOfStackSpace, "函数调用嵌套过深（最多 1000 层）", 0},
      {"a define that names itself", u"#define A = A + 1\r\nx = A",
       engine::errNumber(engine::ErrDirective), "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Failure f = failure(c.source);
    EXPECT_EQ(f.number, c.number);
    EXPECT_NE(f.description.find(c.description), std::string::npos) << f.description;
    EXPECT_EQ(f.compiledLine, c.compiledLine);
  }
}

// The compiler reads each line as the host will, with the macros the script
// has defined so far expanded, in a function's body too; a macro defined
// later, or one whose expansion never ends, is the host's to meet.
TEST_F(Limits, TheCompilerSeesWhatTheMacrosMake) {
  const std::u16string fors = repeat(u"F i = 1 To 1\r\n", 260);
  const std::u16string fiveTimes = u"#define Q = _1 + _1 + _1 + _1 + _1\r\n";
  constexpr int32_t tooDeep = rt::err::OutOfStackSpace;
  expectEach({
      {"260 For made by a macro", u"#define F = For\r\n" + fors, tooDeep, 258},
      {"made by a macro of a macro", u"#define G = For\r\n#Define F = G\r\n" + fors, tooDeep, 259},
      {"in a function's body", u"#define F = For\r\nSub S()\r\n" + fors + u"End Sub", tooDeep, 259},
      {"a macro defined within the definition",
       u"Sub S()\r\n#define F = For\r\n" + fors + u"End Sub", tooDeep, 259},
      {"625 nodes made by arguments", fiveTimes + u"x = Q(Q(Q(Q(a))))", 0, 0},
      {"3125 nodes made by arguments", fiveTimes + u"x = Q(Q(Q(Q(Q(a)))))", rt::err::ExpressionTooComplex,
       2},
      {"used before its define: not expanded there", u"F = 1\r\n#define F = For", 0, 0},
      {"defined again as nothing", u"#define F = For\r\n#define F\r\n" + repeat(u"F x = 1\r\n", 260), 0,
       0},
  });
}

// The compiler feeds a line only when a bound read off its tokens cannot
// clear it: the bound must refuse at each limit exactly, and lines that
// take it far above what they do must not move the refusal.
TEST_F(Limits, TheCompilerRefusesExactlyAtEachLimit) {
  const std::u16string ifs = repeat(u"If 1 Then\r\n", 255);
  const std::u16string dims = repeat(u"Dim a With\r\n", 300);  // a With the Dim ignores
  constexpr int32_t tooDeep = rt::err::OutOfStackSpace;
  expectEach({
      {"blocks nested 256 deep", ifs + u"If 1 Then\r\nx = 1\r\n" + repeat(u"End If\r\n", 256), 0,
       0},
      {"blocks nested 257 deep", ifs + u"If 1 Then\r\nIf 1 Then\r\n", tooDeep, 257},
      {"a line opening two at 255", ifs + u"If 1 Then If 1 Then x = 1\r\n", tooDeep, 256},
      {"a Next in brackets closes nothing", ifs + u"Do\r\nExit Do (1 : Next)\r\nIf 1 Then\r\n",
       tooDeep, 258},
      {"Dim lines naming With", u"With o\r\n" + dims + ifs + u"If 1 Then\r\n", tooDeep, 557},
      {"the same in a function",
       u"Function F()\r\nWith o\r\n" + dims + ifs + u"If 1 Then\r\n" + repeat(u"End If\r\n", 256) +
           u"End With\r\nEnd Function",
       tooDeep, 558},
      {"1024 brackets: the host's to refuse", repeat(u"(", 1024),
       engine::errNumber(engine::ErrBracket), 0},
      {"1025 brackets", repeat(u"(", 1025), rt::err::ExpressionTooComplex, 1},
  });
}

// Nesting within the limits above, on stacks far smaller than the usual
// 8 MB: each run ends with its result or with error 28 from the stack
// checks, never by running off the stack.
TEST_F(Limits, SmallStacksEndDeepNestingWithAnError) {
  struct Case {
    const char* what;
    std::u16string source;
    const char* output;
  };
  const Case cases[] = {
      {"1000 minus signs", u"x = " + repeat(u"-", 1000) + u"1\r\nOutLine x", "1\r\n"},
      {"500 brackets", u"x = " + repeat(u"(", 500) + u"2" + repeat(u")", 500) + u"\r\nOutLine x",
       "2\r\n"},
      {"250 For", repeat(u"For i = 1 To 1\r\n", 250) + u"OutLine 3\r\n" + repeat(u"Next\r\n", 250),
       "3\r\n"},
      {"250 If", repeat(u"If 1 Then\r\n", 250) + u"OutLine 4\r\n" + repeat(u"EndIf\r\n", 250),
       "4\r\n"},
      {"250 If on one line", repeat(u"If 1 Then ", 250) + u"OutLine 5", "5\r\n"},
      {"1000 joins", u"x = 6" + repeat(u" & \"\"", 1000) + u"\r\nOutLine x", "6\r\n"},
      {"a call nested 1000 deep",
       u"Function F(n)\r\nIf n > 0 Then F = F(n - 1) Else F = 7\r\nEnd Function\r\nOutLine F(999)",
       "7\r\n"},
  };
  int stopped = 0;
  for (size_t kb : {128, 192, 512}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " on " + std::to_string(kb) + " KB");
      rec->events.clear();
      Failure end;
      ASSERT_TRUE(rt::testing::onStackOf(kb << 10, [&] { end = failure(c.source); }));
      if (end.number == 0) {
        EXPECT_EQ(rec->output(), c.output);
      } else {
        EXPECT_EQ(end.number, rt::err::OutOfStackSpace) << end.description;
        ++stopped;
      }
    }
  }
  EXPECT_GT(stopped, 0);  // the small stacks do not hold all of them
}

// The step budget of the fuzz targets: statements and loop passes count,
// and a check may let the run go on.
class StepBudget : public Limits {
 protected:
  ~StepBudget() override { engine::steps::clearBudget(); }
};

TEST_F(StepBudget, EndsLoopsThatNeverEnd) {
  const char16_t* loops[] = {
      u"Do While 1\r\nLoop",  // an empty pass counts too
      u"x = 0\r\nDo\r\n  x = x + 1\r\nLoop Until x < 0",
      u"For i = 1 To 10\r\n  i = 1\r\nNext",
      u"Sub S()\r\n  y = 1\r\nEnd Sub\r\nDo While 1\r\n  S\r\nLoop",
      // 2^40 calls, never more than 40 deep
      u"Sub S(n)\r\n  If n < 40 Then\r\n    S(n + 1)\r\n    S(n + 1)\r\n  EndIf\r\nEnd Sub\r\nS(0)",
  };
  for (const char16_t* source : loops) {
    SCOPED_TRACE(utf8(source));
    engine::steps::setBudget(10000, nullptr);
    auto [number, description, line] = failure(source);
    EXPECT_EQ(number, 18);
    EXPECT_NE(description.find("运行的步数达到上限"), std::string::npos) << description;
    EXPECT_LE(engine::steps::budget.count, 10001u);
  }
}

TEST_F(StepBudget, ACheckDecides) {
  static int checks;
  checks = 0;
  engine::steps::setBudget(10, []() -> const char16_t* {
    ++checks;
    engine::steps::budget.limit += 10;
    return checks < 5 ? nullptr : u"enough";
  });
  auto [number, description, line] = failure(u"Do While 1\r\nLoop");
  EXPECT_EQ(number, 18);
  EXPECT_NE(description.find("enough"), std::string::npos);
  EXPECT_EQ(checks, 5);
  EXPECT_EQ(engine::steps::budget.count, 50u);

  engine::steps::clearBudget();
  run(u"x = 0\r\nDo While x < 100000\r\n  x = x + 1\r\nLoop");  // no budget: no end
  EXPECT_EQ(valueOf(u"x"), "100000");
}

}  // namespace
