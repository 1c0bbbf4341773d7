// The sub-host: a scope of its own under a running host, sharing the host's
// names, macros and built-ins.
#include <gtest/gtest.h>

#include "core/subhost.h"
#include "hostfixture.h"
#include "rt/activation.h"
#include "rt/convert.h"
#include "testsupport.h"

namespace {

using enginetest::scriptStream;
using enginetest::utf8;
using rt::Ref;

class Includes final : public kestrin::SubHostEvents {
 public:
  std::vector<std::string> files;
  void includeFile(const std::u16string& s) override { files.push_back(utf8(s)); }
};

struct SubHostFixture : enginetest::HostFixture {
  Ref<engine::SubHost> sub = rt::make<engine::SubHost>();
  Ref<Includes> includes = rt::make<Includes>();
  SubHostFixture() {
    sub->advise(includes);
    sub->initRoot(host.get());
  }
  void runSub(std::u16string_view source) {
    sub->execStream(*scriptStream(source));
    EXPECT_FALSE(sub->error().haveErr()) << utf8(sub->error().source()) << "\n"
                                         << utf8(sub->error().description());
  }
};

using SubHost = SubHostFixture;

TEST_F(SubHost, AssignsTheHostsNamesAndKeepsItsOwn) {
  run(u"shared = 1");
  runSub(u"shared = shared + 1\r\nmine = 5\r\nOutLine shared & mine");
  EXPECT_EQ(rec->output(), "25\r\n");  // through the root's OutLine, to the root host
  EXPECT_EQ(valueOf(u"shared"), "2");
  EXPECT_FALSE(host->sSpace()->existValue(u"mine"));
  EXPECT_TRUE(sub->sSpace()->existValue(u"mine"));
}

TEST_F(SubHost, KeepsItsFunctionsToItself) {
  runSub(u"Function Twice(n)\r\nTwice = n * 2\r\nEnd Function\r\nOutLine Twice(3)");
  EXPECT_EQ(rec->output(), "6\r\n");
  EXPECT_FALSE(host->sSpace()->existValue(u"Twice"));
  // The host's own functions are the sub-host's too.
  run(u"Function Host1()\r\nHost1 = \"h\"\r\nEnd Function");
  runSub(u"OutLine Host1()");
  EXPECT_EQ(rec->output(), "6\r\nh\r\n");
}

TEST_F(SubHost, SharesTheHostsMacrosAndTypes) {
  runSub(u"#define K = 7\r\n#deftype Num = Fennick.SvDouble");
  EXPECT_EQ(host->defines().get(), sub->defines().get());
  run(u"OutLine K\r\nDim d As Num\r\nOutLine TypeName(d)");
  EXPECT_EQ(rec->output(), "7\r\nDouble\r\n");
  run(u"#define L = 8");
  runSub(u"OutLine L");
  EXPECT_EQ(rec->output(), "7\r\nDouble\r\n8\r\n");
}

TEST_F(SubHost, RaisesItsOwnIncludeEvent) {
  runSub(u"#include \"other.zub\"");
  EXPECT_EQ(includes->files, std::vector<std::string>{"\"other.zub\""});
  for (const std::string& e : rec->events) EXPECT_EQ(e.rfind("include:", 0), std::string::npos);
}

TEST_F(SubHost, ReportsItsScriptsErrorsInItsOwnRecord) {
  sub->execStream(*scriptStream(u"x = 1 / 0"));
  EXPECT_EQ(sub->error().number(), rt::err::DivisionByZero);
  EXPECT_EQ(utf8(sub->error().source()).rfind("Kestrin.SubHost.ExecStream\r\n", 0), 0u);
  EXPECT_FALSE(host->error().haveErr());
  runSub(u"x = 1");  // the next run starts clear
}

TEST_F(SubHost, SetsTheRunStopOfTheRoot) {
  sub->setRunStop(true);
  EXPECT_TRUE(host->runStop());
  runSub(u"x = 1");  // each run clears it
  EXPECT_FALSE(host->runStop());
}

TEST(SubHostLife, NeedsItsRootAndDropsOnlyItsSpace) {
  Ref<engine::ScriptHost> host = engine::ScriptHost::create();
  Ref<engine::SubHost> sub = rt::make<engine::SubHost>();
  EXPECT_EQ(enginetest::errorOf([&] { sub->execStream(*scriptStream(u"x = 1")); }),
            rt::err::ObjectNotSet);
  EXPECT_EQ(enginetest::errorOf([&] { sub->initRoot(nullptr); }), rt::err::ObjectNotSet);
  sub->initRoot(host.get());
  sub->execStream(*scriptStream(u"x = 1"));
  sub->freeAll();
  EXPECT_FALSE(sub->sSpace());
  EXPECT_TRUE(host->sSpace());
  EXPECT_EQ(enginetest::errorOf([&] { sub->execStream(*scriptStream(u"x = 1")); }),
            rt::err::ObjectNotSet);
  host->freeAll();
}

TEST(SubHostLife, KeptInAScriptVariableIsFreedWithItsHost) {
  Ref<engine::ScriptHost> host = engine::ScriptHost::create();
  host->execStream(*scriptStream(u"Set inner = CreateObject(\"Kestrin.SubHost\")\r\n"
                                   u"inner.InitRoot ScriptHost"));
  ASSERT_FALSE(host->error().haveErr()) << utf8(host->error().description());
  Ref<rt::Object> sub = host->sSpace()->value(u"inner")->value().object();
  ASSERT_TRUE(rt::queryRef<kestrin::ISubHost>(sub.get()));
  host->freeAll();
  EXPECT_EQ(sub->refCount(), 1u);  // only this test holds it now
}

TEST(SubHostLife, IsCreatableByNameAndSetUpByItsMembers) {
  Ref<engine::ScriptHost> host = engine::ScriptHost::create();
  Ref<rt::Object> sub = rt::createObject(u"Kestrin.SubHost");
  Ref<kestrin::ISubHost> iface = rt::queryRef<kestrin::ISubHost>(sub.get());
  ASSERT_TRUE(iface);
  rt::Variant root(static_cast<rt::Object*>(static_cast<kestrin::IScriptHost*>(host.get())));
  rt::callByName(sub.get(), u"InitRoot", rt::Method, std::span<rt::Variant>(&root, 1));
  rt::Variant stream(static_cast<rt::Object*>(scriptStream(u"made = 3").get()));
  rt::callByName(sub.get(), u"ExecStream", rt::Method, std::span<rt::Variant>(&stream, 1));
  EXPECT_EQ(utf8(rt::toText(iface->sSpace()->value(u"made")->value())), "3");
  host->freeAll();
}

}  // namespace
