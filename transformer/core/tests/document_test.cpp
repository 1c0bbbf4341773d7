// The document: caption, the save question, the file commands with their
// event scripts, files loaded and saved, URLs and the edit commands.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "marlox/edittext.h"
#include "rig.h"

namespace {

using marloxtest::FakeRun;
using marloxtest::Rig;

constexpr char16_t kConfirm[] = u"数据已经修改，是否保存修改后的结果？";
constexpr char16_t kFilter[] = u"文本文件(*.txt)|*.txt|所有文件(*.*)|*.*";

// The error box of a save of `file` that failed at the step said by `head`
// and `tail` around the file's name, for `reason`.
std::u16string saveFailedBox(const std::u16string& file, std::u16string_view head, std::u16string_view tail,
                             std::u16string_view reason) {
  return u"程序运行时出现以下错误，如一直不能解决，请与开发者联系：\r\n\r\n文件[" + file + u"]不能被保存：\r\n" +
         std::u16string(head) + file + std::u16string(tail) + std::u16string(reason);
}

// A rig whose event scripts for the file commands count their runs.
struct EventRig : Rig {
  EventRig()
      : Rig("[Events]\nFileNew=ev/new.zub\nFileOpen=ev/open.zub\nFileSave=ev/save.zub\nOpenUrl=ev/url.zub\n") {
    for (const char* name : {"new", "open", "save", "url"})
      apps->add(appPath() + u"ev/" + rt::fromUtf8(name) + u".zub",
                [this, name](FakeRun&) { events.push_back(name); });
    start();
  }
  std::vector<std::string> events;
};

TEST(Edges, TextCrossesTheEditorBoundary) {
  EXPECT_EQ(marlox::toCrLf(u"a\nb\u2029c"), u"a\r\nb\r\nc");
  EXPECT_EQ(marlox::toEditor(u"a\r\nb\rc\n\r\n"), u"a\nb\nc\n\n");
}

TEST(Document, CaptionFollowsFileThenUrl) {
  EventRig rig;
  EXPECT_EQ(rig.window.caption, u"新文件 - Pelmora文本变换器");
  rig.home.write("a.txt", "a");
  rig.doc().cmFileOpen(rig.home.name("a.txt"));
  EXPECT_EQ(rig.window.caption, rig.home.name("a.txt") + u" - Pelmora文本变换器");
  rig.net.pages[u"http://x/y"] = u"page";
  EXPECT_TRUE(rig.doc().cmOpenUrl(u"http://x/y"));
  EXPECT_EQ(rig.window.caption, u"http://x/y - Pelmora文本变换器");
  EXPECT_EQ(rig.doc().curFileName(), u"");
  EXPECT_EQ(rig.events, (std::vector<std::string>{"open", "url"}));
  rig.checkAll();
}

// A URL leaves the text marked as changed: closing asks, and Yes leads to
// the save-as dialog.
TEST(Document, AUrlCountsAsChanged) {
  EventRig rig;
  rig.net.pages[u"http://h/t"] = u"l1\r\nl2";
  rig.ui->expectInputBox(u"输入要打开的网络链接(URL)", u"http://h/t");
  EXPECT_TRUE(rig.doc().cmOpenUrl(u""));
  EXPECT_EQ(rig.ui->asked()[0].defaultText, u"http://");
  EXPECT_EQ(rig.editor.content, u"l1\nl2");
  EXPECT_TRUE(rig.doc().modified());
  rig.ui->expectMessageBox(kConfirm, rt::mb::Yes);
  rig.dialogs.expectSave(u"", kFilter, u"");
  EXPECT_FALSE(rig.close());
  // The next question offers the URL.
  rig.ui->expectInputBox(u"输入要打开的网络链接(URL)", u"");
  EXPECT_FALSE(rig.doc().cmOpenUrl(u""));
  EXPECT_EQ(rig.ui->asked().back().defaultText, u"http://h/t");
  rig.checkAll();
}

TEST(Document, AUrlThatCannotBeFetchedChangesNothing) {
  EventRig rig;
  rig.editor.setText(u"kept");
  rig.doc().reset();
  rig.net.pages[u"http://bad"] = std::nullopt;
  EXPECT_FALSE(rig.doc().cmOpenUrl(u"http://bad"));
  EXPECT_EQ(rig.editor.content, u"kept");
  EXPECT_FALSE(rig.doc().modified());
  EXPECT_TRUE(rig.events.empty());
  rig.checkAll();
}

// Yes, then a cancelled save-as: the text stays, and FileNew still runs.
TEST(Document, NewKeepsTheTextWhenTheSaveIsCancelledButRunsItsEvent) {
  EventRig rig;
  rig.editor.setText(u"draft");
  rig.ui->expectMessageBox(kConfirm, rt::mb::Yes);
  rig.dialogs.expectSave(u"", kFilter, u"");
  EXPECT_TRUE(rig.doc().cmFileNew());
  EXPECT_EQ(rig.editor.content, u"draft");
  EXPECT_TRUE(rig.doc().modified());
  EXPECT_EQ(rig.events, std::vector<std::string>{"new"});
  rig.ui->expectMessageBox(kConfirm, rt::mb::No);
  EXPECT_TRUE(rig.doc().cmFileNew());
  EXPECT_EQ(rig.editor.content, u"");
  EXPECT_FALSE(rig.doc().modified());
  rig.checkAll();
}

TEST(Document, OpenRunsItsEventUnlessTheQuestionStopsIt) {
  EventRig rig;
  rig.dialogs.expectOpen(u"", kFilter, u"");  // cancelled: FileOpen still runs
  EXPECT_TRUE(rig.doc().cmFileOpen(u""));
  EXPECT_EQ(rig.doc().cmFileOpen(rig.home.name("missing.txt")), true);  // no message, event runs
  EXPECT_EQ(rig.events, (std::vector<std::string>{"open", "open"}));
  rig.editor.setText(u"changed");
  rig.ui->expectMessageBox(kConfirm, rt::mb::Yes);
  rig.dialogs.expectSave(u"", kFilter, u"");
  EXPECT_FALSE(rig.doc().cmFileOpen(u""));
  EXPECT_EQ(rig.events.size(), 2u);
  rig.checkAll();
}

TEST(Document, SaveRunsItsEventOnlyAfterAWrite) {
  EventRig rig;
  rig.editor.setText(u"one\ntwo");
  rig.dialogs.expectSave(u"", kFilter, rig.home.name("out.txt"));
  EXPECT_TRUE(rig.doc().cmFileSave());  // no name yet: save as
  EXPECT_EQ(rig.home.read("out.txt"), "one\r\ntwo\r\n");
  EXPECT_EQ(rig.window.caption, rig.home.name("out.txt") + u" - Pelmora文本变换器");
  EXPECT_FALSE(rig.doc().modified());
  rig.editor.setText(u"three");
  EXPECT_TRUE(rig.doc().cmFileSave());
  EXPECT_EQ(rig.home.read("out.txt"), "three\r\n");
  EXPECT_EQ(rig.events, (std::vector<std::string>{"save", "save"}));
  // A file that cannot be written: the error box, no event, False.
  rig.home.write("ro/x.txt", "old");
  ASSERT_EQ(marloxtest::shell("chmod a-w '" + rig.home.path() + "/ro/x.txt'"), 0);
  rig.dialogs.expectSave(rig.home.name("out.txt"), kFilter, rig.home.name("ro/x.txt"));
  rig.ui->expectMessageBox(
      saveFailedBox(rig.home.name("ro/x.txt"), u"不能打开文件[", u"]以写入：", u"Permission denied"), rt::mb::Ok);
  EXPECT_FALSE(rig.doc().cmFileSaveAs());
  EXPECT_EQ(rig.home.read("ro/x.txt"), "old");
  EXPECT_EQ(rig.events.size(), 2u);
  EXPECT_EQ(rig.doc().curFileName(), rig.home.name("out.txt"));
  rig.checkAll();
}

// A file comes back byte for byte; a line added is ended as the file's
// lines are, in the file's encoding.
TEST(Document, FilesLoadAndSaveBackLineForLine) {
  struct Case {
    std::string file;
    std::u16string editor;
    std::string added;  // the file after "\n+中" was typed at the end
  } cases[] = {
      {"a\r\nb\r\n", u"a\nb", "a\r\nb\r\n+\xe4\xb8\xad\r\n"},
      {"a\nb\n", u"a\nb", "a\nb\n+\xe4\xb8\xad\n"},
      {"a\rb", u"a\nb", "a\rb\r+\xe4\xb8\xad"},
      {"中文\r\n\r\nz\r\n", u"中文\n\nz", "中文\r\n\r\nz\r\n+中\r\n"},
      {"", u"", "\r\n+\xe4\xb8\xad"},
      {"\xef\xbb\xbfu8\n", u"u8", "\xef\xbb\xbfu8\n+\xe4\xb8\xad\n"},
      {std::string("\xff\xfe" "a\0\r\0\n\0", 8), u"a", std::string("\xff\xfe" "a\0\r\0\n\0+\0\x2d\x4e\r\0\n\0", 16)},
      {std::string("\xfe\xff\0a", 4), u"a", std::string("\xfe\xff\0a\0\r\0\n\0+\x4e\x2d", 12)},
      {"\xd6\xd0\xce\xc4\r\n", u"中文", "\xd6\xd0\xce\xc4\r\n+\xd6\xd0\r\n"},  // CP936
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.start();
    rig.home.write("f.txt", c.file);
    EXPECT_TRUE(rig.doc().loadTextFile(rig.home.name("f.txt")));
    EXPECT_EQ(rig.editor.content, c.editor);
    EXPECT_FALSE(rig.doc().modified());
    EXPECT_TRUE(rig.doc().saveTextFile(rig.home.name("f.txt")));
    EXPECT_EQ(rig.home.read("f.txt"), c.file);
    rig.doc().appendText(u"\n+中");
    EXPECT_TRUE(rig.doc().saveTextFile(rig.home.name("f.txt")));
    EXPECT_EQ(rig.home.read("f.txt"), c.added);
    EXPECT_EQ(rig.window.status, u"");
    rig.checkAll();
  }
}

TEST(Document, ASaveKeepsTheFilesModeAndFollowsALink) {
  Rig rig;
  rig.start();
  rig.home.write("real.txt", "old");
  ASSERT_EQ(marloxtest::shell("cd '" + rig.home.path() + "' && chmod 640 real.txt && ln -s real.txt link.txt"), 0);
  rig.editor.setText(u"new");
  EXPECT_TRUE(rig.doc().saveTextFile(rig.home.name("link.txt")));
  EXPECT_EQ(rig.home.read("real.txt"), "new\r\n");
  EXPECT_EQ(marloxtest::shell("cd '" + rig.home.path() + "' && test -L link.txt && test \"$(stat -c %a real.txt)\" = 640"), 0);
  rig.checkAll();
}

// A save that cannot be completed (the folder is read-only, or the disk is
// full) leaves the old file byte for byte.
TEST(Document, AFailedSaveLeavesTheOldFile) {
  Rig rig;
  rig.start();
  rig.home.write("d/x.txt", "old contents");
  rig.editor.setText(std::u16string(100000, u'n'));
  const std::u16string box =
      saveFailedBox(rig.home.name("d/x.txt"), u"不能写入文件[", u"]所在文件夹中的临时文件：", u"File too large");
  rig.ui->expectMessageBox(box, rt::mb::Ok);
  {
    marloxtest::FileSizeLimit full(4096);  // a full disk
    EXPECT_FALSE(rig.doc().saveTextFile(rig.home.name("d/x.txt")));
  }
  EXPECT_EQ(rig.ui->asked().back().prompt, box);
  EXPECT_EQ(rig.home.read("d/x.txt"), "old contents");
  EXPECT_EQ(marloxtest::shell("test \"$(ls -A '" + rig.home.path() + "/d')\" = x.txt"), 0);  // no leftovers
  EXPECT_TRUE(rig.doc().modified());
  rig.checkAll();
}

TEST(Document, EditCommands) {
  Rig rig;
  rig.start();
  rig.editor.setText(u"ab\ncd");
  rig.editor.select(1, 0);
  rig.doc().editCommand(0);  // nothing selected
  rig.doc().editCommand(1);
  EXPECT_EQ(rig.window.status, u"没有文本被选择。");
  EXPECT_EQ(rig.ui->beeps(), 2);
  rig.doc().editCommand(2);  // empty clipboard
  EXPECT_EQ(rig.window.status, u"没有可粘贴的内容。");
  EXPECT_EQ(rig.ui->beeps(), 3);

  rig.editor.select(1, 3);  // "b\nc"
  rig.doc().editCommand(1);
  EXPECT_EQ(rig.clipboard.held, u"b\nc");
  rig.doc().editCommand(0);
  EXPECT_EQ(rig.editor.content, u"ad");
  rig.clipboard.held = u"X\r\nY";
  rig.doc().editCommand(2);
  EXPECT_EQ(rig.editor.content, u"aX\nYd");
  rig.doc().editCommand(4);
  EXPECT_EQ(rig.editor.start, 0);
  EXPECT_EQ(rig.editor.length, 5);
  EXPECT_EQ(rig.ui->beeps(), 3);
  rig.doc().appendText(u"!");
  EXPECT_EQ(rig.editor.content, u"aX\nYd!");
  EXPECT_EQ(rig.editor.length, 0);
  rig.checkAll();
}

TEST(Document, TheQuestionDecidesTheClose) {
  Rig rig;
  rig.start();
  EXPECT_TRUE(rig.frame->closeRequested());  // unchanged: no question
  rig.editor.setText(u"x");
  rig.ui->expectMessageBox(kConfirm, rt::mb::No);
  EXPECT_TRUE(rig.frame->closeRequested());
  EXPECT_EQ(rig.ui->asked()[0].style, rt::mb::Question | rt::mb::YesNo);
  EXPECT_EQ(rig.ui->asked()[0].title, u"Pelmora文本变换器");
  rig.checkAll();
}

}  // namespace
