// Every limit of the engine on what a script may ask for ends the run with
// a recorded error that says which limit it met, never a crash or a hang.
#include <gtest/gtest.h>

#include <string>

#include "core/errors.h"
#include "core/steps.h"
#include "hostfixture.h"
#include "testsupport.h"

namespace {

using enginetest::HostFixture;
using enginetest::scriptStream;
using enginetest::utf8;

std::u16string repeat(std::u16string_view s, int n) {
  std::u16string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

struct Limits : HostFixture {
  // Runs `source`; the number and description of the error it ends with.
  std::pair<int32_t, std::string> failure(std::u16string_view source) {
    host->execStream(*scriptStream(source));
    jespin::IErrInfo& e = host->error();
    return {e.haveErr() ? e.number() : 0, utf8(e.description())};
  }
};

TEST_F(Limits, EachEndsTheRunWithItsError) {
  struct Case {
    const char* what;
    std::u16string source;
    int32_t number;
    const char* description;  // a part of it
  };
  const Case cases[] = {
      {"expression of more than 1024 nodes", u"x = a" + repeat(u" + a", 2000),
       rt::err::ExpressionTooComplex, "表达式超过 1024 个节点"},
      {"brackets nested 2000 deep", u"x = " + repeat(u"(", 2000) + u"1" + repeat(u")", 2000),
       rt::err::ExpressionTooComplex, "表达式超过 1024 个节点"},
      {"blocks nested 300 deep", repeat(u"If 1 Then\r\n", 300) + repeat(u"EndIf\r\n", 300),
       rt::err::OutOfStackSpace, "语句块嵌套超过 256 层"},
      {"recursion without end", u"Function F(n)\r\n  F = F(n + 1)\r\nEnd Function\r\nx = F(1)",
       rt::err::OutOfStackSpace, "函数调用嵌套过深（最多 1000 层）"},
      {"a define that names itself", u"#define A = A + 1\r\nx = A",
       engine::errNumber(engine::ErrDirective), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto [number, description] = failure(c.source);
    EXPECT_EQ(number, c.number);
    EXPECT_NE(description.find(c.description), std::string::npos) << description;
  }
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
    auto [number, description] = failure(source);
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
  auto [number, description] = failure(u"Do While 1\r\nLoop");
  EXPECT_EQ(number, 18);
  EXPECT_NE(description.find("enough"), std::string::npos);
  EXPECT_EQ(checks, 5);
  EXPECT_EQ(engine::steps::budget.count, 50u);

  engine::steps::clearBudget();
  run(u"x = 0\r\nDo While x < 100000\r\n  x = x + 1\r\nLoop");  // no budget: no end
  EXPECT_EQ(valueOf(u"x"), "100000");
}

}  // namespace
