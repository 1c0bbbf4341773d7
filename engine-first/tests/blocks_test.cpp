// The first edition's block statements: what they run, when they yield,
// and that a block is over once its closing line has been handled, however
// its run ended.
#include "hostfixture.h"
#include "rt/strings.h"
#include "rt/testhost.h"

namespace dovreltest {
namespace {

TEST_F(HostTest, ForPassesAndWhereTheVariableStops) {
  struct Case {
    const char16_t* header;
    const char* passes;
    const char* last;
  } cases[] = {
      {u"For i = 1 To 3", "3", "4"},
      {u"For i = 3 To 1 Step -1", "3", "0"},
      {u"For i = 1 To 0", "0", "1"},
      {u"For i = 1 To 3 Step 0.5", "0", "1"},  // a step of 0: at or above the end
      {u"For i = 1 To 2.5", "2", "3"},         // an end of 2
      {u"For i = 1 To 3.5", "4", "5"},         // an end of 4
      {u"For i = 1 To i + 2", "3", "4"},       // the end sees the start value
  };
  for (const Case& c : cases) {
    run({u"n = 0", c.header, u"n = n + 1", u"Next"});
    EXPECT_EQ(value(u"n"), c.passes) << utf8(c.header);
    EXPECT_EQ(value(u"i"), c.last) << utf8(c.header);
  }
}

// A UI host that counts yields, and may set the host's RunStop at one.
class YieldCounter final : public rt::ScriptedHost {
 public:
  std::function<void(int)> onYield;
  void yield() override {
    ScriptedHost::yield();
    if (onYield) onYield(yields());
  }
};

TEST_F(HostTest, LoopsYieldAfterEachPass) {
  struct Case {
    const char16_t* text;
    int yields;
  } cases[] = {
      {u"For i = 1 To 3\nNext", 3},
      {u"i = 0\nDo While i < 3\ni = i + 1\nLoop", 3},
      {u"i = 0\nDo\ni = i + 1\nLoop Until i = 3", 2},  // not after the first pass
      {u"Dim c As Collection\nc.Add 1 : c.Add 2 : c.Add 3 : c.Add 4\nFor Each x In c\nNext", 4},
      {u"If 1 Then\nFor i = 1 To 2\nNext\nEnd If", 2},
  };
  for (const Case& c : cases) {
    auto counter = rt::make<YieldCounter>();
    rt::ScopedUiHost installed(counter);
    EXPECT_EQ(script(c.text), 0) << utf8(c.text);
    EXPECT_EQ(counter->yields(), c.yields) << utf8(c.text);
  }
}

TEST_F(HostTest, RunStopEndsALoopQuietly) {
  auto counter = rt::make<YieldCounter>();
  counter->onYield = [&](int n) {
    if (n == 2) host->setRunStop(true);
  };
  rt::ScopedUiHost installed(counter);
  EXPECT_EQ(feed({u"n = 0", u"Do While 1", u"n = n + 1", u"Loop"}),
            (std::vector<int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(value(u"n"), "2");
  EXPECT_EQ(host->execLine(u"OutLine \"next\""), 0);
  EXPECT_EQ(out(), "next\n");
}

// A program that is to exit ends the run at a yield: the loop yielding
// ends there, For Each too, so nothing yields again, and no further line
// runs, in the loop's body, in a function, after the loop or in a later
// line the program gives the host.  RunStop, the script's own, still
// leaves For Each going.
TEST_F(HostTest, EndRunEndsEveryLoopAndRunsNoFurtherLine) {
  const struct {
    const char16_t* text;
    int atYield;
    bool end;  // else RunStop
    const char* out;
  } rows[] = {
      {u"Dim c As Collection\nc.Add 1\nFor Each a In c\nc.Add a\nOutLine a\nNext\nOutLine \"after\"", 3, true,
       "1\n1\n1\n"},
      {u"Dim c As Collection\nFor i = 1 To 50\nc.Add i\nNext\nFor Each a In c\nFor Each b In c\nNext\n"
       u"OutLine \"inner done\"\nNext\nOutLine \"after\"",
       60, true, ""},
      {u"For i = 1 To 9\nOutLine i\nNext\nOutLine \"after\"", 2, true, "1\n2\n"},
      {u"Do While 1\nOutLine \"pass\"\nLoop\nOutLine \"after\"", 1, true, "pass\n"},
      {u"Function F()\nDo While 1\nLoop\nOutLine \"in F\"\nEnd Function\nx = F()\nOutLine \"after\"", 2, true, ""},
      {u"If 1 Then\nDoEvents\nOutLine \"in If\"\nEnd If\nOutLine \"after\"", 1, true, ""},
      {u"Dim c As Collection\nc.Add 1 : c.Add 2 : c.Add 3\nFor Each a In c\nOutLine a\nNext\nOutLine \"after\"", 1,
       false, "1\n2\n3\nafter\n"},
  };
  for (const auto& r : rows) {
    rt::Ref<dovrel::ScriptHost> h = dovrel::ScriptHost::create();
    auto output = rt::make<Recorder>();
    h->advise(output);
    auto counter = rt::make<YieldCounter>();
    counter->onYield = [&](int n) {
      if (n == r.atYield) r.end ? h->endRun() : h->setRunStop(true);
      // A loop that does not end fails instead of running for ever.
      if (n > r.atYield + 100) rt::raise(rt::err::Internal);
    };
    rt::ScopedUiHost installed(counter);
    for (std::u16string_view line : rt::splitLines(r.text)) {
      h->execLine(line);
      EXPECT_FALSE(h->error().haveErr()) << utf8(line) << ": " << utf8(h->error().description());
    }
    EXPECT_EQ(h->execLine(u"OutLine \"later\""), 0);
    EXPECT_EQ(h->execEnd(), 0);
    const std::string later = r.end ? "" : "later\r\n";
    std::string want = r.out;
    for (size_t i = 0; (i = want.find('\n', i)) != std::string::npos; i += 2) want.insert(i, "\r");
    EXPECT_EQ(output->out, want + later) << utf8(r.text);
    EXPECT_EQ(counter->yields(), r.end ? r.atYield : 3) << utf8(r.text);
    h->freeAll();
  }
}

// Going on after a failing line, as the application interface does.
TEST_F(HostTest, ABlockWhoseOpeningLineFailsIsPassedOver) {
  EXPECT_EQ(feed({u"If Nothing.x Then", u"OutLine \"in\"", u"If 1 Then", u"End If", u"Else",
                  u"OutLine \"else\"", u"End If", u"OutLine \"after\""}),
            (std::vector<int32_t>{-1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(out(), "after\n");
  // The opening line holds the whole statement: nothing is passed over.
  EXPECT_EQ(feed({u"For i = 1 To 3 : Next", u"OutLine \"next\""}), (std::vector<int32_t>{-1, 0}));
  EXPECT_EQ(out(), "next\n");
}

// The header readers are the second edition's; the statement's own error
// comes from the first line, and the block's lines are passed over.
TEST_F(HostTest, MalformedHeadersAreRefusedWithTheirStatementsError) {
  const struct {
    std::u16string_view header;
    std::u16string_view closer;
    int32_t code;
  } rows[] = {
      {u"For i To 5", u"Next", engine::ErrForSyntax},
      {u"For i = 1", u"Next", engine::ErrForSyntax},
      {u"For i = 1 To 5 Step", u"Next", engine::ErrForSyntax},
      {u"For i = 1 Step 2 To 5", u"Next", engine::ErrForSyntax},
      {u"For Each x In", u"Next", engine::ErrForSyntax},
      {u"For Each In c", u"Next", engine::ErrForSyntax},
      {u"With", u"End With", engine::ErrGrammar},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(host->execLine(r.header), -1) << utf8(r.header);
    EXPECT_EQ(errNumber(), engine::errNumber(r.code)) << utf8(r.header);
    EXPECT_NE(utf8(host->error().source()).find("FirstLine"), std::string::npos)
        << utf8(host->error().source());
    EXPECT_EQ(feed({u"OutLine \"in\"", r.closer, u"OutLine \"after\""}),
              (std::vector<int32_t>{0, 0, 0}))
        << utf8(r.header);
    EXPECT_EQ(out(), "after\n") << utf8(r.header);
  }
}

TEST_F(HostTest, ABlockIsOverOnceItsClosingLineIsHandled) {
  EXPECT_EQ(feed({u"For i = 1 To 2", u"x = 1/0", u"Next", u"OutLine \"after\""}),
            (std::vector<int32_t>{0, 0, -1, 0}));
  EXPECT_EQ(out(), "after\n");
  EXPECT_EQ(feed({u"If 1 Then", u"OutLine 1 / 0", u"End If", u"End If"}),
            (std::vector<int32_t>{0, 0, -1, -1}));
  EXPECT_EQ(errNumber(), engineError(1));  // the second End If closes nothing
  // A Select's arm runs once, even when it failed.
  EXPECT_EQ(feed({u"Select Case 1", u"Case 1", u"OutLine \"arm\"", u"y = 1/0", u"Case 2",
                  u"OutLine \"never\"", u"End Select"}),
            (std::vector<int32_t>{0, 0, 0, 0, -1, 0, 0}));
  EXPECT_EQ(out(), "arm\n");
}

TEST_F(HostTest, OneLineIf) {
  struct Case {
    const char16_t* line;
    const char* out;
  } cases[] = {
      {u"If 0 Then OutLine \"a\" Else OutLine \"b\"", "b\n"},
      {u"If 1 Then OutLine \"a\" Else OutLine \"b\"", "a\n"},
      {u"If 1 Then If 0 Then OutLine \"a\" Else OutLine \"b\"", "b\n"},
      {u"If 0 Then If 1 Then OutLine \"a\" Else OutLine \"b\"", ""},  // the Else of the inner If
      {u"If 0 Then OutLine \"a\" Else If 1 Then OutLine \"c\"", "c\n"},
      {u"If x = 0 Then OutLine \"compares\"", "compares\n"},
      {u"If 0 Then x = (1", ""},  // never run, never looked at
      {u"If 0 Then If (1 Then x = 1", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(host->execLine(c.line), 0) << utf8(c.line);
    EXPECT_EQ(out(), c.out) << utf8(c.line);
  }
  EXPECT_EQ(host->execLine(u"If 1 Then For i = 1 To 2"), -1);
  EXPECT_EQ(errNumber(), engineError(3));  // a block that never closes
}

TEST_F(HostTest, IfParts) {
  run({u"If 0 Then", u"OutLine \"never\"", u"Else OutLine \"e\"", u"OutLine \"f\"", u"End If"});
  EXPECT_EQ(out(), "e\nf\n");
  run({u"x = 2", u"If x = 1 Then", u"ElseIf x = 2 Then", u"OutLine \"two\"",
       u"ElseIf Undefined(1) Then", u"Else", u"End If"});
  EXPECT_EQ(out(), "two\n");  // no condition after the chosen one is evaluated
  EXPECT_EQ(feed({u"If 0 Then", u"ElseIf 1", u"End If"}), (std::vector<int32_t>{0, -1, 0}));
  EXPECT_EQ(feed({u"If 0 Then", u"ElseIf 1 Then x = 1", u"End If"}),
            (std::vector<int32_t>{0, -1, 0}));
  EXPECT_EQ(feed({u"If 0 Then", u"Else", u"ElseIf 1 Then"}), (std::vector<int32_t>{0, 0, -1}));
  EXPECT_EQ(errNumber(), engineError(4));
  run({u"End If"});
  // Lines that never run are never looked at.
  run({u"If 0 Then", u"x = (1", u"End If"});
}

TEST_F(HostTest, SelectCase) {
  run({u"n = 0", u"Select Case ++n", u"Case \"X\"", u"Case 2, 1", u"OutLine \"list\"",
       u"Case 1", u"OutLine \"never\"", u"End Select", u"OutLine n"});
  EXPECT_EQ(out(), "list\n1\n");  // the selector runs once
  run({u"Select Case \"abc\"", u"Case \"ABC\"", u"OutLine \"no case\"", u"End Select"});
  EXPECT_EQ(out(), "no case\n");
  run({u"Select Case 5", u"Case 1", u"Case Else: OutLine \"else\"", u"End Select"});
  EXPECT_EQ(out(), "else\n");
  struct Case {
    std::initializer_list<std::u16string_view> lines;
    int32_t number;
  } failing[] = {
      {{u"Select Case 3", u"Case 1 To 5"}, engineError(101)},
      {{u"Select Case 1", u"OutLine \"x\""}, engineError(6)},  // before the first Case
      {{u"Select Case 1", u"Case"}, engineError(6)},
      {{u"Select 1"}, engineError(6)},
  };
  for (const Case& c : failing) {
    feed(c.lines);
    EXPECT_EQ(errNumber(), c.number);
    EXPECT_EQ(out(), "");
    host->execEnd();
  }
}

TEST_F(HostTest, ExitsEndTheirOwnKind) {
  run({u"For i = 1 To 3", u"Do", u"If i = 2 Then Exit For", u"Exit Do", u"Loop While 1", u"Next"});
  EXPECT_EQ(value(u"i"), "2");
  run({u"n = 0", u"Do While n < 5", u"n = n + 1", u"For k = 1 To 3", u"If n = 2 Then Exit Do",
       u"Next", u"Loop"});
  EXPECT_EQ(value(u"n"), "2");
  EXPECT_EQ(feed({u"Exit", u"Exit If", u"Exit Sub", u"OutLine \"on\""}),
            (std::vector<int32_t>{-1, -1, 0, 0}));
  EXPECT_EQ(out(), "on\n");
}

TEST_F(HostTest, DoConditionsCompare) {
  run({u"i = 0", u"Do Until i = 2 + 1", u"i = i + 1", u"Loop"});
  EXPECT_EQ(value(u"i"), "3");
  run({u"j = 0", u"Do", u"j = j + 1", u"Loop While j = 1"});
  EXPECT_EQ(value(u"j"), "2");
  EXPECT_EQ(feed({u"Do", u"Loop"}), (std::vector<int32_t>{0, -1}));
  EXPECT_EQ(errNumber(), engineError(5));
  EXPECT_EQ(feed({u"Do Until"}), std::vector<int32_t>{-1});
}

TEST_F(HostTest, WithStackIsRestoredHoweverTheBlockEnds) {
  run({u"Dim c As Collection", u"With c", u".Add 1", u".Add 2", u"n = .Count", u"End With"});
  EXPECT_EQ(value(u"n"), "2");
  EXPECT_EQ(feed({u"With c", u".Add 1 / 0", u"End With", u"x = .Count"}),
            (std::vector<int32_t>{0, 0, -1, -1}));
  EXPECT_NE(description().find("园点符(.)左边变量为空。"), std::string::npos);
  EXPECT_EQ(host->sSpace()->withStack()->count(), 0);
  EXPECT_EQ(feed({u"With"}), std::vector<int32_t>{-1});
  EXPECT_EQ(errNumber(), engineError(1002));
}

TEST_F(HostTest, NestingAndOpenBlocksInReplays) {
  std::u16string deep;
  for (int i = 0; i < 300; ++i) deep += u"If 1 Then\n";
  for (int i = 0; i < 300; ++i) deep += u"End If\n";
  EXPECT_EQ(script(deep), 28);
  // A block left open inside another is its statement's error when the
  // outer block runs.
  EXPECT_EQ(script(u"For i = 1 To 2\nDo While 0\nNext"), engineError(5));
}

}  // namespace
}  // namespace dovreltest
