// Includes: where an included page is found, what is reported when it is
// not or when it fails, and how deep includes nest.
#include <gtest/gtest.h>

#include <filesystem>

#include "incfile.h"
#include "pagetest.h"
#include "rt/text.h"

namespace {

using halvorn::QIF_Error;
using pagetest::PageTest;
using Texts = std::vector<std::u16string>;

class Include : public PageTest {
 protected:
  void searchIn(const std::string& folder) {
    page->qelSearchPaths()->add(rt::Variant(name(folder) + u"/"));
  }
};

TEST_F(Include, ThePageFolderFirstThenEachSearchFolder) {
  searchIn("s1");
  searchIn("s2");
  write("p.page", "<!--#INCLUDE file=\"inc.page\"-->\n");
  write("s2/inc.page", "S2\n");
  EXPECT_EQ(output("<!--#INCLUDE file=\"inc.page\"-->\n"), "S2\r\n");
  // As its compiled form only, it still runs.
  std::filesystem::remove(dir.at("s2/inc.page"));
  ASSERT_TRUE(dir.exists("s2/inc.page.bin"));
  EXPECT_EQ(output("<!--#INCLUDE file=\"inc.page\"-->\n"), "S2\r\n");
  write("s1/inc.page", "S1\n");
  EXPECT_EQ(output("<!--#INCLUDE file=\"inc.page\"-->\n"), "S1\r\n");
  write("inc.page", "HERE\n");
  EXPECT_EQ(output("<!--#INCLUDE file=\"inc.page\"-->\n"), "HERE\r\n");
}

TEST_F(Include, NestedIncludesAreTakenFromThePageFolder) {
  write("sub/a.page", "A\n<!--#INCLUDE file=\"b.page\"-->\n");
  write("sub/b.page", "wrong B\n");
  write("b.page", "B\n");
  EXPECT_EQ(output("<!--#INCLUDE file=\"sub/a.page\"-->\nend\n"), "A\r\nB\r\nend\r\n");
}

TEST_F(Include, IncludesShareThePageNames) {
  write("set.page", "<!! shared = \"from include\" !!>\n");
  EXPECT_EQ(output("<!--#INCLUDE file=\"set.page\"-->\n<!!=shared!!>\n"), "\r\nfrom include\r\n");
}

TEST_F(Include, FailuresAreReportedAndTheRunGoesOn) {
  page->setIsShowInfo(true);
  write("bad.page", "<!! x = 1 / 0 !!>\n");
  EXPECT_EQ(shown("<!--#INCLUDE file=\"none.page\"-->\nmiddle\n<!--#INCLUDE file=\"bad.page\"-->\nend\n"),
            "middle\r\nend\r\n");
  Texts errors = info->texts(QIF_Error);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0],
            u"在引用[none.page]时发生错误：\r\n要包含的文件[none.page]没有被发现。\r\nHalvorn.QelIncFile.IncFile");
  EXPECT_TRUE(errors[1].starts_with(u"在执行文件[" + name("bad.page") + u"]时发生错误：\r\n"));
  EXPECT_NE(errors[1].find(u"\r\nHalvorn.QelIncFile.ExecIncFile\r\n"), std::u16string::npos);
  EXPECT_EQ(page->errString(), errors[1]);
  EXPECT_FALSE(page->error().haveErr());  // the page itself ran well
}

TEST_F(Include, APageThatIncludesItselfStopsAtThirtyTwo) {
  page->setIsShowInfo(true);
  std::string out = shown("<!--#INCLUDE file=\"p.page\"-->\nback\n");
  size_t backs = 0;
  for (size_t at = out.find("back"); at != std::string::npos; at = out.find("back", at + 1)) ++backs;
  EXPECT_EQ(backs, 33u);
  Texts errors = info->texts(QIF_Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].starts_with(u"在引用[p.page]时发生错误：\r\n"));
  EXPECT_NE(errors[0].find(u"嵌套超过 32 层"), std::u16string::npos);
}

// The include runner on its own: with no base folder, names are taken from
// the current folder, and absolute names and search folders still work.
TEST_F(Include, RunnerWithoutABaseFolder) {
  write("rel.page", "r\n");
  write("s/found.page", "f\n");
  rt::Ref<halvorn::QelIncFile> inc = rt::make<halvorn::QelIncFile>();
  rt::Ref<jespin::IVValues> folders = page->qelSearchPaths();
  folders->add(rt::Variant(name("s") + u"\\"));
  inc->setQelSearchPaths(folders.get());
  std::filesystem::path home = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  bool relative = inc->incFile(u"rel.page");
  std::filesystem::current_path(home);
  EXPECT_TRUE(relative);
  EXPECT_EQ(inc->qelFileName(), u"rel.page");
  inc->setQelBasePath(u"");
  EXPECT_TRUE(inc->incFile(u"found.page"));
  EXPECT_EQ(inc->qelFileName(), name("s") + u"\\found.page");
  EXPECT_EQ(inc->qelBasePath(), name("s") + u"\\");
  inc->setQelBasePath(u"");
  EXPECT_TRUE(inc->incFile(name("rel.page")));
  EXPECT_FALSE(inc->incFile(name("none.page")));
  EXPECT_EQ(inc->errString(), u"要包含的文件[" + name("none.page") + u"]没有被发现。\r\nHalvorn.QelIncFile.IncFile");
  inc->setQelFileName(u"");
  EXPECT_FALSE(inc->incFile(u""));
  EXPECT_EQ(inc->error().description(), u"没有指定脚本文件名。");
  // Run without a host: recorded, not raised.
  inc->execIncFile();
  EXPECT_EQ(inc->error().number(), rt::err::ObjectNotSet);
}

}  // namespace
