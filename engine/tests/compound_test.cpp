// The compound statements as blocks: how their lines are read, the syntax
// errors they report at any depth, and what a run does with the host's
// RunStop, enumerable objects and the With stack.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "builtins/svgeneral.h"
#include "core/bodygeneral.h"
#include "core/compoundbodies.h"
#include "core/conditionals.h"
#include "core/scripthost.h"
#include "core/simplebodies.h"
#include "core/ssbody.h"
#include "core/ssroot.h"
#include "jespin/values.h"
#include "rt/activation.h"
#include "rt/convert.h"
#include "rt/dispatch.h"
#include "rt/enumerator.h"
#include "testsupport.h"

namespace {

using engine::BodyGeneral;
using enginetest::tokens;
using enginetest::utf8;
using rt::Ref;

// Feeds lines as a host does: up to the first error.
void feed(BodyGeneral& b, const std::vector<std::u16string>& lines) {
  for (const std::u16string& l : lines) {
    if (b.error().haveErr()) return;
    b.addCode(*tokens(l));
  }
}

std::string classes(BodyGeneral& b) {
  std::string s;
  for (size_t i = 0; i < b.childCount(); ++i) s += (i ? " " : "") + utf8(b.child(i).classId());
  return s;
}

// A top-level space under a fresh root.
Ref<engine::SsBody> newSpace() {
  Ref<engine::SsBody> ss = rt::make<engine::SsBody>();
  ss->setParent(rt::make<engine::SsRoot>().get());
  return ss;
}

std::string textOf(zorbel::ScriptSpace& ss, std::u16string_view name) {
  return utf8(rt::toText(ss.value(name)->value()));
}

TEST(CompoundBlocks, EachStatementIsOneBlockThatEndsAtItsClosingLine) {
  const struct {
    std::vector<std::u16string> lines;
    const char* classId;
  } rows[] = {
      {{u"Do While a", u"Loop"}, "BodyDo"},
      {{u"Do", u"Loop Until a"}, "BodyDo"},
      {{u"For i = 1 To 3", u"Next i"}, "BodyFOR"},
      {{u"For Each x In c", u"Next"}, "BodyForEach"},
      {{u"If a Then", u"End If"}, "BodyIF"},
      {{u"If a Then x = 1"}, "BodyIF"},
      {{u"Select Case a", u"Case 1", u"End Select"}, "BodySelect"},
      {{u"With a", u"End With"}, "BodyWith"},
      // Statements of the same kind nest; one Next closes either For.
      {{u"Do", u"Do While b", u"Loop", u"Loop While a"}, "BodyDo"},
      {{u"For i = 1 To 2", u"For Each x In c", u"Next", u"Next"}, "BodyFOR"},
      {{u"If a Then", u"If b Then", u"Else", u"End If", u"ElseIf c", u"Else", u"End If"}, "BodyIF"},
      {{u"Select Case a", u"Case 1", u"Select Case b", u"Case 2", u"End Select", u"End Select"},
       "BodySelect"},
      {{u"With a", u"With b", u"End With", u"End With"}, "BodyWith"},
  };
  for (const auto& r : rows) {
    BodyGeneral b;
    feed(b, r.lines);
    feed(b, {u"after = 1"});
    ASSERT_FALSE(b.error().haveErr()) << utf8(b.error().info().description());
    EXPECT_EQ(classes(b), std::string(r.classId) + " BodySerial") << utf8(r.lines.front());
    EXPECT_TRUE(b.child(0).isOver());
    EXPECT_FALSE(b.hasOpenBlock());
  }
}

TEST(CompoundBlocks, BranchesAndCasesKeepTheirPlaces) {
  BodyGeneral ifs;
  feed(ifs, {u"If a Then", u"ElseIf b Then x = 1", u"ElseIf c", u"Else y = 2", u"End If"});
  EXPECT_EQ(static_cast<engine::BodyIF&>(ifs.child(0)).branchCount(), 4u);
  BodyGeneral selects;
  feed(selects, {u"Select Case a", u"Case 1", u"Case 2, 3 To 4", u"Case Else", u"End Select"});
  EXPECT_EQ(static_cast<engine::BodySELECT&>(selects.child(0)).caseCount(), 3u);
}

TEST(CompoundBlocks, BlockStatementsOnOneLineAreTakenOneByOne) {
  const struct {
    const char16_t* line;
    const char* classes;
  } rows[] = {
      {u"For i = 1 To 3 : s = s + i : Next", "BodyFOR"},
      {u"Do While a : a = a - 1 : Loop", "BodyDo"},
      {u"Dim a As Long : a = 1", "BodyDim BodySerial"},
      {u"x = 1 : Exit Do", "BodySerial BodyExit"},
      {u"x = 1 : y = 2", "BodySerial"},                 // plain statements stay one tree
      {u"If a Then x = 1 : Exit For", "BodyIF"},        // the If takes the rest of the line
      {u"x = 1 : If a Then y = 1 : Exit Do", "BodySerial BodyIF"},
      {u"f(a : b) : Exit Do", "BodySerial BodyExit"},   // a ":" in brackets is not a cut
  };
  for (const auto& r : rows) {
    BodyGeneral b;
    feed(b, {r.line});
    EXPECT_FALSE(b.error().haveErr()) << utf8(r.line);
    EXPECT_EQ(classes(b), r.classes) << utf8(r.line);
    EXPECT_FALSE(b.hasOpenBlock()) << utf8(r.line);
  }
  BodyGeneral plain;
  feed(plain, {u"x = 1 : y = 2"});
  EXPECT_EQ(static_cast<engine::BodySerial&>(plain.child(0)).treeCount(), 1u);

  Ref<engine::SsBody> ss = newSpace();
  BodyGeneral loop;
  feed(loop,
       {u"s = \"\"", u"For i = 1 To 4 : s = s & i : If i = 3 Then Exit For", u"Next : t = s"});
  loop.execute(*ss);
  EXPECT_EQ(textOf(*ss, u"t"), "123");
}

// Every malformed line is reported while the lines are fed, however deep
// it stands, with the chain of blocks that passed it on.
TEST(CompoundBlocks, MalformedLinesAreReportedAtAnyDepth) {
  const std::string addIf = "Kestrin.BodyGeneral.AddLine\r\nKestrin.BodyIF.AddCode\r\n";
  const std::string addDo = "Kestrin.BodyGeneral.AddLine\r\nKestrin.BodyDo.AddCode\r\n";
  const std::string addFor = "Kestrin.BodyGeneral.AddLine\r\nKestrin.BodyFOR.AddCode\r\n";
  const std::string addEach = "Kestrin.BodyGeneral.AddLine\r\nKestrin.BodyForEach.AddCode\r\n";
  const std::string addSel = "Kestrin.BodyGeneral.AddLine\r\nKestrin.BodySelect.AddCode\r\n";
  const std::string addWith = "Kestrin.BodyGeneral.AddLine\r\nKestrin.BodyWith.AddCode\r\n";
  const struct {
    std::vector<std::u16string> lines;
    int32_t code;
    std::string source;
  } rows[] = {
      {{u"If c"}, engine::ErrIfSyntax, addIf + "FirstLine"},
      {{u"If Then x = 1"}, engine::ErrIfSyntax, addIf + "FirstLine"},
      {{u"If a Then", u"Else", u"ElseIf b Then"}, engine::ErrIfSyntax, addIf + "ElseIfLine"},
      {{u"If a Then", u"ElseIf Then"}, engine::ErrIfSyntax, addIf + "ElseIfLine"},
      {{u"If a Then", u"Else", u"Else"}, engine::ErrIfSyntax, addIf + "NextLine"},
      {{u"Do x"}, engine::ErrDoSyntax, addDo + "FirstLine"},
      {{u"Do While"}, engine::ErrDoSyntax, addDo + "FirstLine"},
      {{u"Do", u"Loop"}, engine::ErrDoSyntax, addDo + "NextLine"},
      {{u"Do", u"Loop While"}, engine::ErrDoSyntax, addDo + "NextLine"},
      {{u"Do", u"Loop x"}, engine::ErrDoSyntax, addDo + "NextLine"},
      {{u"Do While a", u"Loop Until b"}, engine::ErrDoSyntax, addDo + "NextLine"},
      {{u"For"}, engine::ErrForSyntax, addFor + "FirstLine"},
      {{u"For i To 5"}, engine::ErrForSyntax, addFor + "FirstLine"},
      {{u"For = 1 To 5"}, engine::ErrForSyntax, addFor + "FirstLine"},
      {{u"For i = To 5"}, engine::ErrForSyntax, addFor + "FirstLine"},
      {{u"For i = 1"}, engine::ErrForSyntax, addFor + "FirstLine"},
      {{u"For i = 1 To"}, engine::ErrForSyntax, addFor + "FirstLine"},
      {{u"For i = 1 To 5 Step"}, engine::ErrForSyntax, addFor + "FirstLine"},
      {{u"For i = 1 Step 2 To 5"}, engine::ErrForSyntax, addFor + "FirstLine"},
      {{u"For i = 1 To 2 To 3"}, engine::ErrForSyntax, addFor + "FirstLine"},
      {{u"For Each x In"}, engine::ErrForSyntax, addEach + "FirstLine"},
      {{u"For Each In c"}, engine::ErrForSyntax, addEach + "FirstLine"},
      {{u"For Each x"}, engine::ErrForSyntax, addEach + "FirstLine"},
      {{u"For Each x In a In b"}, engine::ErrForSyntax, addEach + "FirstLine"},
      {{u"With"}, engine::ErrGrammar, addWith + "FirstLine"},
      {{u"Select a"}, engine::ErrSelectSyntax, addSel + "FirstLine"},
      {{u"Select Case"}, engine::ErrSelectSyntax, addSel + "FirstLine"},
      {{u"Select Case a", u"x = 1"}, engine::ErrSelectSyntax, addSel + "NextLine"},
      {{u"Select Case a", u"Case"}, engine::ErrSelectSyntax, addSel + "NextLine"},
      {{u"Select Case a", u"Case Is"}, engine::ErrSelectSyntax, addSel + "NextLine"},
      {{u"Select Case a", u"Case Is 5"}, engine::ErrSelectSyntax, addSel + "NextLine"},
      {{u"Select Case a", u"Case 1 To"}, engine::ErrSelectSyntax, addSel + "NextLine"},
      {{u"Select Case a", u"Case To 2"}, engine::ErrSelectSyntax, addSel + "NextLine"},
      {{u"Select Case a", u"Case 1,"}, engine::ErrSelectSyntax, addSel + "NextLine"},
      {{u"Select Case a", u"Case , 1"}, engine::ErrSelectSyntax, addSel + "NextLine"},
      {{u"Select Case a", u"Case Is > 1 To 5"}, engine::ErrSelectSyntax, addSel + "NextLine"},
      {{u"Select Case a", u"Case 1 To 2 To 3"}, engine::ErrSelectSyntax, addSel + "NextLine"},
      {{u"Select Case a", u"Case Else 5"}, engine::ErrSelectSyntax, addSel + "NextLine"},
      // A block opened inside a part must close there.
      {{u"For i = 1 To 2", u"If a Then", u"Next"}, engine::ErrUnclosed, addFor + "NextLine"},
      {{u"If a Then", u"Do", u"Else"}, engine::ErrUnclosed, addIf + "NextLine"},
      {{u"Select Case a", u"Case 1", u"With b", u"Case 2"}, engine::ErrUnclosed,
       addSel + "NextLine"},
      {{u"If a Then For i = 1 To 2"}, engine::ErrUnclosed, addIf + "FirstLine"},
      {{u"If a Then x = 1 Else Do"}, engine::ErrUnclosed, addIf + "FirstLine"},
      // Lines inside, at depth.
      {{u"Do While a", u"Call f"}, engine::ErrSyntax,
       addDo + "Kestrin.BodyGeneral.AddCode\r\nNewBody"},
      {{u"If a Then", u"For i = 1 To 2", u"Loop"}, engine::ErrSyntax,
       addIf + addFor + "Kestrin.BodyGeneral.AddCode\r\nNewBody"},
      {{u"With a", u"Do", u"If b"}, engine::ErrIfSyntax, addWith + addDo + addIf + "FirstLine"},
      {{u"For Each x In c", u"Exit"}, engine::ErrExit,
       addEach + "Kestrin.BodyGeneral.AddLine\r\nKestrin.BodyExit.AddCode"},
      {{u"Select Case a", u"Case 1", u"x = (1"}, engine::ErrBracket,
       addSel +
           "Kestrin.BodyGeneral.AddLine\r\nKestrin.BodySerial.AddCode\r\nKestrin.CreateTree.Add"},
      {{u"If a Then", u"Dim b As Long", u"Public"}, engine::ErrSyntax,
       addIf + "Kestrin.BodyGeneral.AddCode\r\nNewBody"},
      {{u"If a = (1 Then"}, engine::ErrBracket,
       addIf + "Kestrin.modGloble.MKTree\r\nKestrin.CreateTree.Add"},
      {{u"Do While (a"}, engine::ErrBracket,
       addDo + "Kestrin.modGloble.MKTree\r\nKestrin.CreateTree.Add"},
      {{u"If a Then x = (1"}, engine::ErrBracket,
       addIf +
           "Kestrin.BodyGeneral.AddLine\r\nKestrin.BodySerial.AddCode\r\nKestrin.CreateTree.Add"},
      {{u"If a Then x = 1 Else Loop"}, engine::ErrSyntax,
       addIf + "Kestrin.BodyGeneral.AddCode\r\nNewBody"},
  };
  for (const auto& r : rows) {
    BodyGeneral b;
    feed(b, r.lines);
    const std::string where = utf8(r.lines.back());
    ASSERT_TRUE(b.error().haveErr()) << where;
    EXPECT_EQ(b.error().info().number(), engine::errNumber(r.code)) << where;
    EXPECT_EQ(utf8(b.error().info().source()), r.source) << where;
  }
}

TEST(CompoundBlocks, NestDeepOnlyWithinTheLimit) {
  for (int32_t depth : {engine::kMaxBlockDepth, engine::kMaxBlockDepth + 1}) {
    BodyGeneral b;
    for (int32_t i = 0; i < depth; ++i) feed(b, {u"If 1 Then"});
    feed(b, {u"x = 1"});
    for (int32_t i = 0; i < depth; ++i) feed(b, {u"End If"});
    if (depth > engine::kMaxBlockDepth) {
      ASSERT_TRUE(b.error().haveErr());
      EXPECT_EQ(b.error().info().number(), rt::err::OutOfStackSpace);
      continue;
    }
    ASSERT_FALSE(b.error().haveErr());
    Ref<engine::SsBody> ss = newSpace();
    b.execute(*ss);
    EXPECT_FALSE(b.error().haveErr());
    EXPECT_EQ(textOf(*ss, u"x"), "1");
  }
}

TEST(CompoundBlocks, RunAfreshEachTime) {
  Ref<engine::SsBody> ss = newSpace();
  BodyGeneral b;
  feed(b, {u"n = 0", u"For i = 1 To 3", u"Select Case i", u"Case 2", u"n = n + 10", u"Case Else",
           u"n = n + 1", u"End Select", u"Next"});
  for (int run = 0; run < 2; ++run) {
    EXPECT_EQ(b.execute(*ss), 0);
    EXPECT_EQ(textOf(*ss, u"n"), "12");
    EXPECT_EQ(textOf(*ss, u"i"), "4");
  }
}

TEST(CompoundBlocks, ExitCodesTheyDoNotOwnPassOutward) {
  const struct {
    std::vector<std::u16string> lines;
    int32_t code;
  } rows[] = {
      {{u"Do", u"Exit For", u"Loop Until 1"}, engine::ExitFor},
      {{u"For i = 1 To 3", u"Exit Function", u"Next"}, engine::ExitFunction},
      {{u"For Each x In c", u"Exit Sub", u"Next"}, engine::ExitSub},
      {{u"If 1 Then Exit Do"}, engine::ExitDo},
      {{u"Select Case 1", u"Case 1", u"Exit For", u"End Select"}, engine::ExitFor},
      {{u"With p", u"Exit Do", u"End With"}, engine::ExitDo},
      {{u"Do While 1", u"For i = 1 To 2", u"Exit Do", u"Next", u"Loop"}, 0},
  };
  for (const auto& r : rows) {
    Ref<engine::SsBody> ss = newSpace();
    ss->value(u"c")->setValue(rt::Variant(rt::createObject(u"Jespin.VValues")));
    rt::queryRef<jespin::IVValues>(ss->value(u"c")->value().object())->add(rt::Variant(1));
    BodyGeneral b;
    feed(b, r.lines);
    ASSERT_FALSE(b.error().haveErr()) << utf8(r.lines.front());
    EXPECT_EQ(b.execute(*ss), r.code) << utf8(r.lines.front());
    EXPECT_FALSE(b.error().haveErr()) << utf8(b.error().info().description());
  }
}

TEST(CompoundBlocks, ALoopVariableThatBecomesNullEndsTheLoopWithAnError) {
  Ref<engine::SsBody> ss = newSpace();
  ss->value(u"n")->letValue(rt::Variant(rt::Null{}));
  BodyGeneral b;
  feed(b, {u"For i = 1 To 3", u"k = k + 1", u"i = n", u"Next"});
  b.execute(*ss);
  EXPECT_EQ(b.error().info().number(), rt::err::InvalidUseOfNull);
  EXPECT_EQ(textOf(*ss, u"k"), "1");
}

// --- Through a host --------------------------------------------------------

// Answers the host's events with the handlers a test gives it.
class Handlers final : public kestrin::ScriptHostEvents {
 public:
  std::vector<std::string> out;
  std::function<void()> onOutput;
  std::function<void(std::u16string&)> onInputLine;

  void output(const std::u16string& s) override {
    out.push_back(utf8(s));
    if (onOutput) onOutput();
  }
  void inputLine(std::u16string& inBuf) override {
    if (onInputLine) onInputLine(inBuf);
  }
};

struct HostRun : ::testing::Test {
  Ref<engine::ScriptHost> host = engine::ScriptHost::create();
  Ref<Handlers> events = rt::make<Handlers>();
  HostRun() { host->advise(events); }
  ~HostRun() override { host->freeAll(); }

  void run(std::u16string_view source) { host->execStream(*enginetest::scriptStream(source)); }
  void bind(std::u16string_view name, Ref<zorbel::ScriptValue> v) {
    host->sSpace()->setValue(name, v.get());
  }
  std::string valueOf(std::u16string_view name) { return textOf(*host->sSpace(), name); }
  std::string lines() {
    std::string s;
    for (const std::string& o : events->out) s += o;
    return s;
  }
};

TEST_F(HostRun, RunStopEndsTheRunningForLoopNotTheRun) {
  events->onOutput = [this] {
    if (events->out.size() == 3) host->setRunStop(true);
  };
  run(u"For i = 1 To 10\r\n  OutLine i\r\nNext\r\nOutLine \"after \" & i");
  EXPECT_FALSE(host->error().haveErr());
  EXPECT_EQ(lines(), "1\r\n2\r\n3\r\nafter 4\r\n");
  // Every run starts with the flag cleared.
  events->out.clear();
  events->onOutput = nullptr;
  run(u"For i = 1 To 2 : OutLine i : Next");
  EXPECT_EQ(lines(), "1\r\n2\r\n");
}

TEST_F(HostRun, RunStopEndsADoLoopBeforeItsNextTest) {
  int asked = 0;
  events->onInputLine = [&](std::u16string& line) {
    line = u"x";
    if (++asked == 2) host->setRunStop(true);
  };
  run(u"s = \"\"\r\nDo\r\n  s = s & Input\r\nLoop Until s = \"never\"\r\n"
      u"n = 0\r\nDo While 1\r\n  n = n + 1\r\nLoop\r\nOutLine s & n");
  EXPECT_FALSE(host->error().haveErr());
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(lines(), "xx0\r\n");  // the flag stays up for the rest of the run
}

// A Jespin value list made by its ProgID: its elements are objects, bound
// to the loop variable one by one.
TEST_F(HostRun, ForEachWalksAValueList) {
  Ref<jespin::IVValues> list =
      rt::queryRef<jespin::IVValues>(rt::createObject(u"Jespin.VValues").get());
  ASSERT_TRUE(list);
  list->add(rt::Variant(1), u"a");
  list->add(rt::Variant(u"two"), u"b");
  list->add(rt::Variant(3.5), u"c");
  bind(u"list", engine::SvGeneral::holding(rt::Variant(list)));
  run(u"t = \"\"\r\nFor Each e In list\r\n  n = n + 1\r\n  t = t & TypeName(e) & \" \"\r\nNext");
  ASSERT_FALSE(host->error().haveErr()) << utf8(host->error().description());
  EXPECT_EQ(valueOf(u"n"), "3");
  EXPECT_EQ(valueOf(u"t"), "VValue VValue VValue ");
  rt::Variant last = host->sSpace()->value(u"e")->value();
  ASSERT_TRUE(last.isObject());
  EXPECT_EQ(last.object(), static_cast<rt::Object*>(list->item(rt::Variant(3)).get()));
}

// What a For Each gives its variable: value assignment for plain elements,
// reference assignment for objects.
class AssignmentLog final : public rt::Automation<AssignmentLog, zorbel::ScriptValue> {
 public:
  static const rt::MemberTable<AssignmentLog>& members() {
    static const auto table = rt::MemberTable<AssignmentLog>(u"AssignmentLog");
    return table;
  }
  std::vector<std::string> log;
  rt::Variant held;

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override { return 0; }
  int32_t flag() override { return zorbel::FlagValue; }
  rt::Variant value() override { return held; }
  void letValue(const rt::Variant& v) override {
    log.push_back("let " + utf8(rt::toText(v)));
    held = v;
  }
  void setValue(const rt::Variant& v) override {
    log.push_back("set " + utf8(rt::typeNameOfValue(v)));
    held = v;
  }
  Ref<zorbel::ScriptValue> attr(std::u16string_view) override { return nullptr; }
  Ref<zorbel::ScriptValue> subs(const rt::Variant&, int32_t) override { return nullptr; }
  Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace*, zorbel::ScriptValue*, int32_t) override {
    return nullptr;
  }
  Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  jespin::IErrInfo& error() override { return *err_; }

 private:
  std::u16string key_;
  Ref<jespin::IErrInfo> err_ = jespin::newErrInfo(u"Test", u"AssignmentLog");
};

// A fake automation collection with an enumerator of its own.
class FakeItems final : public rt::Automation<FakeItems, rt::Enumerable> {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Test.FakeItems.Class");
  void* query(const rt::Iid& id) noexcept override {
    return id == iid ? this : Automation::query(id);
  }
  static const rt::MemberTable<FakeItems>& members() {
    static const auto table = rt::MemberTable<FakeItems>(u"FakeItems");
    return table;
  }
  std::vector<rt::Variant> items;

  Ref<rt::Enumerator> enumerate() override { return rt::make<Walk>(Ref<FakeItems>(this)); }

 private:
  class Walk final : public rt::Enumerator {
   public:
    explicit Walk(Ref<FakeItems> owner) : owner_(std::move(owner)) {}
    void* query(const rt::Iid& id) noexcept override {
      return rt::queryAmong<rt::Enumerator>(this, id);
    }
    bool next(rt::Variant& out) override {
      if (at_ >= owner_->items.size()) return false;
      out = owner_->items[at_++];
      return true;
    }

   private:
    Ref<FakeItems> owner_;
    size_t at_ = 0;
  };
};

// A fake automation object that hands out its elements only through its
// enumerator member.
class FakeHolder final : public rt::Automation<FakeHolder> {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Test.FakeHolder.Class");
  void* query(const rt::Iid& id) noexcept override {
    return id == iid ? this : Automation::query(id);
  }
  static const rt::MemberTable<FakeHolder>& members() {
    static const auto table = rt::MemberTable<FakeHolder>(u"FakeHolder")
                                  .get(u"_NewEnum", [](FakeHolder& h) { return h.inner; });
    return table;
  }
  Ref<FakeItems> inner = rt::make<FakeItems>();
};

struct FakeClasses : HostRun {
  FakeClasses() {
    rt::registerLocalClass(u"Test.FakeItems", rt::classIdOf("Test.FakeItems"),
                           [] { return Ref<rt::Object>(rt::make<FakeItems>()); });
    rt::registerLocalClass(u"Test.FakeHolder", rt::classIdOf("Test.FakeHolder"),
                           [] { return Ref<rt::Object>(rt::make<FakeHolder>()); });
  }
  ~FakeClasses() override {
    rt::unregisterLocalClass(u"Test.FakeItems");
    rt::unregisterLocalClass(u"Test.FakeHolder");
  }
};

TEST_F(FakeClasses, ForEachAssignsPlainElementsAndBindsObjects) {
  Ref<FakeItems> items = rt::queryRef<FakeItems>(rt::createObject(u"Test.FakeItems").get());
  ASSERT_TRUE(items);
  Ref<FakeItems> element = rt::make<FakeItems>();
  items->items = {rt::Variant(1), rt::Variant(u"two"), rt::Variant(element), rt::Variant(nullptr)};
  Ref<AssignmentLog> v = rt::make<AssignmentLog>();
  bind(u"items", engine::SvGeneral::holding(rt::Variant(items)));
  bind(u"v", v);
  run(u"For Each v In items\r\n  n = n + 1\r\nNext");
  ASSERT_FALSE(host->error().haveErr()) << utf8(host->error().description());
  EXPECT_EQ(valueOf(u"n"), "4");
  EXPECT_EQ(v->log, (std::vector<std::string>{"let 1", "let two", "set FakeItems", "set Nothing"}));

  v->log.clear();
  run(u"For Each v In items\r\n  If v = \"two\" Then Exit For\r\nNext");
  EXPECT_EQ(v->log.size(), 2u);
}

TEST_F(FakeClasses, ForEachTakesTheEnumeratorMember) {
  Ref<FakeHolder> holder = rt::queryRef<FakeHolder>(rt::createObject(u"Test.FakeHolder").get());
  ASSERT_TRUE(holder);
  holder->inner->items = {rt::Variant(2), rt::Variant(3)};
  bind(u"holder", engine::SvGeneral::holding(rt::Variant(holder)));
  run(u"For Each x In holder : s = s + x : Next");
  ASSERT_FALSE(host->error().haveErr()) << utf8(host->error().description());
  EXPECT_EQ(valueOf(u"s"), "5");
}

TEST_F(FakeClasses, AnObjectWithoutAnEnumeratorCannotBeWalked) {
  bind(u"thing", engine::SvGeneral::holding(rt::Variant(rt::make<AssignmentLog>())));
  run(u"For Each x In thing : Next");
  EXPECT_EQ(host->error().number(), rt::err::NotSupported);
  run(u"For Each x In Nothing : Next");
  EXPECT_EQ(host->error().number(), rt::err::ObjectNotSet);
}

TEST_F(HostRun, TheWithStackIsLeftAsFoundHoweverTheBlockEnds) {
  Ref<jespin::IVStack> with = host->sSpace()->withStack();
  run(u"With p\r\n  .a = 1\r\n  With q\r\n    x = 1 / 0\r\n  End With\r\nEnd With");
  EXPECT_EQ(host->error().number(), rt::err::DivisionByZero);
  EXPECT_EQ(with->count(), 0);
  run(u"For i = 1 To 3\r\n  With p\r\n    If i = 2 Then Exit For\r\n  End With\r\nNext");
  EXPECT_FALSE(host->error().haveErr());
  EXPECT_EQ(with->count(), 0);
  // An object the host pushed stays, and the block works on its own.
  with->push(rt::Variant(host->sSpace()->value(u"p")));
  run(u"With q\r\n  .b = 2\r\nEnd With\r\nc = .a");
  EXPECT_FALSE(host->error().haveErr()) << utf8(host->error().description());
  EXPECT_EQ(valueOf(u"c"), "1");
  EXPECT_EQ(with->count(), 1);
}

TEST_F(HostRun, ASelectWithoutItsEndReportsInsteadOfRunning) {
  run(u"OutLine \"first\"\r\n#define X = 1\r\nSelect Case 1\r\nCase 1\r\nOutLine \"case\"\r\n"
      u"OutLine \"rest\"");
  EXPECT_EQ(lines(), "first\r\n");
  EXPECT_EQ(host->error().number(), engine::errNumber(engine::ErrUnclosed));
  EXPECT_EQ(host->errorLine(), 3);
}

}  // namespace
