// Drive files: their lines, and the answers the driven dialogs take.
#include "marlox/drive.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "rt/testhost.h"

namespace {

TEST(Drive, LinesParse) {
  std::vector<marlox::DriveLine> lines = marlox::parseDrive(
      u"# comment\n\nopen a b.txt\r\ntype x\\ny\\\\z\\t\nselect 3 14\nselect-all\naction tBar_exec\n"
      u"expect-caption 中文 - T\nanswer text a b\nwait 200\nclose");
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0].number, 3);
  EXPECT_EQ(lines[0].verb, u"open");
  EXPECT_EQ(lines[0].arg, u"a b.txt");
  EXPECT_EQ(lines[1].arg, u"x\ny\\z\t");
  EXPECT_EQ(lines[1].text, u"type x\\ny\\\\z\\t");
  EXPECT_EQ(lines[2].arg, u"3 14");
  EXPECT_EQ(lines[5].arg, u"中文 - T");
  EXPECT_EQ(lines[8].verb, u"close");
  EXPECT_EQ(lines[8].number, 11);
}

TEST(Drive, BadLinesAreNamed) {
  for (const char16_t* bad : {u"jump 1", u"select 1", u"select a b", u"wait", u"close now", u"action a b",
                              u"select-all x", u"wait 1e3", u"key", u"key Shift Return"}) {
    try {
      marlox::parseDrive(std::u16string(u"select-all\n") + bad);
      ADD_FAILURE() << "accepted: " << rt::toUtf8(bad);
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()).rfind("drive line 2: " + rt::toUtf8(bad), 0), 0u) << e.what();
    }
  }
}

TEST(Drive, AnswersGoToTheNextDialogOfTheirKind) {
  auto base = rt::make<rt::ScriptedHost>();
  marlox::DriveAnswers a(base);
  for (const char16_t* answer : {u"yes", u"no", u"ok", u"text 名字", u"file /tmp/x", u"cancel", u"cancel"})
    EXPECT_TRUE(a.queue(answer));
  EXPECT_FALSE(a.queue(u"maybe"));
  EXPECT_FALSE(a.queue(u"file "));
  EXPECT_EQ(a.messageBox(u"q", rt::mb::YesNo, u""), rt::mb::Yes);
  EXPECT_EQ(a.messageBox(u"q", rt::mb::YesNo, u""), rt::mb::No);
  EXPECT_EQ(a.messageBox(u"i", rt::mb::OkOnly, u""), rt::mb::Ok);
  EXPECT_EQ(a.inputBox(u"p", u"", u""), u"名字");
  EXPECT_EQ(a.saveFile(u"", u""), u"/tmp/x");
  EXPECT_EQ(a.openFile(u"", u""), u"");  // cancel
  EXPECT_EQ(a.messageBox(u"q", rt::mb::YesNo, u""), rt::mb::No);  // cancel: the escape answer
  EXPECT_FALSE(a.failed());
  a.yield();
  a.beep();
  EXPECT_EQ(base->yields(), 1);
  EXPECT_EQ(base->beeps(), 1);

  // Nothing queued, or the wrong kind: cancelled, and the run fails, named.
  EXPECT_EQ(a.inputBox(u"请输入", u"", u""), u"");
  EXPECT_TRUE(a.failed());
  EXPECT_EQ(a.failure(), "no answer for the input box \"请输入\"");
  marlox::DriveAnswers b(base);
  b.queue(u"yes");
  EXPECT_EQ(b.openFile(u"a.txt", u""), u"");
  EXPECT_EQ(b.failure(), "the next answer does not fit the open dialog \"a.txt\"");
}

}  // namespace
