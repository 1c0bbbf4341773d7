// The compiler: comments, continuation lines, directives, definitions, line
// numbers and the errors it records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/scriptcompile.h"
#include "rt/activation.h"
#include "rt/dispatch.h"
#include "testsupport.h"

using namespace engine;
using enginetest::compiled;
using enginetest::memStream;
using enginetest::records;
using enginetest::utf8;
using Records = std::vector<std::string>;

TEST(Compiler, Records) {
  struct Case {
    const char16_t* source;
    Records want;
  } cases[] = {
      {u"", {"end"}},
      {u"\r\n\r\n  ' only a comment\r\n", {"end"}},
      {u"x = 1", {"1: x _ {=} _ i1", "end"}},
      {u"x = 1\r\ny = 2", {"1: x _ {=} _ i1", "2: y _ {=} _ i2", "end"}},
      {u"x = 1\r\ny = 2\r\n", {"1: x _ {=} _ i1", "2: y _ {=} _ i2", "end"}},
      {u"a\nb\rc\r\n\r\nd", {"1: a", "2: b", "3: c", "5: d", "end"}},  // any line end
      {u"x = 1 ' note", {"1: x _ {=} _ i1", "end"}},
      {u"x = 1'note", {"1: x _ {=} _ i1", "end"}},
      {u"x = 1 // note", {"1: x _ {=} _ i1", "end"}},
      {u"a /* c */ b", {"1: a _ b", "end"}},
      {u"a /* open\r\nx = 1\r\nstill */ b", {"1: a", "3: b", "end"}},
      {u"s = \"it's\"", {"1: s _ {=} _ \"it's\"", "end"}},
      {u"s = \"a // b /* c\"", {"1: s _ {=} _ \"a // b /* c\"", "end"}},
      {u"a = 1 + _\r\n2", {"2: a _ {=} _ i1 _ {+} _ i2", "end"}},
      {u"ab _\r\ncd", {"2: ab _ cd", "end"}},  // joined with one blank
      {u"If a And _\nb Then", {"2: {If} a {And} _ b {Then}", "end"}},
      {u"x = 1 : y = 2", {"1: x _ {=} _ i1 _ {:} _ y _ {=} _ i2", "end"}},
      {u"\tx = 1", {"1: x _ {=} _ i1", "end"}},
      {u"#define PI = 3.14", {"#define PI = 3.14", "end"}},
      {u"  #Include \"a.zub\"  ", {"#Include \"a.zub\"", "end"}},
      {u"#define LONG = 1 + _\r\n2", {"#define LONG = 1 + 2", "end"}},
      {u"Sub Hello(a)\r\nPrint a\r\nEnd Sub\r\nHello 1",
       {"fun Hello(a)", "  2: Print _ a", "4: Hello _ i1", "end"}},
      {u"Public Sub P()\r\nx = 1\r\nEnd Sub", {"fun P()", "  2: x _ {=} _ i1", "end"}},
      {u"Private Function F(a, b)\r\n\r\nF = a\r\nEnd Function\r\ny = F(1, 2)",
       {"fun F(a,b)", "  3: F _ {=} _ a", "5: y _ {=} _ F {(} i1 {,} _ i2 {)}", "end"}},
      {u"Sub A()\r\n#define X = 1\r\nEnd Sub", {"#define X = 1", "fun A()", "end"}},
      {u"Public x", {"1: {Public} x", "end"}},
      {u"x = 1 _", {"end"}},  // continued past the end of the text
  };
  for (const Case& c : cases) EXPECT_EQ(compiled(c.source), c.want) << utf8(c.source);
}

TEST(Compiler, ErrorsStopTheTextAndStillEndTheStream) {
  struct Case {
    const char16_t* source;
    int32_t number;
    const char* source_;
    int32_t line;
    Records written;
  } cases[] = {
      {u"x = 1\r\ns = \"abc\r\ny = 2", static_cast<int32_t>(0x80040067),
       "Kestrin.ScriptCompile.CompileLine\r\nKestrin.ScriptHost.ClearSptRem", 2,
       {"1: x _ {=} _ i1", "end"}},
      {u"x = 1\r\ny = 中\r\nz = 3", static_cast<int32_t>(0x800403EA),
       "Kestrin.ScriptCompile.ExecLine\r\nKestrin.ExpItems.Init", 2, {"1: x _ {=} _ i1", "end"}},
      {u"Sub Main\r\nx = 1", static_cast<int32_t>(0x80040007),
       "Kestrin.ScriptCompile.CompileLine\r\nKestrin.SvUserFun.AddLine\r\nKestrin.SvUserFun.FirstLine",
       1, {"end"}},
      // A definition that never closes names its header line.
      {u"x = 1\r\nSub S()\r\ny = 2\r\nz = 3", static_cast<int32_t>(0x80040008),
       "Kestrin.ScriptCompile.CompileEnd", 2, {"1: x _ {=} _ i1", "end"}},
      {u"x = 1\r\nPublic Function F()\r\ny = 2", static_cast<int32_t>(0x80040008),
       "Kestrin.ScriptCompile.CompileEnd", 2, {"1: x _ {=} _ i1", "end"}},
  };
  for (const Case& c : cases) {
    auto compiler = rt::make<ScriptCompile>();
    rt::Ref<nubrel::IMemStream> ms = memStream();
    compiler->compile(c.source, *ms);
    jespin::IErrInfo& e = compiler->error();
    EXPECT_EQ(e.number(), c.number) << utf8(c.source);
    EXPECT_EQ(utf8(e.source()), c.source_) << utf8(c.source);
    EXPECT_EQ(compiler->curLineCode(), c.line) << utf8(c.source);
    ms->setDir(nubrel::InStream);
    EXPECT_EQ(records(*ms), c.written) << utf8(c.source);
  }
}

TEST(Compiler, LinesFedOneByOne) {
  auto compiler = rt::make<ScriptCompile>();
  rt::Ref<nubrel::IMemStream> ms = memStream();
  auto feed = [&](const char16_t* line) {
    compiler->compileLine(line, *ms);
    return compiler->error().haveErr();
  };
  EXPECT_FALSE(feed(u"a = 1"));
  EXPECT_FALSE(feed(u"/* a comment"));
  EXPECT_FALSE(feed(u"that goes on */ b = 2"));
  EXPECT_EQ(compiler->curLineCode(), 3);  // each line counts
  EXPECT_TRUE(feed(u"c = 中"));
  EXPECT_EQ(compiler->curLineCode(), 4);
  EXPECT_FALSE(feed(u"d = 4"));  // compiled on its own, not joined to the failed line
  compiler->setCurLineCode(20);   // a number let in names the next line
  EXPECT_FALSE(feed(u"e = 5"));
  EXPECT_FALSE(feed(u"f = 6"));
  EXPECT_EQ(compiler->curLineCode(), 21);
  EXPECT_FALSE(feed(u"Sub S()"));
  compiler->compileEnd(*ms);
  EXPECT_EQ(compiler->error().number(), static_cast<int32_t>(0x80040008));
  EXPECT_EQ(utf8(compiler->error().description()),
            "脚本语法错误：语句块没有结束：第 22 行的 Sub 没有对应的 End Sub");
  EXPECT_EQ(compiler->curLineCode(), 22);
  ms->setDir(nubrel::InStream);
  EXPECT_EQ(records(*ms), (Records{"1: a _ {=} _ i1", "3: b _ {=} _ i2", "5: d _ {=} _ i4",
                                   "20: e _ {=} _ i5", "21: f _ {=} _ i6", "end"}));
}

TEST(Compiler, CompileStartsAfresh) {
  auto compiler = rt::make<ScriptCompile>();
  rt::Ref<nubrel::IMemStream> ms = memStream();
  compiler->compileLine(u"a = 1 + _", *ms);
  compiler->compileLine(u"/* open", *ms);
  compiler->compileLine(u"Sub S()", *ms);
  rt::Ref<nubrel::IMemStream> fresh = memStream();
  compiler->compile(u"x = 1", *fresh);
  EXPECT_FALSE(compiler->error().haveErr());
  fresh->setDir(nubrel::InStream);
  EXPECT_EQ(records(*fresh), (Records{"1: x _ {=} _ i1", "end"}));
}

TEST(Compiler, ByProgIdAndLateBinding) {
  rt::Ref<rt::Object> compiler = rt::createObject(u"Kestrin.ScriptCompile");
  ASSERT_TRUE(compiler);
  rt::Ref<nubrel::IMemStream> ms = memStream();
  std::vector<rt::Variant> args{rt::Variant(u"x = 1\r\ny = 2"), rt::Variant(ms)};
  rt::callByName(compiler.get(), u"Compile", rt::Method, args);
  EXPECT_EQ(rt::toLong(rt::getProperty(compiler.get(), u"curLineCode")), 2);
  rt::Variant error = rt::getProperty(compiler.get(), u"Error");
  EXPECT_FALSE(rt::toBool(rt::callDefault(error.object(), rt::PropGet)));
  ms->setDir(nubrel::InStream);
  EXPECT_EQ(records(*ms), (Records{"1: x _ {=} _ i1", "2: y _ {=} _ i2", "end"}));

  rt::letProperty(compiler.get(), u"CURLINECODE", rt::Variant(int32_t(7)));
  std::vector<rt::Variant> noStream{rt::Variant(u"x"), rt::Variant(nullptr)};
  auto callWithoutStream = [&] {
    rt::callByName(compiler.get(), u"CompileLine", rt::Method, noStream);
  };
  EXPECT_EQ(enginetest::errorOf(callWithoutStream), rt::err::ObjectNotSet);
}

// A stream is read to its end record as a host reads it, nothing run: a
// whole one passes, one cut short or spoilt fails.
TEST(Compiler, ChecksAStreamWholeWithoutRunningIt) {
  const struct {
    const char16_t* source;  // compiled, then cut by `cut` characters
    size_t cut;
  } rows[] = {
      {u"x = 1\r\n#define N = 2\r\nSub S()\r\ny = N\r\nEnd Sub\r\nS", 0},
      {u"x = 1\r\nSub S()\r\ny = 2\r\nEnd Sub", 1},  // no end record
      {u"x = 1\r\ny = 2", 12},                     // within a line
      {u"#Include \"a.zub\"", 6},                   // the directive's text
  };
  auto compiler = rt::make<ScriptCompile>();
  for (const auto& r : rows) {
    rt::Ref<nubrel::IMemStream> ms = memStream();
    compiler->compile(r.source, *ms);
    ASSERT_FALSE(compiler->error().haveErr());
    const std::u16string text = ms->strBuffer();
    rt::Ref<nubrel::IMemStream> cut = memStream();
    cut->setStrBuffer(text.substr(0, text.size() - r.cut));
    EXPECT_EQ(compiler->checkStream(*cut), r.cut == 0) << utf8(r.source);
    EXPECT_EQ(compiler->error().haveErr(), r.cut != 0) << utf8(r.source);
  }
  // Other streams: a record of no known kind, and more after the end.
  for (int32_t first : {7, -1}) {
    rt::Ref<nubrel::IMemStream> other = memStream();
    other->setVLong(first);
    other->setVString(u"a pack, say");
    other->setDir(nubrel::InStream);
    EXPECT_FALSE(compiler->checkStream(*other)) << first;
    EXPECT_EQ(compiler->error().number(), 321) << first;
  }
}
