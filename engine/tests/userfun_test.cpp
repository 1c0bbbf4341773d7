// Calling a user function: binding its parameters, its result slot, its
// space, its errors and the bounds on recursion.
#include <gtest/gtest.h>

#include "builtins/svconstant.h"
#include "builtins/svcreate.h"
#include "builtins/svfunreturn.h"
#include "builtins/svgeneral.h"
#include "builtins/svsingle.h"
#include "builtins/svuserfun.h"
#include "core/callstack.h"
#include "core/ssbody.h"
#include "core/ssroot.h"
#include "hostfixture.h"
#include "rt/activation.h"
#include "rt/convert.h"
#include "testsupport.h"

namespace {

using engine::SvFunReturn;
using engine::SvUserFun;
using enginetest::tokens;
using enginetest::utf8;
using rt::Ref;
using zorbel::ScriptValue;

// A function collected from its lines as the compiler hands them over.
Ref<SvUserFun> defined(std::initializer_list<std::u16string_view> lines) {
  Ref<SvUserFun> f = rt::make<SvUserFun>();
  for (std::u16string_view line : lines) EXPECT_NE(f->addLine(*tokens(line)), SvUserFun::AddFailed);
  return f;
}

struct Fixture : ::testing::Test {
  Ref<engine::SsRoot> root = rt::make<engine::SsRoot>();
  Ref<engine::SsBody> ss = rt::make<engine::SsBody>();
  Fixture() { ss->setParent(root.get()); }

  // A list of argument objects, as the evaluator builds one.
  Ref<engine::SvGeneral> args(std::initializer_list<Ref<ScriptValue>> items) {
    Ref<engine::SvGeneral> list = rt::make<engine::SvGeneral>();
    for (const Ref<ScriptValue>& v : items) list->addSubs(v.get());
    return list;
  }
  std::string text(ScriptValue* v) { return v ? utf8(rt::toText(v->value())) : "(nothing)"; }
};

using UserFunctionCall = Fixture;

TEST_F(UserFunctionCall, BindsParametersToTheArgumentObjectsThemselves) {
  Ref<SvUserFun> f = defined({u"Sub S(a, b, c)", u"a = a + 1", u"seen = TypeName(b) & TypeName(c)",
                              u"End Sub"});
  Ref<ScriptValue> x = ss->value(u"x");
  x->letValue(rt::Variant(int32_t{41}));
  ss->value(u"seen");  // the caller's: a new name would stay in the call's space
  f->funCall(ss.get(), args({x, engine::SvSingle::of(rt::Variant(u"t"))}).get(), 0);
  ASSERT_FALSE(f->hasError()) << utf8(f->error().description());
  EXPECT_EQ(text(x.get()), "42");                  // by reference
  EXPECT_EQ(text(ss->value(u"seen").get()), "StringEmpty");  // c was not given
  EXPECT_EQ(utf8(ss->value(u"x")->key()), "a");   // the argument took the parameter's name

  // Arguments beyond the parameters are ignored; a single argument that is a
  // collection is one argument.
  Ref<SvUserFun> g = defined({u"Function G(a, b)", u"G = TypeName(a) & \"/\" & TypeName(b)",
                              u"End Function"});
  auto one = [] { return engine::SvSingle::of(rt::Variant(int16_t{1})); };
  EXPECT_EQ(text(g->funCall(ss.get(), args({one(), one(), one()}).get(), 1).get()),
            "Integer/Integer");
  Ref<ScriptValue> coll =
      rt::queryRef<ScriptValue>(rt::createObject(u"Fennick.SvCollection").get());
  ASSERT_TRUE(coll);
  EXPECT_EQ(text(g->funCall(ss.get(), coll.get(), 1).get()), "Array/Empty");
}

TEST_F(UserFunctionCall, AnswersWhatTheBodyLeftUnderItsName) {
  struct Case {
    std::initializer_list<std::u16string_view> lines;
    const char* value;
    const char* type;
  } cases[] = {
      {{u"Function F()", u"F = 5", u"End Function"}, "5", "Long"},
      {{u"Function F()", u"x = 1", u"End Function"}, "", "Empty"},
      {{u"Function F()", u"Set F = Nothing", u"End Function"}, "(object)", "Nothing"},
      {{u"Function F()", u"y = 7", u"Set F = y", u"End Function"}, "7", "Long"},
  };
  ss->setValue(u"Nothing", rt::make<engine::SvConstant>(u"Nothing", rt::Variant(nullptr)).get());
  for (const Case& c : cases) {
    Ref<SvUserFun> f = defined(c.lines);
    Ref<ScriptValue> r = f->funCall(ss.get(), nullptr, 1);
    ASSERT_TRUE(r) << utf8(f->error().description());
    rt::Variant v = r->value();
    EXPECT_EQ(v.isObject() ? "(object)" : utf8(rt::toText(v)), c.value);
    EXPECT_EQ(utf8(rt::typeNameOfValue(v)), c.type);
    EXPECT_EQ(r->flag(), zorbel::FlagValue);  // the call is over: a plain result
  }

  // Set F = obj makes the object itself the result.
  Ref<SvUserFun> make =
      defined({u"Function Make()", u"Set c = New(\"Fennick.SvCollection\")", u"c.Add 3",
               u"Set Make = c", u"End Function"});
  ss->setValue(u"New", rt::make<engine::SvNew>().get());  // no host: bring New in
  Ref<ScriptValue> made = make->funCall(ss.get(), nullptr, 1);
  ASSERT_TRUE(made) << utf8(make->error().source()) << utf8(make->error().description());
  EXPECT_EQ(made->count(), 1);
  EXPECT_EQ(made->flag(), 67);
}

TEST_F(UserFunctionCall, SeesTheCallersNamesNotTheDefiners) {
  Ref<SvUserFun> f = defined({u"Function F()", u"F = outer", u"outer = outer + 1", u"made = 1",
                              u"End Function"});
  ss->value(u"outer")->letValue(rt::Variant(int16_t{10}));
  EXPECT_EQ(text(f->funCall(ss.get(), nullptr, 1).get()), "10");
  EXPECT_EQ(text(ss->value(u"outer").get()), "11");
  EXPECT_FALSE(ss->existValue(u"made"));  // a new name stays in the call's space
}

TEST_F(UserFunctionCall, ReadAsAValueRunsInTheSpaceOfItsReader) {
  Ref<SvUserFun> f = defined({u"Function F()", u"F = here", u"End Function"});
  ss->value(u"here")->letValue(rt::Variant(u"reader"));
  {
    engine::ActiveSpace active(ss.get());
    EXPECT_EQ(utf8(rt::toText(f->value())), "reader");
  }
  // A function that takes parameters has none to bind: the failure is
  // raised to the code reading the value, and stays in the record.
  Ref<SvUserFun> g = defined({u"Function G(a)", u"G = a", u"End Function"});
  engine::ActiveSpace active(ss.get());
  EXPECT_EQ(enginetest::errorOf([&] { g->value(); }), rt::err::WrongArgumentCount);
  EXPECT_EQ(g->error().number(), rt::err::WrongArgumentCount);
  EXPECT_EQ(utf8(g->error().source()), "Kestrin.SvUserFun.ScriptValue_FunCall\r\n");
}

TEST_F(UserFunctionCall, KeepsItsNameWhenBoundUnderAnother) {
  Ref<SvUserFun> f = defined({u"Function F(n)", u"F = n * 2", u"End Function"});
  ss->setValue(u"F", f.get());
  ss->setValue(u"h", f.get());  // Set h = F
  EXPECT_EQ(utf8(f->name()), "F");
  EXPECT_EQ(utf8(f->key()), "h");
  EXPECT_EQ(text(f->funCall(ss.get(), engine::SvSingle::of(rt::Variant(int16_t{4})).get(), 1).get()),
            "8");
}

TEST_F(UserFunctionCall, RefusesWhatAFunctionDoesNotSupport) {
  Ref<SvUserFun> f = defined({u"Sub S()", u"End Sub"});
  struct Case {
    std::function<void()> op;
    const char* source;
  } cases[] = {
      {[&] { f->count(); }, "ScriptValue_Count"},
      {[&] { f->letValue(rt::Variant(1)); }, "Let_ScriptValue_Value"},
      {[&] { f->setValue(rt::Variant(nullptr)); }, "Set_ScriptValue_Value"},
      {[&] { EXPECT_FALSE(f->attr(u"x")); }, "ScriptValue_Attr"},
      {[&] { EXPECT_FALSE(f->subs(rt::Variant(1), 1)); }, "ScriptValue_Subs"},
  };
  for (const Case& c : cases) {
    c.op();
    EXPECT_EQ(f->error().number(), engine::errNumber(engine::ErrNotSupported));
    EXPECT_EQ(utf8(f->error().source()), std::string("Kestrin.SvUserFun.") + c.source);
  }
  EXPECT_FALSE(f->objAttr(u"x"));
  EXPECT_EQ(f->flag(), zorbel::FlagCall);
}

TEST_F(UserFunctionCall, BuildsItsBodyOnceAndKeepsItsLines) {
  Ref<SvUserFun> bad = defined({u"Sub S()", u"x = (1", u"End Sub"});
  EXPECT_FALSE(bad->funCall(ss.get(), nullptr, 0));
  EXPECT_EQ(bad->error().number(), engine::errNumber(engine::ErrBracket));
  EXPECT_EQ(utf8(bad->error().source()).rfind("Kestrin.SvUserFun.ScriptValue_FunCall\r\n"
                                               "Kestrin.BodyGeneral.AddLine",
                                               0),
            0u);
  EXPECT_EQ(bad->lines().count(), 1);  // kept for the next try

  Ref<SvUserFun> good = defined({u"Sub S()", u"x = 1", u"End Sub"});
  Ref<nubrel::IMemStream> before = enginetest::memStream(), after = enginetest::memStream();
  good->writeStream(*before);
  good->funCall(ss.get(), nullptr, 0);
  EXPECT_EQ(good->lines().count(), 1);  // as read, for the stored form
  EXPECT_EQ(enginetest::errorOf([&] { good->writeStream(*after); }), 0);
  EXPECT_EQ(utf8(after->strBuffer()), utf8(before->strBuffer()));
}

TEST_F(UserFunctionCall, AFailedRunOfTheBodyDoesNotSpoilTheNext) {
  Ref<SvUserFun> f = defined({u"Function F(d)", u"F = 1 / d", u"End Function"});
  auto call = [&](int16_t d) {
    return f->funCall(ss.get(), engine::SvSingle::of(rt::Variant(d)).get(), 1);
  };
  EXPECT_FALSE(call(0));
  EXPECT_EQ(f->error().number(), rt::err::DivisionByZero);
  EXPECT_EQ(text(call(4).get()), "0.25");
  EXPECT_FALSE(f->hasError());
}

TEST_F(UserFunctionCall, StopsRunawayRecursionWithARecordedError) {
  Ref<SvUserFun> f = defined({u"Function R(n)", u"R = R(n + 1)", u"End Function"});
  EXPECT_FALSE(f->funCall(ss.get(), engine::SvSingle::of(rt::Variant(int16_t{1})).get(), 1));
  EXPECT_EQ(f->error().number(), rt::err::OutOfStackSpace);
  EXPECT_EQ(engine::CallDepth::depth(), 0);
  // Every level adds its chain of operations; the middle is left out.
  std::string source = utf8(f->error().source());
  size_t lines = 1;
  for (size_t at = source.find("\r\n"); at != source.npos; at = source.find("\r\n", at + 2)) ++lines;
  EXPECT_LE(lines, 30u);
  EXPECT_NE(source.find("\r\n...\r\n"), source.npos);
  const std::string innermost = "Kestrin.SvUserFun.ScriptValue_FunCall\r\n";
  EXPECT_EQ(source.rfind(innermost), source.size() - innermost.size());
}

TEST(UserFunctionDepth, CallsNestOnlyUpToTheLimit) {
  std::vector<std::unique_ptr<engine::CallDepth>> calls;
  for (int32_t i = 0; i < engine::kMaxCallDepth; ++i) calls.push_back(std::make_unique<engine::CallDepth>());
  EXPECT_EQ(engine::CallDepth::depth(), engine::kMaxCallDepth);
  EXPECT_EQ(enginetest::errorOf([] { engine::CallDepth one; }), rt::err::OutOfStackSpace);
  calls.clear();
  EXPECT_EQ(engine::CallDepth::depth(), 0);
}

TEST(ResultSlot, IsCallableOnlyWhileItsCallRuns) {
  Ref<SvFunReturn> slot = rt::make<SvFunReturn>();
  EXPECT_EQ(slot->flag(), zorbel::FlagValue);
  EXPECT_FALSE(slot->funCall(nullptr, nullptr, 0));
  EXPECT_EQ(utf8(slot->error().source()), "Kestrin.SvFunReturn.ScriptValue_FunCall");

  Ref<SvUserFun> f = defined({u"Function F()", u"End Function"});
  slot->setPv(f.get());
  EXPECT_EQ(slot->flag(), zorbel::FlagCall);
  slot->letValue(rt::Variant(int16_t{3}));
  EXPECT_EQ(slot->finish().get(), static_cast<ScriptValue*>(slot.get()));
  EXPECT_EQ(slot->flag(), zorbel::FlagValue);
  EXPECT_EQ(utf8(rt::toText(slot->value())), "3");
}

TEST(ResultSlot, HoldsObjectsAndForwardsToThem) {
  Ref<SvFunReturn> slot = rt::make<SvFunReturn>();
  slot->count();
  EXPECT_EQ(utf8(slot->error().source()), "Kestrin.SvFunReturn.ScriptValue_Count");
  Ref<engine::SvGeneral> held = rt::make<engine::SvGeneral>();
  held->subs(rt::Variant(int16_t{2}), 1);  // two sub-values
  slot->setValue(rt::Variant(static_cast<rt::Object*>(static_cast<ScriptValue*>(held.get()))));
  EXPECT_EQ(slot->count(), 2);
  EXPECT_FALSE(slot->hasError());
  EXPECT_EQ(slot->finish().get(), static_cast<ScriptValue*>(held.get()));
  slot->rebind(nullptr);  // Set F = Nothing
  EXPECT_TRUE(slot->value().isNothing());
  slot->rebind(slot.get());  // Set F = F changes nothing
  EXPECT_TRUE(slot->value().isNothing());
}

// A slot let go of waits for a later call: what it holds goes when its
// last holder lets it go, and the slot made next holds nothing of before.
TEST(ResultSlot, MadeAgainHoldsNothingOfItsLastCall) {
  Ref<SvUserFun> f = defined({u"Function F()", u"End Function"});
  Ref<engine::SvGeneral> held = rt::make<engine::SvGeneral>();
  const uint32_t heldRefs = held->refCount();
  for (int round = 0; round < 3; ++round) {
    Ref<SvFunReturn> slot = SvFunReturn::make();
    EXPECT_EQ(slot->flag(), zorbel::FlagValue);
    EXPECT_TRUE(slot->value().isEmpty());
    EXPECT_FALSE(slot->hasError());
    slot->setPv(f.get());
    slot->count();  // refused: an error in its record
    EXPECT_TRUE(slot->hasError());
    if (round == 1) {
      slot->setValue(rt::Variant(static_cast<rt::Object*>(static_cast<ScriptValue*>(held.get()))));
      EXPECT_GT(held->refCount(), heldRefs);
    } else {
      slot->letValue(rt::Variant(u"text"));
    }
    slot = nullptr;
    EXPECT_EQ(held->refCount(), heldRefs);  // let go of with the slot, not later
  }
}

// --- In a running script ------------------------------------------------------

using UserFunctionScript = enginetest::HostFixture;

TEST_F(UserFunctionScript, IsBoundWhenItsRecordIsRead) {
  run(u"OutLine Twice(4)\r\nFunction Twice(n)\r\nTwice = n * 2\r\nEnd Function");
  EXPECT_EQ(rec->output(), "8\r\n");
  EXPECT_EQ(host->sSpace()->value(u"twice")->flag(), zorbel::FlagCall);
}

TEST_F(UserFunctionScript, ExpandsTheMacrosKnownWhenItsRecordIsRead) {
  run(u"#define K = 2\r\nFunction F()\r\nF = K\r\nEnd Function\r\n#define K = 3\r\nOutLine F() & K");
  EXPECT_EQ(rec->output(), "23\r\n");
}

TEST_F(UserFunctionScript, ReportsAFailureInsideWithTheChainOfCalls) {
  EXPECT_EQ(runFailing(u"Sub S()\r\nx = 1 / 0\r\nEnd Sub\r\nS"),
            "11: Kestrin.ScriptHost.ExecStream\r\n"
            "Kestrin.BodyGeneral.Execute\r\n"
            "Kestrin.BodySerial.Execute\r\n"
            "Kestrin.ExpTree.L_Run\r\n"
            "Kestrin.SvUserFun.ScriptValue_FunCall\r\n"
            "Kestrin.BodyGeneral.Execute\r\n"
            "Kestrin.BodySerial.Execute\r\n"
            "Kestrin.ExpTree.Get_RValue\r\n"
            "Kestrin.ExpTree.GetValue\r\n");
}

}  // namespace
