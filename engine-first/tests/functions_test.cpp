// User functions on the first edition: each call replays the stored lines
// in a new space under the caller's, with the arguments bound by
// reference.
#include "hostfixture.h"
#include "rt/testing.h"

namespace dovreltest {
namespace {

TEST_F(HostTest, ArgumentsAndResults) {
  run({u"Function Add(a, b)", u"Add = a + b", u"a = 0", u"End Function",
       u"Sub Nothing1()", u"End Sub", u"x = 2", u"y = 3", u"OutLine Add(x, y)", u"OutLine x",
       u"OutLine Add(4)", u"OutLine TypeName(Nothing1())"});
  EXPECT_EQ(out(), "5\n0\n4\nEmpty\n");  // a parameter is the caller's variable
}

// One argument is bound whole unless it is a list of arguments: a
// collection is one argument.
TEST_F(HostTest, OneArgumentIsBoundWhole) {
  run({u"Function Size(c)", u"Size = c.Count", u"End Function", u"Dim c As Collection",
       u"c.Add 1 : c.Add 2 : c.Add 3", u"OutLine Size(c)"});
  EXPECT_EQ(out(), "3\n");
}

TEST_F(HostTest, AFunctionReadAsAValueRunsInTheReadersSpace) {
  run({u"Function N()", u"Dim k As Long", u"k = Len(\"abc\")", u"N = k", u"End Function",
       u"x = N", u"OutLine x"});
  EXPECT_EQ(out(), "3\n");
}

// Set on the function's own name inside it binds where the outer space has
// that name, over the result slot: the function's own binding is replaced,
// and the call returns its empty result.
TEST_F(HostTest, SetInsideAFunctionBindsInTheOuterSpace) {
  run({u"Function F()", u"Set F = CreateObject(\"Jespin.VValues\")", u"End Function",
       u"r = F()", u"OutLine TypeName(r) & \" \" & TypeName(F)",
       u"Set x = Nothing", u"x = 5", u"OutLine x & \" \" & (Nothing Is Nothing)"});
  EXPECT_EQ(out(), "Empty VValues\n5 True\n");
}

TEST_F(HostTest, ExitAndFailuresEndTheCall) {
  run({u"Function F(n)", u"Do", u"If n > 2 Then Exit Function", u"n = n + 1", u"Loop While 1",
       u"F = \"never\"", u"End Function", u"OutLine \"[\" & F(0) & \"]\""});
  EXPECT_EQ(out(), "[]\n");
  // The lines before the failing one ran; the failure is the calling line's.
  run({u"Sub G()", u"OutLine \"first\"", u"x = 1 / 0", u"OutLine \"never\"", u"End Sub"});
  EXPECT_EQ(feed({u"G"}), std::vector<int32_t>{-1});
  EXPECT_EQ(out(), "first\n");
  EXPECT_EQ(errNumber(), 11);
  EXPECT_EQ(description().rfind("在执行第14行", 0), 0u);
  EXPECT_NE(utf8(host->error().source()).find("Dovrel.SvUserFun.ScriptValue_FunCall"),
            std::string::npos);
}

TEST_F(HostTest, CallsRunTheLinesAfresh) {
  run({u"Function Fib(n)", u"If n < 2 Then", u"Fib = n", u"Else", u"Fib = Fib(n - 1) + Fib(n - 2)",
       u"End If", u"End Function", u"OutLine Fib(15) & \" \" & Fib(10)"});
  EXPECT_EQ(out(), "610 55\n");
}

TEST_F(HostTest, DeepRecursionIsError28) {
  run({u"Function R(n)", u"If n > 0 Then R = R(n - 1) + 1 Else R = 0", u"End Function"});
  run({u"OutLine R(500)"});
  EXPECT_EQ(out(), "500\n");
  EXPECT_EQ(feed({u"OutLine R(2000)"}), std::vector<int32_t>{-1});
  EXPECT_EQ(errNumber(), 28);
  run({u"OutLine R(3)"});  // and the function is as it was
  EXPECT_EQ(out(), "3\n");
}

TEST_F(HostTest, ABlockLeftOpenInABodyIsAnError) {
  run({u"Sub S()", u"If 1 Then", u"OutLine \"in\"", u"End Sub"});
  EXPECT_EQ(feed({u"S"}), std::vector<int32_t>{-1});
  EXPECT_EQ(errNumber(), engineError(4));
  EXPECT_EQ(out(), "");
}

// A ring that a call leaves behind goes while the host runs: however many
// calls leave one, the tokens the rings hold do not pile up, and FreeAll
// lets go of the one unbound last.
TEST_F(HostTest, RingsThatCallsLeaveGoWhileTheHostRuns) {
  rt::testing::Tokens tokens;
  ASSERT_EQ(script(u"Sub R()\nSet s.Parent = s\nSet s.T = CreateObject(\"Test.Token\")\nEnd Sub\n"
                   u"For i = 1 To 20000\nR\nNext\n"
                   u"Set last.Me = last\nSet last.T = CreateObject(\"Test.Token\")\nSet last = Nothing"),
            0);
  EXPECT_LT(tokens.live(), 5000);
  host->freeAll();
  EXPECT_EQ(tokens.live(), 0);
}

}  // namespace
}  // namespace dovreltest
