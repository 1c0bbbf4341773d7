// The script host: its events, directives, stream handling and life cycle,
// and the input and output objects of its root space.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "builtins/svsingle.h"
#include "core/records.h"
#include "hostfixture.h"
#include "rt/convert.h"
#include "rt/dispatch.h"
#include "rt/testing.h"
#include "testsupport.h"

namespace {

using engine::ScriptHost;
using enginetest::HostFixture;
using enginetest::scriptStream;
using enginetest::Recorder;
using enginetest::utf8;
using rt::Ref;
using zorbel::ScriptValue;

using Host = HostFixture;

TEST_F(Host, WritesEveryPieceOfOutputAsOneEvent) {
  run(u"Print \"a\"\r\nOutPut \"b\"\r\nOutLine \"c\"\r\nOutLine\r\nPrint\r\nOutLine 1, 2\r\n"
      u"Print = 5\r\nPrint[7]");  // indexing as a statement computes nothing
  EXPECT_EQ(rec->events, (std::vector<std::string>{"out:a", "out:b", "out:c\r\n", "out:\r\n", "out:",
                                                   "out:0\r\n", "out:5"}));
}

TEST_F(Host, ReadsLinesAndCharactersThroughItsEvents) {
  rec->lines = {u"one", u"two"};
  rec->chars = {65};
  run(u"a = Input(\"p? \")\r\nb = Input\r\nc = GetChar\r\nd = GetChar");
  EXPECT_EQ(rec->events,
            (std::vector<std::string>{"out:p? ", "line", "line", "char", "char"}));
  EXPECT_EQ(valueOf(u"a"), "one");
  EXPECT_EQ(valueOf(u"b"), "two");
  EXPECT_EQ(valueOf(u"c"), "65");
  EXPECT_EQ(valueOf(u"d"), "0");  // the handler left the code as it came
}

TEST(HostWithoutHandlers, ReadsNothing) {
  Ref<ScriptHost> host = ScriptHost::create();
  host->execStream(*scriptStream(u"s = Input\r\nc = GetChar\r\nOutLine \"unheard\""));
  EXPECT_FALSE(host->error().haveErr());
  EXPECT_EQ(host->sSpace()->value(u"s")->value().type(), rt::VT::String);
  EXPECT_EQ(rt::toLong(host->sSpace()->value(u"c")->value()), 0);
  host->freeAll();
}

// Values that hold one another go with the host's FreeAll (the leak check
// of the sanitizer build sees one left); a value the caller still holds
// keeps all it holds, its own ring included.
TEST(HostWithoutHandlers, LetsGoOfRingsOfValuesNothingElseHolds) {
  Ref<ScriptHost> host = ScriptHost::create();
  host->execStream(*scriptStream(u"Set s.Parent = s\r\nSet u.b = t\r\nSet t.a = u\r\n"
                                 u"Set k.Me = k\r\nk.Note = 7\r\nSet r = nowhere.Child"));
  ASSERT_FALSE(host->error().haveErr());
  Ref<ScriptValue> kept = host->sSpace()->value(u"k");
  host->freeAll();
  EXPECT_EQ(rt::toLong(kept->attr(u"Note")->value()), 7);
  EXPECT_EQ(kept->attr(u"Me")->value().object(), static_cast<rt::Object*>(kept.get()));
  kept->attr(u"Me")->setValue(rt::Variant());  // the caller's own ring, broken by the caller
}

// Rings that nothing holds go while the host runs, whatever holds what in
// them: the tokens they hold do not pile up however long the loop, and none
// is left once the host lets go of everything, the ring unbound last
// included.
TEST(HostWithoutHandlers, LetsGoOfRingsWhileItRuns) {
  const char16_t* loops[] = {
      u"Sub R()\r\nSet s.Parent = s\r\nSet s.T = CreateObject(\"Test.Token\")\r\nEnd Sub",
      u"Sub R()\r\nSet a.b = c\r\nSet c.a = a\r\nSet c.T = CreateObject(\"Test.Token\")\r\nEnd Sub",
      // through the aliases of the parameters
      u"Sub Connect(pa, ki)\r\nSet ki.Parent = pa\r\nSet pa.Kid = ki\r\nEnd Sub\r\n"
      u"Sub R()\r\nConnect x, y\r\nSet y.T = CreateObject(\"Test.Token\")\r\nEnd Sub",
      u"Sub R()\r\nSet s[1] = s\r\nSet s[2] = CreateObject(\"Test.Token\")\r\nEnd Sub",
      u"Sub R()\r\nSet top.Me = top\r\nSet top.T = CreateObject(\"Test.Token\")\r\n"
      u"Set top = Nothing\r\nEnd Sub",
      // through a collection, a typed collection, a stack, a queue and a value list
      u"Sub R()\r\nSet c = New(\"Fennick.SvCollection\")\r\nSet s[1] = s\r\nc.Add s\r\n"
      u"Set s.C = c\r\nc.Add CreateObject(\"Test.Token\")\r\nEnd Sub",
      u"Sub R()\r\nDim c As Collection\r\nc.Add c\r\nc.Add CreateObject(\"Test.Token\")\r\nEnd Sub",
      u"Sub R()\r\nSet q = CreateObject(\"Jespin.VStack\")\r\nq.Push q\r\n"
      u"q.Push CreateObject(\"Test.Token\")\r\nEnd Sub",
      u"Sub R()\r\nSet q = CreateObject(\"Jespin.VQueue\")\r\nSet s.Q = q\r\nq.PutIn q\r\n"
      u"q.PutIn CreateObject(\"Test.Token\")\r\nEnd Sub",
      u"Sub R()\r\nSet v = CreateObject(\"Jespin.VValues\")\r\nv.Add v, \"me\"\r\n"
      u"v.Add CreateObject(\"Test.Token\"), \"t\"\r\nEnd Sub",
  };
  rt::testing::Tokens tokens;
  constexpr int kPasses = 6000;
  for (const char16_t* loop : loops) {
    SCOPED_TRACE(utf8(loop));
    Ref<ScriptHost> host = ScriptHost::create();
    host->execStream(*scriptStream(std::u16string(loop) + u"\r\nFor i = 1 To " +
                                   rt::toText(rt::Variant(kPasses)) + u"\r\nR\r\nNext\r\n"
                                   u"Set last.Me = last\r\nSet last.T = CreateObject(\"Test.Token\")\r\n"
                                   u"Set last = Nothing"));
    ASSERT_FALSE(host->error().haveErr()) << utf8(host->error().description());
    EXPECT_LT(tokens.live(), kPasses / 4);
    host->freeAll();
    EXPECT_EQ(tokens.live(), 0);
  }
}

TEST_F(Host, InputAndOutputObjectsFollowTheirContract) {
  Ref<zorbel::ScriptSpace> ss = host->sSpace();
  Ref<ScriptValue> print = ss->value(u"Print");
  Ref<ScriptValue> input = ss->value(u"Input");
  Ref<ScriptValue> getChar = ss->value(u"GetChar");
  EXPECT_EQ(print->flag(), zorbel::FlagCall);

  EXPECT_EQ(print->value().type(), rt::VT::Integer);
  EXPECT_EQ(utf8(print->error().source()), "Kestrin.SvOutput.Get_ScriptValue_Value");
  EXPECT_EQ(print->count(), 0);
  EXPECT_EQ(utf8(print->error().source()), "Kestrin.SvOutput.ScriptValue_Count");
  input->letValue(rt::Variant(int32_t{1}));
  EXPECT_EQ(utf8(input->error().source()), "Kestrin.SvInput.ScriptValue_Value");
  EXPECT_FALSE(print->objAttr(u"x"));

  // Printing a value without a text form writes nothing and keeps the cause.
  Ref<ScriptValue> null = engine::SvSingle::of(rt::Variant(rt::Null{}));
  rec->events.clear();
  print->funCall(ss.get(), null.get(), 0);
  EXPECT_TRUE(rec->events.empty());
  EXPECT_EQ(print->error().number(), rt::err::InvalidUseOfNull);
  EXPECT_EQ(utf8(print->error().source()), "Kestrin.SvOutput.ScriptValue_FunCall\r\n");

  // Each read gives a new typed value; Value get gives the bare code.
  Ref<ScriptValue> a = input->funCall(ss.get(), nullptr, 1);
  Ref<ScriptValue> b = input->funCall(ss.get(), nullptr, 1);
  ASSERT_TRUE(a && b);
  EXPECT_NE(a.get(), b.get());
  auto* d = static_cast<rt::Dispatch*>(a->query(rt::Dispatch::iid));
  EXPECT_EQ(utf8(d->typeName()), "SvString");
  Ref<ScriptValue> c = getChar->funCall(ss.get(), nullptr, 1);
  EXPECT_EQ(utf8(static_cast<rt::Dispatch*>(c->query(rt::Dispatch::iid))->typeName()), "SvInteger");
  EXPECT_EQ(getChar->value().type(), rt::VT::Integer);
}

TEST_F(Host, HandsIncludeDirectivesToItsEmbedder) {
  run(u"#include \"a b.zub\"  \r\n#include\tplain\t\r\n#INCLUDE");
  EXPECT_EQ(rec->events,
            (std::vector<std::string>{"include:\"a b.zub\"", "include:plain", "include:"}));
}

TEST_F(Host, AnIncludeHandlerMayRunMoreOnTheSameHost) {
  rec->onInclude = [this](const std::u16string&) { host->execStream(*scriptStream(u"y = 2")); };
  run(u"x = 1\r\n#include inner\r\nOutLine x + y");
  EXPECT_EQ(rec->events.back(), "out:3\r\n");
}

// A failure's place: the line of the innermost statement, in the source its
// code was read from.  Names go with the runs that follow; a function keeps
// the name of the run that read it.
TEST_F(Host, KeepsWhereARunFailed) {
  host->setSourceName(u"lib");
  run(u"Function F(n)\r\n  F = 1\r\n  F = n / 0\r\nEnd Function");
  EXPECT_FALSE(host->error().haveErr());
  EXPECT_EQ(host->errorLine(), 0);
  host->setSourceName(u"main");
  runFailing(u"a = 1\r\nb = F(2)");
  EXPECT_EQ(host->error().number(), rt::err::DivisionByZero);
  EXPECT_EQ(utf8(host->errorSource()), "lib");
  EXPECT_EQ(host->errorLine(), 3);
  // An inner run that ends well gives the outer one its place back.
  rec->onInclude = [this](const std::u16string&) {
    host->setSourceName(u"inner");
    host->execStream(*scriptStream(u"y = 2\r\nz = 3"));
  };
  host->setSourceName(u"outer");
  runFailing(u"x = 1\r\n#include inner\r\nq = F(1) + 1\r\nw = 1 / 0");
  EXPECT_EQ(utf8(host->errorSource()), "lib");
  host->setSourceName(u"outer");
  runFailing(u"x = 1\r\n#include inner\r\nw = 1\r\nw = w / 0");
  EXPECT_EQ(utf8(host->errorSource()), "outer");
  EXPECT_EQ(host->errorLine(), 4);
  // A good run clears the place.
  run(u"x = 1");
  EXPECT_EQ(host->errorLine(), 0);
  EXPECT_EQ(utf8(host->errorSource()), "");
}

TEST_F(Host, KeepsItsMacros) {
  run(u"#define A = 1 + \r\n#define B\r\n#define A = 2");
  jespin::IVValues& defs = *host->defines();
  EXPECT_EQ(defs.count(), 2);
  auto listOf = [&](const char16_t* name) {
    rt::Variant v = defs.item(rt::Variant(name))->value();
    return static_cast<engine::ExpItems*>(v.object()->query(engine::ExpItems::iid));
  };
  EXPECT_EQ(enginetest::dump(*listOf(u"a")), "i2");
  EXPECT_EQ(listOf(u"B")->count(), 0);

  // Macros given from outside are shared, not copied.
  Ref<jespin::IVValues> mine =
      rt::queryRef<jespin::IVValues>(rt::createInstance(jespin::IVValues::clsid).get());
  host->setDefines(mine.get());
  run(u"#define C = 3\r\nOutLine C");
  EXPECT_TRUE(mine->exist(u"C"));
  EXPECT_EQ(rec->events.back(), "out:3\r\n");

  rt::Ref<engine::ExpItems> items = enginetest::tokens(u"C + D");
  EXPECT_TRUE(host->expandDefines(*items));
  EXPECT_FALSE(host->expandDefines(*items));
  EXPECT_EQ(enginetest::dump(*items), "i3 _ {+} _ D");
}

TEST_F(Host, DefTypeAddsOrReplacesTypes) {
  run(u"#deftype Num = Fennick.SvDouble\r\n#deftype long=Fennick.SvVariant");
  Ref<jespin::IVValues> types = host->sSpace()->typeDefs();
  EXPECT_EQ(utf8(rt::toText(types->item(rt::Variant(u"num"))->value())), "Fennick.SvDouble");
  EXPECT_EQ(utf8(rt::toText(types->item(rt::Variant(u"Long"))->value())), "Fennick.SvVariant");
  EXPECT_EQ(types->count(), 10);
}

TEST_F(Host, RefusesUnknownDirectives) {
  for (const char16_t* d : {u"#bogus", u"# define X = 1", u"#definex"}) {
    int32_t n = enginetest::errorOf([&] { host->execStream(*scriptStream(d)); });
    EXPECT_EQ(n, engine::errNumber(engine::ErrDirective)) << utf8(d);
  }
}

TEST_F(Host, EndsTheRunOnAStreamCutShortOrSpoilt) {
  const struct {
    std::function<void(nubrel::VStream&)> write;
    int32_t number;
  } rows[] = {
      {[](nubrel::VStream&) {}, rt::err::PastEndOfFile},
      {[](nubrel::VStream& vs) { vs.setVLong(engine::RecordLine); }, rt::err::PastEndOfFile},
      {[](nubrel::VStream& vs) { vs.setVLong(engine::RecordDirective); }, rt::err::PastEndOfFile},
      {[](nubrel::VStream& vs) {
         vs.setVLong(5);
         vs.setVLong(engine::RecordEnd);
       },
       321},
      {[](nubrel::VStream& vs) {
         vs.setVLong(engine::RecordLine);
         vs.setVLong(0);
         vs.setVLong(1);
         vs.setVLong(4);  // four tokens announced, none there
       },
       rt::err::PastEndOfFile},
  };
  for (const auto& r : rows) {
    Ref<nubrel::IMemStream> ms = enginetest::memStream();
    r.write(*ms);
    ms->setDir(nubrel::InStream);
    host->execStream(*ms);
    EXPECT_EQ(host->error().number(), r.number);
    EXPECT_EQ(utf8(host->error().source()), "Kestrin.ScriptHost.ExecStream\r\n");
  }
  Ref<nubrel::IMemStream> empty = enginetest::memStream();
  empty->setVLong(engine::RecordEnd);
  empty->setDir(nubrel::InStream);
  host->execStream(*empty);
  EXPECT_FALSE(host->error().haveErr());
}

TEST_F(Host, ClearsRunStopForEachRun) {
  host->setRunStop(true);
  EXPECT_TRUE(host->sSpace()->runStop());
  run(u"");
  EXPECT_FALSE(host->runStop());
}

TEST_F(Host, KeepsVariablesBetweenRunsUntilRefreshed) {
  run(u"x = 5");
  run(u"OutLine x");
  EXPECT_EQ(rec->events.back(), "out:5\r\n");
  host->refreshSSP();
  run(u"OutLine x");
  EXPECT_EQ(rec->events.back(), "out:0\r\n");
}

TEST_F(Host, EndsTheRunWhenFreedWhileRunning) {
  rec->onInclude = [this](const std::u16string&) { host->freeAll(); };
  host->execStream(*scriptStream(u"x = 1\r\n#include x\r\nOutLine \"not reached\""));
  EXPECT_EQ(host->error().number(), rt::err::ObjectNotSet);
  EXPECT_EQ(rec->events, (std::vector<std::string>{"include:x"}));
}

TEST_F(Host, HasNoSpaceAfterFreeAll) {
  host->freeAll();
  EXPECT_FALSE(host->sSpace());
  EXPECT_EQ(enginetest::errorOf([&] { host->execStream(*scriptStream(u"x = 1")); }),
            rt::err::ObjectNotSet);
  EXPECT_EQ(enginetest::errorOf([&] { host->runStop(); }), rt::err::ObjectNotSet);
}

TEST_F(Host, OutputObjectsMadeByNameWriteThroughTheHostTheyAreGiven) {
  Ref<rt::Object> out = rt::createObject(u"Kestrin.SvOutput");
  rt::Variant args[] = {rt::Variant(static_cast<rt::Object*>(host.get())), rt::Variant(true)};
  rt::callByName(out.get(), u"Init", rt::Method, args);
  Ref<ScriptValue> sv = rt::queryRef<ScriptValue>(out.get());
  sv->letValue(rt::Variant(u"hi"));
  EXPECT_EQ(rec->events, (std::vector<std::string>{"out:hi\r\n"}));
  // Without a host it fails as a missing object.
  Ref<ScriptValue> lone = rt::queryRef<ScriptValue>(rt::createObject(u"Kestrin.SvInput").get());
  lone->funCall(nullptr, nullptr, 1);
  EXPECT_EQ(lone->error().number(), rt::err::ObjectNotSet);
}

TEST(HostLifetime, ABuiltInThatOutlivesItsHostFailsCleanly) {
  Ref<ScriptHost> host = ScriptHost::create();
  Ref<ScriptValue> print = host->sSpace()->value(u"Print");
  Ref<ScriptValue> self = host->sSpace()->value(u"ScriptHost");
  EXPECT_EQ(self->value().object(), static_cast<rt::Object*>(host.get()));
  host = nullptr;  // no freeAll: the built-ins do not keep the host alive
  print->funCall(nullptr, nullptr, 0);
  EXPECT_EQ(print->error().number(), rt::err::ObjectNotSet);
  EXPECT_TRUE(self->value().isNothing());
}

TEST(HostByName, IsCreatedAndDrivenLateBound) {
  Ref<rt::Object> host = rt::createObject(u"Kestrin.ScriptHost");
  ASSERT_TRUE(rt::queryRef<kestrin::IScriptHost>(host.get()));
  EXPECT_FALSE(rt::toBool(rt::getProperty(host.get(), u"RunStop")));
  Ref<nubrel::IMemStream> ms = scriptStream(u"x = 41 + 1");
  rt::Variant arg(static_cast<rt::Object*>(ms.get()));
  rt::callByName(host.get(), u"ExecStream", rt::Method, std::span<rt::Variant>(&arg, 1));
  EXPECT_FALSE(rt::toBool(rt::callDefault(rt::getProperty(host.get(), u"Error").object(), rt::PropGet)));
  rt::Variant space = rt::getProperty(host.get(), u"SSpace");
  auto ss = rt::queryRef<zorbel::ScriptSpace>(space.object());
  EXPECT_EQ(rt::toLong(ss->value(u"x")->value()), 42);
  rt::callByName(host.get(), u"FreeAll", rt::Method);
}

}  // namespace
