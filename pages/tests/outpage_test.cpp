// A page run into a file or an output object: the lines written, the
// failures reported, and what a run lets go of however it ends.
#include <gtest/gtest.h>

#include <filesystem>

#include "pagetest.h"
#include "rt/activation.h"
#include "rt/dispatch.h"
#include "rt/error.h"
#include "rt/testing.h"
#include "rt/text.h"

namespace {

using halvorn::QIF_Error;
using halvorn::QIF_PageEnd;
using halvorn::QIF_PageStart;
using pagetest::PageTest;
using pagetest::recordedLines;
using Texts = std::vector<std::u16string>;

constexpr std::string_view kWorkedExample =
    "Hello \"world\"\n"
    "\n"
    "Total: <!!=n!!> items\n"
    "<!!=a!!>-<!!=b!!>\n"
    "<!! x = x + 1 !!>\n"
    "<!!\n"
    "For i = 1 To 3\n"
    "!!>\n"
    "Row\n"
    "<!! Next !!>\n"
    "<!--#INCLUDE file=\"head.page\"-->\n"
    "Name: <!! s = 1\n";

TEST_F(PageTest, WorkedExampleWritesItsSeventyFiveBytes) {
  write("head.page", "HEAD\n");
  EXPECT_EQ(output(kWorkedExample),
            "Hello \"world\"\r\nTotal: 0 items\r\n0-0\r\n\r\n\r\nRow\r\n\r\nRow\r\n\r\nRow\r\n\r\n"
            "HEAD\r\nName: \r\n");
  EXPECT_EQ(read("out.txt").size(), 75u);
  EXPECT_TRUE(dir.exists("p.page.bin"));
  EXPECT_TRUE(dir.exists("head.page.bin"));
}

TEST_F(PageTest, OutputBecomesLinesAtEachLastLineEnd) {
  // The block stays open to the end, so no closer ends a line.
  EXPECT_EQ(output("<!!\nOutPut \"a\"\nOutPut \"b\" & Chr(13) & Chr(10) & \"c\"\n"
                   "OutPut \"\"\nOutPut \"d\" & Chr(13) & Chr(10)\n"),
            "ab\r\ncd\r\n");
  EXPECT_EQ(output("<!!\nOutPut \"x\"\n"), "x\r\n");
  // The part-line is written once: not again by a second run.
  ASSERT_TRUE(run("out.txt", "p.page"));
  EXPECT_EQ(read("out.txt"), "x\r\n");
  // Several line ends in one text stay in one line written.
  EXPECT_EQ(output("<!!\nOutPut \"1\" & Chr(13) & Chr(10) & \"2\" & Chr(13) & Chr(10) & \"3\"\n"),
            "1\r\n2\r\n3\r\n");
}

TEST_F(PageTest, ObjectOutputGetsEachCompletedChunkOnce) {
  write("p.page", "<!!\nOutPut \"a\"\nOutPut \"b\" & Chr(13) & Chr(10) & \"c\" & Chr(13) & Chr(10) & \"d\"\n");
  ASSERT_TRUE(page->outPage(pagetest::kRecorder, name("p.page")));
  EXPECT_EQ(recordedLines(), (Texts{u"ab\r\nc", u"d"}));
  EXPECT_EQ(page->outBasePath(), u"");
}

TEST_F(PageTest, ObjectNamesGetNoOutputFolder) {
  write("p.page", "text\n");
  page->setOutBasePath(name("out/"));
  ASSERT_TRUE(page->outPage(u"OBJECT:PageTest.Lines", name("p.page")));
  EXPECT_EQ(recordedLines(), Texts{u"text"});
  EXPECT_FALSE(dir.exists("out"));
}

TEST_F(PageTest, RelativeNamesTakeTheFoldersOfTheLastRun) {
  write("sub/p.page", "one\n");
  write("sub/q.page", "two\n");
  ASSERT_TRUE(page->outPage(name("o/a/out.txt"), name("sub/p.page")));
  EXPECT_EQ(page->outBasePath(), name("o/a/"));
  EXPECT_EQ(page->qelBasePath(), name("sub/"));
  ASSERT_TRUE(page->outPage(u"b.txt", u"q.page"));
  EXPECT_EQ(read("o/a/b.txt"), "two\r\n");
  EXPECT_EQ(page->outFileName(), name("o/a/b.txt"));
  // No names: the last page into the last output again.
  write("sub/q.page", "three\n");
  ASSERT_TRUE(page->outPage(u"", u""));
  EXPECT_EQ(read("o/a/b.txt"), "three\r\n");
  // "\" separates too.
  ASSERT_TRUE(page->outPage(u"c\\d.txt", u"q.page"));
  EXPECT_EQ(read("o/a/c/d.txt"), "three\r\n");
}

TEST_F(PageTest, RunsThatCannotStartAreReported) {
  write("p.page", "x\n");
  write("file", "in the way");
  std::filesystem::create_directory(dir.at("folder"));
  struct Case {
    std::u16string out, page, message;
  };
  const Case cases[] = {
      {u"", u"", u"没有指定输出文件名。"},
      {name("o.txt"), u"", u"没有指定脚本文件名。"},
      {name("file/o.txt"), name("p.page"), u"输出文件路径[" + name("file/") + u"]不存在或不能被建立。"},
      {name("o.txt"), name("none.page"), u"没有发现要执行的脚本文件[" + name("none.page") + u"]。"},
      {name("folder"), name("p.page"), u"输出文件[" + name("folder") + u"]不能被正常打开。"},
  };
  page->setIsShowInfo(true);
  for (const Case& c : cases) {
    rt::Ref<halvorn::SPage> fresh = rt::make<halvorn::SPage>();
    rt::Ref<pagetest::InfoLog> log = rt::make<pagetest::InfoLog>();
    fresh->advise(log);
    fresh->setIsShowInfo(true);
    EXPECT_FALSE(fresh->outPage(c.out, c.page));
    EXPECT_EQ(fresh->errString(), c.message);
    EXPECT_EQ(log->texts(QIF_Error), Texts{c.message});
    EXPECT_FALSE(fresh->error().haveErr());
  }
}

TEST_F(PageTest, ACompiledPageThatDoesNotOpenIsRecorded) {
  write("p.page.bin", "not a stream");
  EXPECT_TRUE(run("out.txt", "p.page"));
  EXPECT_EQ(page->error().number(), -1);
  EXPECT_EQ(page->error().description(), u"不能打开预编译文件[" + name("p.page.bin") + u"]。");
  EXPECT_EQ(page->error().source(), u"Halvorn.SPage.ExecIncFile");
  EXPECT_EQ(read("out.txt"), "");
}

// A run that fails leaves its output as it was.
TEST_F(PageTest, ScriptFailuresAreRecordedUnderExecIncFile) {
  write("out.txt", "old\n");
  write("p.page", "before\n<!! x = 1 / 0 !!>\nafter\n");
  EXPECT_TRUE(run("out.txt", "p.page"));
  EXPECT_EQ(page->error().number(), rt::err::DivisionByZero);
  EXPECT_TRUE(page->error().source().starts_with(u"Halvorn.SPage.ExecIncFile\r\n"));
  EXPECT_EQ(read("out.txt"), "old\n");
  // A directive the host refuses ends the run the same way.
  write("p.page", "before\n<!!\n#bogus\n");
  EXPECT_TRUE(run("out.txt", "p.page"));
  EXPECT_EQ(page->error().number(), static_cast<int32_t>(0x800403EB));
  EXPECT_EQ(read("out.txt"), "old\n");
  // The record and ErrString start empty with every run.
  write("p.page", "fine\n");
  EXPECT_TRUE(run("out.txt", "p.page"));
  EXPECT_FALSE(page->error().haveErr());
}

// Every failure says where it happened: the page or the include, and the
// line of that file's own text; what cannot load leaves no compiled page.
TEST_F(PageTest, FailuresSayWhere) {
  page->setIsShowInfo(true);
  write("inc.page", "in inc\n\n<!! y = 1 / 0 !!>\n");
  write("bad.page", "x\n<!! Function !!>\n");
  write("fun.page", "<!!\nFunction F()\n  F = 1 / 0\nEnd Function\n!!>\n");
  std::string strings;
  for (int i = 0; i < 1500; ++i) strings += "\"\"";
  const int32_t header = static_cast<int32_t>(0x80040007);  // a malformed Function line
  struct Case {
    const char* what;
    std::string text;
    const char* file;
    int32_t line;
    int32_t number;
  };
  const Case cases[] = {
      {"compile", "a\n<!! Function !!>\n", "p.page", 2, header},
      {"run", "a\n\n<!! x = 1 / 0 !!>\n", "p.page", 3, rt::err::DivisionByZero},
      {"an include's run", "a\n<!--#INCLUDE file=\"inc.page\"-->\n", "inc.page", 3, rt::err::DivisionByZero},
      {"an include's compile", "<!--#INCLUDE file=\"bad.page\"-->\n", "bad.page", 2, header},
      {"a missing include", "a\n<!--#INCLUDE file=\"none.page\"-->\n", "p.page", 0, -1},
      {"a function an include defined", "<!--#INCLUDE file=\"fun.page\"-->\n<!! x = F() !!>\n", "fun.page", 3,
       rt::err::DivisionByZero},
      {"a text line of 300 double quotes", "a\nb" + std::string(300, '"') + "\n", "p.page", 2,
       rt::err::ExpressionTooComplex},
      {"a function's line over the limit", "<!!\nFunction G()\n  G = 1\n  G = \"" + strings + "\"\nEnd Function\n!!>\n",
       "p.page", 4, rt::err::ExpressionTooComplex},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    write("p.page", c.text);
    run("out.txt", "p.page");
    const halvorn::ErrorPlace at = page->errorPlace();
    EXPECT_EQ(at.file, name(c.file));
    EXPECT_EQ(at.line, c.line);
    EXPECT_EQ(at.number, c.number);
    EXPECT_FALSE(at.description.empty() || at.description.starts_with(u"在")) << rt::toUtf8(at.description);
    if (c.number == rt::err::ExpressionTooComplex) {
      EXPECT_FALSE(dir.exists("p.page.bin"));
    }
  }
}

TEST_F(PageTest, ShowInfoFollowsIsShowInfo) {
  write("p.page", "<!! curPage.Info \"x\" : curPage.info \"y\" !!>\n");
  EXPECT_FALSE(page->isShowInfo());
  ASSERT_TRUE(run("out.txt", "p.page"));
  EXPECT_TRUE(page->isShowInfo());
  EXPECT_EQ(info->kinds(), (std::vector<int32_t>{halvorn::QIF_UserInfo, halvorn::QIF_UserInfo, QIF_PageEnd}));
  EXPECT_EQ(info->texts(halvorn::QIF_UserInfo), (Texts{u"x", u"y"}));
  info->calls.clear();
  ASSERT_TRUE(run("out.txt", "p.page"));
  EXPECT_EQ(info->kinds().front(), QIF_PageStart);
  EXPECT_EQ(info->texts(QIF_PageStart), Texts{name("out.txt")});
  // InfoOff keeps the end to itself, and stays off after the run.
  write("p.page", "<!! curPage.InfoOff !!>\n");
  info->calls.clear();
  ASSERT_TRUE(run("out.txt", "p.page"));
  EXPECT_EQ(info->kinds(), std::vector<int32_t>{QIF_PageStart});
  EXPECT_FALSE(page->isShowInfo());
}

// An output object whose InputLine fails.
class FailingLines final : public rt::Automation<FailingLines> {
 public:
  static const rt::MemberTable<FailingLines>& members() {
    static const auto table = rt::MemberTable<FailingLines>(u"FailingLines")
                                  .method(u"InputLine", [](FailingLines&, std::u16string) {
                                    rt::raise(rt::err::DeviceIO);
                                  });
    return table;
  }
};

// However a run ends, its names are unbound and its output let go.
TEST_F(PageTest, ARunThatRaisesLetsGoOfItsOutput) {
  rt::registerLocalClass(u"PageTest.Failing", rt::classIdOf("PageTest.Failing"),
                         [] { return rt::Ref<rt::Object>(rt::make<FailingLines>()); });
  write("p.page", "text\n");
  EXPECT_EQ(rt::testing::errorOf([&] { page->outPage(u"object:No.Such.Class", name("p.page")); }),
            rt::err::CannotCreateObject);
  // A line the script writes fails the script.
  EXPECT_TRUE(page->outPage(u"object:PageTest.Failing", name("p.page")));
  EXPECT_EQ(page->error().number(), rt::err::DeviceIO);
  // The part-line written at the end fails the run.
  write("p.page", "<!!\nOutPut \"x\"\n");
  EXPECT_TRUE(page->outPage(u"object:PageTest.Failing", name("p.page")));
  EXPECT_EQ(page->error().number(), rt::err::DeviceIO);
  rt::unregisterLocalClass(u"PageTest.Failing");

  // The page is not left running, no part-line is left over, and its
  // names are gone.
  EXPECT_TRUE(run("out.txt", "p.page"));
  EXPECT_EQ(read("out.txt"), "x\r\n");
  rt::Ref<zorbel::ScriptSpace> space = page->host()->sSpace();
  for (const char16_t* n : {u"curPage", u"NewPage"}) EXPECT_FALSE(space->existValue(n));
  space = nullptr;
  EXPECT_EQ(page->refCount(), 1u);
}

}  // namespace
