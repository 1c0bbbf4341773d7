#include "rt/workhost.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "rt/testhost.h"

namespace {

using Lines = std::vector<std::u16string>;

TEST(WorkHost, HeadlessDrawsNothingAndAQuestionCountsAsClosed) {
  rt::WorkHost& h = rt::workHost();
  rt::Ref<rt::ProgressView> view = h.openProgress();
  ASSERT_TRUE(view);
  view->setCaption(u"x");
  view->setRowCount(2);
  view->setRow(2, u"a", 1, 3);
  view->close();
  int asked = 0;
  EXPECT_FALSE(h.askPassword(u"c", u"p", [&](const std::u16string&) { return ++asked, true; }));
  EXPECT_EQ(asked, 0);

  auto scripted = rt::make<rt::ScriptedWorkHost>();
  rt::Ref<rt::WorkHost> previous = rt::setWorkHost(scripted);
  EXPECT_EQ(&rt::workHost(), static_cast<rt::WorkHost*>(scripted.get()));
  EXPECT_EQ(rt::setWorkHost(nullptr), rt::Ref<rt::WorkHost>(scripted));
  EXPECT_EQ(&rt::workHost(), previous.get());
}

TEST(ScriptedWorkHost, RecordsViewsYieldsAndAnswers) {
  auto host = rt::make<rt::ScriptedWorkHost>();
  host->expectPassword({u"a", u"b"}).expectPassword({u"x"});
  {
    rt::ScopedUiHost ui(host);
    rt::ScopedWorkHost work(host);
    rt::Ref<rt::ProgressView> v = rt::workHost().openProgress();
    v->setCaption(u"正在打包...");
    v->setRowCount(2);
    v->setRow(1, u"/", 0, 3);
    rt::uiHost().yield();
    v->setRowCount(1);  // rows never go away
    v->close();
    auto onlyB = [](const std::u16string& e) { return e == u"b"; };
    EXPECT_TRUE(rt::workHost().askPassword(u"录入口令", u"p", onlyB));
    EXPECT_FALSE(rt::workHost().askPassword(u"录入口令", u"q", onlyB));
    EXPECT_THROW(rt::workHost().askPassword(u"录入口令", u"r", onlyB), std::logic_error);
  }
  EXPECT_EQ(host->transcript(),
            (Lines{u"open", u"caption 正在打包...", u"rows 2", u"row 1 / 0/3", u"yield", u"rows 1",
                   u"close", u"password 录入口令 | p", u"entry a refused", u"entry b taken",
                   u"password 录入口令 | q", u"entry x refused", u"closed",
                   u"password 录入口令 | r"}));
  EXPECT_EQ(host->rows().size(), 2u);
  EXPECT_EQ(host->rows()[0].label, u"/");
  EXPECT_EQ(host->yields(), 1);
  EXPECT_EQ(host->viewsClosed(), 1);
  // The unexpected question is kept as the host's failure.
  EXPECT_THROW(host->checkAllAsked(), std::logic_error);
}

TEST(ScriptedWorkHost, NamesAQuestionNeverAskedAndARowNeverMade) {
  auto host = rt::make<rt::ScriptedWorkHost>();
  host->expectPassword({});
  EXPECT_THROW(host->checkAllAsked(), std::logic_error);
  rt::Ref<rt::ProgressView> v = host->openProgress();
  EXPECT_THROW(v->setRow(1, u"a", 0, 1), std::logic_error);
}

}  // namespace
