// Collecting a Sub or Function definition and its stored form.
#include <gtest/gtest.h>

#include "builtins/svuserfun.h"
#include "testsupport.h"

using namespace engine;
using enginetest::tokens;
using enginetest::utf8;

namespace {

std::string paramsOf(const SvUserFun& f) {
  std::string s;
  for (const std::u16string& p : f.params()) s += (s.empty() ? "" : ",") + utf8(p);
  return s;
}

}  // namespace

TEST(UserFunction, Headers) {
  struct Case {
    const char16_t* header;
    const char* name;   // null: refused
    const char* params;
  } cases[] = {
      {u"Sub Main()", "Main", ""},
      {u"Function F(a, b)", "F", "a,b"},
      {u"Function F(a,)", "F", "a"},
      {u"Function F(a, A)", "F", "a"},  // declared twice: once
      {u"Sub S(a, b) trailing words", "S", "a,b"},
      {u"Sub S(a, b", "S", "a,b"},      // running out of tokens completes it
      {u"Sub Main", nullptr, ""},
      {u"Sub Main ()", nullptr, ""},
      {u"Sub (a)", nullptr, ""},
      {u"Sub F(,a)", nullptr, ""},
      {u"Sub F(a,,b)", nullptr, ""},
      {u"Sub F(a b)", nullptr, ""},
      {u"Sub F(x As Long)", nullptr, ""},
      {u"Sub F(ByVal x)", nullptr, ""},
  };
  for (const Case& c : cases) {
    auto f = rt::make<SvUserFun>();
    int32_t r = f->addLine(*tokens(c.header));
    if (!c.name) {
      EXPECT_EQ(r, SvUserFun::AddFailed) << utf8(c.header);
      jespin::IErrInfo& e = f->error();
      EXPECT_EQ(e.number(), static_cast<int32_t>(0x80040007)) << utf8(c.header);
      EXPECT_EQ(utf8(e.source()), "Kestrin.SvUserFun.AddLine\r\nKestrin.SvUserFun.FirstLine");
      continue;
    }
    EXPECT_EQ(r, SvUserFun::LineTaken) << utf8(c.header);
    EXPECT_EQ(utf8(f->name()), c.name);
    EXPECT_EQ(paramsOf(*f), c.params) << utf8(c.header);
  }
}

TEST(UserFunction, BodyLinesUntilEitherClosingLine) {
  struct Case {
    const char16_t* closer;
    int32_t result;
  } cases[] = {
      {u"End Sub", SvUserFun::DefinitionComplete},
      {u"End Function", SvUserFun::DefinitionComplete},  // ends a Sub as well
      {u"EndSub x", SvUserFun::DefinitionComplete},
      {u"End", SvUserFun::LineTaken},
  };
  for (const Case& c : cases) {
    auto f = rt::make<SvUserFun>();
    f->addLine(*tokens(u"Sub S()"));
    rt::Ref<ExpItems> body = tokens(u"x = 1");
    EXPECT_EQ(f->addLine(*body), SvUserFun::LineTaken);
    body->clear();  // the compiler reuses its list: the function keeps a copy
    EXPECT_EQ(f->addLine(*tokens(u"")), SvUserFun::LineTaken);
    EXPECT_EQ(f->addLine(*tokens(c.closer)), c.result) << utf8(c.closer);
    ASSERT_GE(f->lines().count(), 1);
    EXPECT_EQ(enginetest::dump(f->lines().item(1)), "x _ {=} _ i1");
    EXPECT_EQ(f->lines().count(), c.result == SvUserFun::LineTaken ? 2 : 1);  // no empty lines
  }
}

TEST(UserFunction, StoredFormRoundTrip) {
  auto f = rt::make<SvUserFun>();
  f->addLine(*tokens(u"Function Area(w, h)"));
  rt::Ref<ExpItems> line = tokens(u"Area = w * h * K");
  line->sptModeLine = 7;
  f->addLine(*line);
  f->addLine(*tokens(u"End Function"));

  rt::Ref<nubrel::IMemStream> ms = enginetest::memStream();
  f->writeStream(*ms);
  ms->setDir(nubrel::InStream);
  auto back = rt::make<SvUserFun>();
  rt::Ref<ExpItems> k = tokens(u"2");
  back->readStream(*ms, [&](std::u16string_view name) { return name == u"K" ? k.get() : nullptr; });
  EXPECT_EQ(utf8(back->name()), "Area");
  EXPECT_EQ(paramsOf(*back), "w,h");
  ASSERT_EQ(back->lines().count(), 1);
  EXPECT_EQ(back->lines().item(1).sptModeLine, 7);
  EXPECT_EQ(enginetest::dump(back->lines().item(1)), "Area _ {=} _ w _ {*} _ h _ {*} _ i2");
}

TEST(UserFunction, DamagedStoredFormFails) {
  // A count far beyond what the stream holds ends in an error, not a spin.
  const char16_t* buffers[] = {
      u"00000001F" u"7FFFFFFF",                          // parameters
      u"00000001F" u"00000000" u"7FFFFFFF",              // lines
      u"00000001F" u"00000000" u"00000001"               // tokens of a line
      u"00000000" u"00000001" u"7FFFFFFF",
  };
  for (const char16_t* buffer : buffers) {
    rt::Ref<nubrel::IMemStream> ms = enginetest::memStream();
    ms->setStrBuffer(buffer);
    auto f = rt::make<SvUserFun>();
    EXPECT_NE(enginetest::errorOf([&] { f->readStream(*ms); }), 0) << utf8(buffer);
  }
}
