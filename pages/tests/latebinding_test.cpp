// The built library, reached as hosts reach it: every class by ProgID, its
// members by name.
#include <gtest/gtest.h>

#include "pagetest.h"
#include "rt/activation.h"
#include "rt/dispatch.h"
#include "rt/testing.h"
#include "rt/text.h"

namespace {

using rt::testing::call;
using pagetest::TempDir;

TEST(LateBinding, EveryClassIsCreatedByProgId) {
  for (const char16_t* progId : {u"Halvorn.QelCompile", u"Halvorn.SPage", u"Halvorn.QelIncFile",
                                 u"Halvorn.SvPageSubs", u"Halvorn.SvNewPage", u"Halvorn.QelEnums"}) {
    rt::Ref<rt::Object> o = rt::createObject(progId);
    ASSERT_TRUE(o) << rt::toUtf8(progId);
    EXPECT_TRUE(rt::queryRef<rt::Dispatch>(o.get())) << rt::toUtf8(progId);
  }
  // A member the class does not have.
  rt::Ref<rt::Object> enums = rt::createObject(u"Halvorn.QelEnums");
  EXPECT_EQ(rt::testing::errorOf([&] { call(enums.get(), u"Anything", rt::PropGet); }), rt::err::NotSupported);
}

TEST(LateBinding, APageRunByName) {
  TempDir dir;
  dir.write("p.page", "<!! x = 6 * 7 !!><!!=x!!>\n");
  rt::Ref<rt::Object> page = rt::createObject(u"Halvorn.SPage");
  call(page.get(), u"IsShowInfo", rt::PropLet, {rt::Variant(true)});
  EXPECT_TRUE(rt::toBool(call(page.get(), u"isshowinfo", rt::PropGet)));
  rt::Variant folders = call(page.get(), u"QelSearchPaths", rt::PropGet);
  EXPECT_EQ(rt::toLong(call(folders.object(), u"Count", rt::PropGet)), 0);
  EXPECT_TRUE(rt::toBool(call(page.get(), u"OutPage", rt::Method,
                              {rt::Variant(dir.name("out.txt")), rt::Variant(dir.name("p.page"))})));
  EXPECT_EQ(dir.read("out.txt"), "42\r\n");
  EXPECT_EQ(rt::toText(call(page.get(), u"OutBasePath", rt::PropGet)), dir.dir() + u"/");
  EXPECT_EQ(rt::toText(call(page.get(), u"QELFileName", rt::PropGet)), dir.name("p.page"));
  EXPECT_EQ(rt::toText(call(page.get(), u"ErrString", rt::PropGet)), u"");
  EXPECT_TRUE(call(page.get(), u"Host", rt::PropGet).object());
  // Without arguments: the last page into the last output again.
  EXPECT_TRUE(rt::toBool(call(page.get(), u"OutPage", rt::Method)));
  call(page.get(), u"OutFileName", rt::PropLet, {rt::Variant(u"")});
  EXPECT_FALSE(rt::toBool(call(page.get(), u"OutPage", rt::Method)));
  EXPECT_EQ(rt::toText(call(page.get(), u"ErrString", rt::PropGet)), u"没有指定输出文件名。");
}

TEST(LateBinding, ThePageCompilerByName) {
  rt::Ref<rt::Object> compiler = rt::createObject(u"Halvorn.QelCompile");
  rt::Ref<nubrel::IMemStream> ms = pagetest::newMemStream();
  call(compiler.get(), u"OpenMemStream", rt::Method, {rt::Variant(static_cast<rt::Object*>(ms.get()))});
  call(compiler.get(), u"AddCode", rt::Method, {rt::Variant(u"a<!!=1!!>\r\nb")});
  call(compiler.get(), u"AddCodeLine", rt::Method, {rt::Variant(u"c")});
  EXPECT_EQ(rt::toLong(call(compiler.get(), u"curLineCode", rt::PropGet)), 3);
  rt::Variant err = call(compiler.get(), u"Error", rt::PropGet);
  EXPECT_FALSE(rt::toBool(call(err.object(), u"HaveErr", rt::PropGet)));
  call(compiler.get(), u"CloseStream", rt::Method);
  EXPECT_FALSE(rt::toBool(call(compiler.get(), u"OpenOutStream", rt::Method, {rt::Variant(u"/no/such/x.bin")})));
  ms->setDir(nubrel::InStream);
  EXPECT_EQ(pagetest::runStream(*ms), u"a1\r\nb\r\nc\r\n");
}

TEST(LateBinding, TheIncludeRunnerByName) {
  TempDir dir;
  dir.write("inc.page", "included\n");
  rt::Ref<rt::Object> inc = rt::createObject(u"Halvorn.QelIncFile");
  rt::Ref<rt::Object> host = rt::createInstance(kestrin::IScriptHost::clsid);
  rt::Ref<pagetest::OutputLog> log = rt::make<pagetest::OutputLog>();
  rt::queryRef<kestrin::IScriptHost>(host.get())->advise(log);
  call(inc.get(), u"Host", rt::PropSet, {rt::Variant(host.get())});
  call(inc.get(), u"QelBasePath", rt::PropLet, {rt::Variant(dir.dir() + u"/")});
  EXPECT_FALSE(rt::toBool(call(inc.get(), u"IncFile", rt::Method, {rt::Variant(u"none.page")})));
  EXPECT_EQ(rt::toText(call(inc.get(), u"ErrString", rt::PropGet)),
            u"要包含的文件[none.page]没有被发现。\r\nHalvorn.QelIncFile.IncFile");
  EXPECT_TRUE(rt::toBool(call(inc.get(), u"IncFile", rt::Method, {rt::Variant(u"inc.page")})));
  EXPECT_EQ(rt::toText(call(inc.get(), u"QELFileName", rt::PropGet)), dir.dir() + u"/inc.page");
  call(inc.get(), u"ExecIncFile", rt::Method);
  EXPECT_EQ(log->text, u"included\r\n");
  rt::Variant err = call(inc.get(), u"Error", rt::PropGet);
  EXPECT_FALSE(rt::toBool(call(err.object(), u"HaveErr", rt::PropGet)));
  rt::queryRef<kestrin::IScriptHost>(host.get())->freeAll();
}

TEST(LateBinding, PageMembersBoundByInit) {
  rt::Ref<rt::Object> page = rt::createObject(u"Halvorn.SPage");
  rt::Ref<rt::Object> subs = rt::createObject(u"Halvorn.SvPageSubs");
  call(subs.get(), u"Init", rt::Method, {rt::Variant(page.get()), rt::Variant(u"answer")});
  rt::Ref<zorbel::ScriptValue> member = rt::queryRef<zorbel::ScriptValue>(subs.get());
  member->letValue(rt::Variant(int32_t{42}));
  rt::Ref<kestrin::IScriptHost> host = rt::queryRef<halvorn::ISPage>(page.get())->host();
  EXPECT_EQ(rt::toLong(host->sSpace()->value(u"answer")->value()), 42);
  EXPECT_EQ(member->flag(), 5);
  EXPECT_EQ(rt::testing::errorOf([&] {
              call(subs.get(), u"Init", rt::Method, {rt::Variant(subs.get()), rt::Variant(u"x")});
            }),
            rt::err::TypeMismatch);
  rt::Ref<rt::Object> newPage = rt::createObject(u"Halvorn.SvNewPage");
  call(newPage.get(), u"Init", rt::Method, {rt::Variant(page.get())});
  rt::Ref<zorbel::ScriptValue> made =
      rt::queryRef<zorbel::ScriptValue>(newPage.get())->funCall(nullptr, nullptr, zorbel::ModeObject);
  EXPECT_TRUE(rt::queryRef<halvorn::ISPage>(made.get()));
}

}  // namespace
