// The answer of the password question.
#include "password.h"

#include "testpacks.h"

namespace wistel::test {
namespace {

TEST_F(PackerTest, DlgReturnKeepsOneTextPerKeyWithoutRegardToCase) {
  DlgReturn r;
  EXPECT_FALSE(r.isOk());
  EXPECT_EQ(r.value(u"InputInfo"), u"");  // never set
  r.setValue(u"ChkPwd", u"first");
  r.setValue(u"chkpwd", u"second");  // the same key: replaced
  r.setValue(u"Other", u"x");
  EXPECT_EQ(r.value(u"CHKPWD"), u"second");
  EXPECT_EQ(r.value(u"other"), u"x");
  r.setIsOk(true);
  EXPECT_TRUE(r.isOk());
}

TEST_F(PackerTest, TheQuestionTakesOnlyTheStoredTextExactly) {
  work_->expectPassword({u"PW", u"pw ", u"pw"}).expectPassword({u"Pw"});
  EXPECT_TRUE(askPassword(u"pw"));
  EXPECT_FALSE(askPassword(u"pw"));  // refused, then closed
  work_->checkAllAsked();
  int refusals = 0;
  for (const RecordingUiHost::Box& b : ui_->boxes)
    refusals += b.prompt == u"口令无效，请重新录入。" && b.style == rt::mb::OkOnly && b.title == u"Wistel";
  EXPECT_EQ(refusals, 3);
  EXPECT_EQ(ui_->boxes.size(), 3u);
}

}  // namespace
}  // namespace wistel::test
