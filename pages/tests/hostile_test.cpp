// Pages nobody should write: each ends with a result or a reported error.
#include <gtest/gtest.h>

#include <string>

#include "pagetest.h"

namespace {

using halvorn::QIF_Error;
using pagetest::PageTest;

TEST_F(PageTest, HostilePages) {
  page->setIsShowInfo(true);
  std::string blocks;
  for (int i = 0; i < 1000000; ++i) blocks += "<!!!!>";
  EXPECT_EQ(output(blocks + "\n"), "\r\n");
  // Blocks left open, a closer in text, a closer alone.
  EXPECT_EQ(output("a\n<!!\nx = 1\n<!!\n"), "a\r\n");
  EXPECT_EQ(output("text !!> more\n"), "text !!> more\r\n");
  EXPECT_EQ(output("!!>\n"), "!!>\r\n");
  // A missing include.
  info->calls.clear();
  EXPECT_EQ(shown("<!--#INCLUDE file=\"gone.page\"-->\nafter\n"), "after\r\n");
  EXPECT_EQ(info->texts(QIF_Error).size(), 1u);
}

TEST_F(PageTest, AChainOfTwoHundredPages) {
  page->setIsShowInfo(true);
  for (int i = 0; i < 200; ++i)
    write("c" + std::to_string(i) + ".page",
          "<!! Set n = curPage.NewPage() : n.InfoOn !!>\n<!! n.OutPage \"o" + std::to_string(i + 1) + ".txt\", \"c" +
              std::to_string(i + 1) + ".page\" !!>\nstep " + std::to_string(i) + "\n");
  EXPECT_TRUE(run("o0.txt", "c0.page"));
  // The refusal fails every run of the chain: none is written.
  for (int i = 0; i <= 32; ++i) EXPECT_FALSE(dir.exists("o" + std::to_string(i) + ".txt")) << i;
  EXPECT_EQ(info->texts(QIF_Error).size(), 1u);
}

}  // namespace
