// What a page's script sees: "curPage" with its attributes, page functions
// and page variables, and "NewPage".
#include <gtest/gtest.h>

#include <filesystem>

#include "pagetest.h"
#include "rt/convert.h"
#include "rt/text.h"

namespace {

using halvorn::QIF_Error;
using halvorn::QIF_PageEnd;
using halvorn::QIF_PageStart;
using halvorn::QIF_UserInfo;
using pagetest::PageTest;
using Texts = std::vector<std::u16string>;

TEST_F(PageTest, AttributesOfThePage) {
  write("x/p.page",
        "<!!=curPage.Ver!!>\n<!!=curPage.curQelFn!!>\n<!!=curPage.curOutFn!!>\n"
        "<!!=curPage.QelBasePath!!>\n<!!=curPage.OutBasePath!!>\n");
  ASSERT_TRUE(page->outPage(name("y/a.txt"), name("x/p.page")));
  EXPECT_EQ(rt::fromUtf8(read("y/a.txt")), u"Halvorn 1.0.0\r\np.page\r\na.txt\r\n" + name("x/") +
                                               u"\r\n" + name("y/") + u"\r\n");
}

TEST_F(PageTest, PageFunctions) {
  EXPECT_EQ(output("<!!=curPage.Foo()!!>\n"), "未定义\r\n");
  EXPECT_EQ(output("<!! If curPage.OutPage(\"a.txt\") Then OutPut \"ran\" Else OutPut \"not run\" !!>\n"),
            "not run\r\n");
  EXPECT_FALSE(dir.exists("a.txt"));
  EXPECT_EQ(output("<!! If curPage.OutPage(\"a.txt\", \"b.page\") Then OutPut \"ran\" Else OutPut \"not run\" !!>\n"),
            "not run\r\n");
  EXPECT_EQ(output("<!! v = curPage.NoSuchFunction(1, 2) !!><!!=v!!>\n"), "未定义\r\n");
}

TEST_F(PageTest, PushFileAndPopFileSwitchFiles) {
  EXPECT_EQ(output("<!!\n"
                   "OutPut \"one\"\n"
                   "If curPage.PushFile(\"two.txt\") Then OutLine \"in two\"\n"
                   "If curPage.PushFile(\"no/such/three.txt\") Then OutLine \"three\"\n"
                   "OutPut \"still two\"\n"
                   "If curPage.PopFile() Then OutLine \"back\"\n"
                   "If curPage.PopFile() Then OutLine \"twice\" Else OutLine \"empty\"\n"),
            "one\r\nback\r\nempty\r\n");
  EXPECT_EQ(read("two.txt"), "in two\r\nstill two\r\n");
  EXPECT_FALSE(dir.exists("no"));
}

TEST_F(PageTest, PushFileAndPopFileDuringObjectOutput) {
  write("p.page", "<!!\nOutPut \"a\"\n"
                  "If curPage.PushFile(\"two.txt\") Then OutLine \"pushed\" Else OutLine \"refused\"\n"
                  "If curPage.PopFile() Then OutLine \"popped\" Else OutLine \"refused\"\n");
  ASSERT_TRUE(page->outPage(pagetest::kRecorder, name("p.page")));
  EXPECT_EQ(pagetest::recordedLines(), (Texts{u"arefused", u"refused"}));
  EXPECT_FALSE(dir.exists("two.txt"));
}

TEST_F(PageTest, PageVariablesOfANewPage) {
  write("child.page", "<!!=greeting!!>|<!!=n + 1!!>\n");
  EXPECT_EQ(output("<!!\n"
                   "Set c = NewPage()\n"
                   "c.greeting = \"hi\"\n"
                   "c.n = 41\n"
                   "c.OutPage \"c.txt\", \"child.page\"\n"
                   "OutPut c.curOutFn\n"),
            "c.txt\r\n");
  EXPECT_EQ(read("c.txt"), "hi|42\r\n");
}

TEST_F(PageTest, AChildPageReportsThroughItsParent) {
  write("child.page", "<!! curPage.Info \"from child\" !!>\n");
  page->setIsShowInfo(true);
  output("<!!\n"
         "Set c = curPage.NewPage()\n"
         "c.OutPage \"c.txt\", \"child.page\"\n"
         "Set d = NewPage()\n"
         "d.OutPage \"d.txt\", \"child.page\"\n"
         "Set e = curPage.NewPage()\n"
         "e.InfoOn\n"
         "e.OutPage \"e.txt\", \"child.page\"\n");
  const std::vector<std::pair<int32_t, std::u16string>> expected = {
      {QIF_PageStart, name("out.txt")},  {QIF_UserInfo, u"from child"},
      {QIF_PageEnd, name("c.txt")},      {QIF_PageStart, name("e.txt")},
      {QIF_UserInfo, u"from child"},     {QIF_PageEnd, name("e.txt")},
      {QIF_PageEnd, name("out.txt")},
  };
  EXPECT_EQ(info->calls, expected);
  EXPECT_TRUE(dir.exists("d.txt"));
}

// A child made by curPage.NewPage that fails at run time, is not found, or
// fails two levels down (under a page that turned its information off)
// fails every run on its way to the host (zubpage's tests see the output
// stay): a pushed file stays, the host is told once, at the failing page's
// line, and OutPage answers as before.
TEST_F(PageTest, AFailingChildFailsTheRunsItReachesTheHostThrough) {
  write("fails.page", "child\n<!! x = 1 / 0 !!>\n");
  write("middle.page", "<!! curPage.InfoOff : Set g = curPage.NewPage() : g.OutPage \"g.txt\", \"fails.page\" !!>\n");
  const struct {
    const char* child;
    bool ran;
    const char* failedIn;
    int32_t line;
  } cases[] = {{"fails.page", true, "fails.page", 2}, {"none.page", false, "none.page", 0},
               {"middle.page", true, "fails.page", 2}};
  page->setIsShowInfo(true);
  for (const auto& c : cases) {
    write("pushed.txt", "old pushed");
    info->calls.clear();
    write("p.page", std::string("top\n<!! curPage.PushFile \"pushed.txt\" !!>\nin pushed\n"
                                "<!! Set c = curPage.NewPage() : r = c.OutPage(\"c.txt\", \"") +
                        c.child + "\") !!>\nafter\n");
    EXPECT_TRUE(run("out.txt", "p.page")) << c.child;
    EXPECT_EQ(read("pushed.txt"), "old pushed") << c.child;
    rt::Ref<zorbel::ScriptValue> r = page->host()->sSpace()->value(u"r");
    ASSERT_TRUE(r) << c.child;
    EXPECT_EQ(rt::toBool(r->value()), c.ran) << c.child;
    Texts errors = info->texts(QIF_Error);
    ASSERT_EQ(errors.size(), 1u) << c.child;
    EXPECT_EQ(page->errString(), errors[0]);
    EXPECT_NE(errors[0].find(name(c.failedIn)), std::u16string::npos) << rt::toUtf8(errors[0]);
    EXPECT_EQ(page->errorPlace().file, name(c.failedIn));
    EXPECT_EQ(page->errorPlace().line, c.line) << c.child;
  }
}

// The outputs of children made by curPage.NewPage (two levels, each with
// its output and a file it pushed and popped) are put in place with the
// top run's when it ends well, and none of them when it fails after the
// children ended well; no temporary file is left either way.
TEST_F(PageTest, AChildsOutputsWaitForTheRunThatMadeIt) {
  const char* const files[] = {"out.txt", "out.txt-pushed", "c.txt", "c.txt-pushed", "g.txt", "g.txt-pushed"};
  const char* const pushing =
      "<!! curPage.PushFile curPage.curOutFn & \"-pushed\" !!>in pushed\n<!! curPage.PopFile !!>";
  write("g.page", std::string("grandchild\n") + pushing + "end\n");
  write("c.page", std::string("child\n") + pushing +
                      "<!! Set g = curPage.NewPage() : r = g.OutPage(\"g.txt\", \"g.page\") !!><!!=r!!>\n");
  for (const bool fails : {true, false}) {
    SCOPED_TRACE(fails ? "the top run fails" : "the top run ends well");
    for (const char* f : files) write(f, "old");
    write("p.page", pushing +
                        std::string("<!! Set c = curPage.NewPage() : r = c.OutPage(\"c.txt\", \"c.page\") !!><!!=r!!>\n") +
                        (fails ? "<!! x = 1 / 0 !!>\n" : "end\n"));
    EXPECT_TRUE(run("out.txt", "p.page"));
    EXPECT_EQ(page->error().haveErr(), fails);
    EXPECT_EQ(page->errString(), u"");
    if (fails) {
      for (const char* f : files) EXPECT_EQ(read(f), "old") << f;
    } else {
      EXPECT_EQ(read("out.txt"), "True\r\nend\r\n");
      EXPECT_EQ(read("c.txt"), "child\r\nTrue\r\n");
      EXPECT_EQ(read("g.txt"), "grandchild\r\nend\r\n");
      for (const char* f : {"out.txt-pushed", "c.txt-pushed", "g.txt-pushed"}) EXPECT_EQ(read(f), "in pushed\r\n") << f;
    }
    EXPECT_EQ(temporaries(), std::vector<std::string>());
  }
}

TEST_F(PageTest, ARunningPageRefusesToRunAgain) {
  page->setIsShowInfo(true);
  EXPECT_EQ(shown("before\n"
                  "<!! If curPage.OutPage(\"other.txt\", \"p.page\") Then OutPut \"ran\" Else OutPut \"refused\" !!>\n"
                  "after\n"),
            "before\r\nrefused\r\nafter\r\n");
  EXPECT_FALSE(dir.exists("other.txt"));
  EXPECT_EQ(info->texts(QIF_Error).size(), 1u);
}

TEST_F(PageTest, PageRunsNestThirtyTwoDeep) {
  page->setIsShowInfo(true);
  // Each run starts the same page into an output named one longer; each
  // child shows its information from the start, so the refusal reaches
  // the top page, and fails every run on the way: none writes its output.
  write("p.page", "<!! Set c = curPage.NewPage() : c.InfoOn !!>\n"
                  "<!! If c.OutPage(curPage.curOutFn & \"x\", \"p.page\") Then OutPut \"ran\" Else OutPut \"no\" !!>\n");
  EXPECT_TRUE(run("out.txt", "p.page"));
  for (size_t x = 0; x <= 32; ++x) EXPECT_FALSE(dir.exists("out.txt" + std::string(x, 'x'))) << x;
  Texts errors = info->texts(QIF_Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find(u"嵌套超过 32 层"), std::u16string::npos);
  EXPECT_EQ(page->errString(), errors[0]);
  // Into output objects, which show what ran: 31 runs under the top one,
  // the deepest told no.
  std::string out = shown("<!! Set c = curPage.NewPage() : c.InfoOn !!>\n"
                          "<!! If c.OutPage(\"object:PageTest.Lines\", \"p.page\") Then OutPut \"ran\" Else OutPut \"no\" !!>\n");
  std::string want(32 * 2, ' ');
  for (size_t i = 0; i < want.size(); i += 2) want.replace(i, 2, "\r\n");
  want += "no\r\n";
  for (int i = 0; i < 31; ++i) want += "ran\r\n";
  EXPECT_EQ(out, want);
}

// A page whose script keeps the pages it made is freed with them: the
// children do not hold their parent.
TEST_F(PageTest, PageTreesAreFreed) {
  write("leaf.page", "leaf\n");
  output("<!!\nSet a = curPage.NewPage()\nSet b = a.NewPage()\n"
         "b.OutPage \"b.txt\", \"leaf.page\"\nSet keep = NewPage()\n");
  EXPECT_EQ(read("b.txt"), "leaf\r\n");
  EXPECT_EQ(page->refCount(), 1u);
}

}  // namespace
