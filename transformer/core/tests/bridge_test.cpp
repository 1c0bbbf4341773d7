// The host commands, row by row, through the fake Application; nested runs;
// ExecCmd.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "marlox/document.h"
#include "marlox/scriptbridge.h"
#include "rig.h"
#include "rt/convert.h"
#include "yarrick/application.h"

namespace {

using marloxtest::FakeRun;
using marloxtest::Rig;
using rt::Variant;
using Answers = std::optional<std::vector<Variant>>;

// Sends one command from a script run through the bridge; its answers.
Answers sendOne(Rig& rig, const std::u16string& name, int32_t callType, std::vector<Variant> args = {}) {
  Answers got;
  rig.apps->add(u"/t/one.zub", [&](FakeRun& run) { got = run.send(name, callType, args); });
  rig.program->bridge().zubExec(u"/t/one.zub");
  return got;
}

std::string describe(const Answers& a) {
  if (!a) return "failed";
  std::string s;
  for (const Variant& v : *a)
    s += (s.empty() ? "" : ", ") + std::string(rt::toUtf8(rt::typeNameOf(v.type()))) + " " +
         (v.isObject() ? "object" : rt::toUtf8(rt::toText(v)));
  return s;
}

struct Box {
  const char16_t* prompt;
  int32_t style;
  const char16_t* title;
  int32_t answer;
};

struct MethodCase {
  const char16_t* name;
  std::vector<Variant> args;
  std::optional<Box> box;
  const char* answers;
};

TEST(Bridge, MessageBoxCommands) {
  const MethodCase cases[] = {
      {u"ShowInfo", {Variant(u"hi")}, Box{u"hi", 64, u"Pelmora文本变换器", 1}, ""},
      {u"info", {Variant(u"hi"), Variant(u"T")}, Box{u"hi", 64, u"T", 1}, ""},
      {u"ShowInfo", {}, Box{u"", 64, u"Pelmora文本变换器", 1}, ""},
      {u"ShowWarn", {Variant(u"w")}, Box{u"w", 64, u"警告", 1}, ""},
      {u"SHOWWARN", {Variant(u"w"), Variant(u"")}, Box{u"w", 64, u"警告", 1}, ""},
      {u"ShowError", {Variant(u"e")}, Box{u"e", 16, u"运行错误", 1}, ""},
      {u"showerror", {Variant(u"e"), Variant(u"标题")}, Box{u"e", 16, u"标题", 1}, ""},
      {u"ShowYesNo", {Variant(u"q")}, Box{u"q", 36, u"Pelmora文本变换器", 6}, "Long 6"},
      {u"showYesNo", {Variant(u"q"), Variant(u"t")}, Box{u"q", 36, u"t", 7}, "Long 7"},
      {u"ShowYesNo", {Variant(int32_t(5))}, Box{u"5", 36, u"Pelmora文本变换器", 6}, "Long 6"},
      {u"Output", {Variant(u"x")}, std::nullopt, ""},
      {u"ShowDebug", {Variant(u"x")}, std::nullopt, ""},
      {u"FooBar", {Variant(u"x")}, Box{u"不被支持的方法[FooBar]调用。", 16, u"Pelmora文本变换器", 1}, ""},
      {u"fooBAR", {}, Box{u"不被支持的方法[fooBAR]调用。", 16, u"Pelmora文本变换器", 1}, ""},
  };
  for (const MethodCase& c : cases) {
    Rig rig;
    rig.start();
    if (c.box) rig.ui->expectMessageBox(c.box->prompt, c.box->answer);
    Answers got = sendOne(rig, c.name, yarrick::SaMethod, c.args);
    EXPECT_EQ(describe(got), c.answers) << rt::toUtf8(c.name);
    if (c.box) {
      ASSERT_EQ(rig.ui->asked().size(), 1u) << rt::toUtf8(c.name);
      EXPECT_EQ(rig.ui->asked()[0].style, c.box->style) << rt::toUtf8(c.name);
      EXPECT_EQ(rig.ui->asked()[0].title, c.box->title) << rt::toUtf8(c.name);
    }
    rig.checkAll();
  }
}

TEST(Bridge, ShowInputTakesItsTitleUnchanged) {
  struct Case {
    std::vector<Variant> args;
    const char16_t* title;
    const char16_t* defaultText;
  } cases[] = {
      {{Variant(u"p"), Variant(u"t"), Variant(u"d")}, u"t", u"d"},
      {{Variant(u"p")}, u"", u""},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.start();
    rig.ui->expectInputBox(u"p", u"typed");
    EXPECT_EQ(describe(sendOne(rig, u"ShowInput", yarrick::SaMethod, c.args)), "String typed");
    EXPECT_EQ(rig.ui->asked()[0].title, c.title);
    EXPECT_EQ(rig.ui->asked()[0].defaultText, c.defaultText);
    rig.checkAll();
  }
}

TEST(Bridge, FileDialogsAnswerOnceAndNotWithThreeArguments) {
  for (const char16_t* name : {u"GetOpenFileName", u"getsavefilename"}) {
    const bool open = name[0] == u'G';
    Rig rig;
    rig.start();
    auto expect = [&](std::u16string file, std::u16string filter, std::u16string answer) {
      if (open) rig.dialogs.expectOpen(file, filter, answer);
      else rig.dialogs.expectSave(file, filter, answer);
    };
    expect(u"", u"所有文件(*.*)|*.*", u"/chosen");
    EXPECT_EQ(describe(sendOne(rig, name, yarrick::SaMethod)), "String /chosen");
    expect(u"a.txt", u"文本|*.txt", u"");
    EXPECT_EQ(describe(sendOne(rig, name, yarrick::SaMethod, {Variant(u"a.txt"), Variant(u"文本|*.txt")})),
              "String ");
    EXPECT_EQ(describe(sendOne(rig, name, yarrick::SaMethod,
                               {Variant(u"a"), Variant(u"b"), Variant(u"c")})),
              "String ");
    rig.checkAll();
  }
}

TEST(Bridge, FolderCommandsAndExecCmdAnswerOnlyWithEnoughArguments) {
  Rig rig;
  rig.start();
  rig.home.write("src/a.txt", "A");
  const std::u16string home = rig.appPath();
  const MethodCase cases[] = {
      {u"AbsPath", {}, std::nullopt, ""},
      {u"AbsPath", {Variant(u"a\\b.zub")}, std::nullopt, nullptr},
      {u"absPath", {Variant(u"/x/y")}, std::nullopt, "String /x/y"},
      {u"DirCopy", {Variant(home + u"src")}, std::nullopt, ""},
      {u"DirCopy", {Variant(home + u"src"), Variant(home + u"dst/deep")}, std::nullopt, "Boolean True"},
      {u"RemoveDir", {}, std::nullopt, ""},
      {u"removedir", {Variant(home + u"dst")}, std::nullopt, "Boolean True"},
      {u"MDir", {Variant(home + u"made/deeper")}, std::nullopt, "Boolean True"},
      {u"MDir", {}, std::nullopt, ""},
      {u"ExecCmd", {}, std::nullopt, ""},
  };
  for (const MethodCase& c : cases) {
    std::string expected = c.answers ? c.answers : "String " + rt::toUtf8(home) + "a/b.zub";
    EXPECT_EQ(describe(sendOne(rig, c.name, yarrick::SaMethod, c.args)), expected) << rt::toUtf8(c.name);
  }
  EXPECT_EQ(rig.home.read("src/a.txt"), "A");
  EXPECT_FALSE(rig.home.exists("dst"));
  EXPECT_TRUE(rig.home.exists("made/deeper"));
  rig.checkAll();
}

TEST(Bridge, ReadsAnswerOneValue) {
  Rig rig;
  rig.start();
  rig.editor.setText(u"one\ntwo\nthree");
  rig.editor.select(2, 5);
  struct Case {
    const char16_t* name;
    std::string answer;
  } cases[] = {
      {u"gSysVer", "String Marlox 1.0.0"},
      {u"SysVer", "String Marlox 1.0.0"},
      {u"GSYSVER", "String Marlox 1.0.0"},
      {u"gSysPath", "String " + rt::toUtf8(rig.appPath())},
      {u"curText", "String e\r\ntwo"},
      {u"curtext", "String e\r\ntwo"},
      {u"curTextAll", "String one\r\ntwo\r\nthree"},
      {u"curFileName", "String "},
      {u"anything", "String "},
      {u"Output", "String "},
  };
  for (const Case& c : cases)
    EXPECT_EQ(describe(sendOne(rig, c.name, yarrick::SaGet)), c.answer) << rt::toUtf8(c.name);
  Answers pro = sendOne(rig, u"gSysPro", yarrick::SaGet);
  ASSERT_TRUE(pro && pro->size() == 1u && (*pro)[0].isObject());
  EXPECT_EQ((*pro)[0].object(), static_cast<rt::Object*>(&rig.program->profile()));
  rig.checkAll();
}

TEST(Bridge, AssignmentsReplaceTheTextAndSetsAreNotAnswered) {
  Rig rig;
  rig.start();
  rig.editor.setText(u"abc\ndef");
  rig.editor.select(1, 4);  // "bc\nd"
  EXPECT_EQ(describe(sendOne(rig, u"curText", yarrick::SaLet, {Variant(u"X\r\nY\rZ")})), "");
  EXPECT_EQ(rig.editor.content, u"aX\nY\nZef");
  EXPECT_EQ(rig.editor.start, 1);
  EXPECT_EQ(rig.editor.length, 5);
  EXPECT_TRUE(rig.doc().modified());

  rig.editor.select(3, 0);  // nothing selected: inserted at the caret and selected
  sendOne(rig, u"CURTEXT", yarrick::SaLet, {Variant(int32_t(42))});
  EXPECT_EQ(rig.editor.content, u"aX\n42Y\nZef");
  EXPECT_EQ(rig.editor.start, 3);
  EXPECT_EQ(rig.editor.length, 2);

  sendOne(rig, u"curTextAll", yarrick::SaLet, {Variant(u"1\r\n2")});
  EXPECT_EQ(rig.editor.content, u"1\n2");
  sendOne(rig, u"gSysPath", yarrick::SaLet, {Variant(u"x")});
  sendOne(rig, u"curText", yarrick::SaSet, {Variant(static_cast<rt::Object*>(rig.ui.get()))});
  EXPECT_EQ(rig.editor.content, u"1\n2");
  EXPECT_EQ(describe(sendOne(rig, u"curTextAll", yarrick::SaSet, {Variant(u"y")})), "");

  // A value without text fails toward the Application, which records it.
  rig.ui->expectMessageBox(u"执行脚本时出现错误：\r\n无效使用 Null\r\n错误位置：Yarrick.Application.SendComm\r\n", 1);
  EXPECT_EQ(describe(sendOne(rig, u"curText", yarrick::SaLet, {Variant(rt::Null{})})), "failed");
  rig.checkAll();
}

// Before the window exists (the first-run and run events), the commands
// that need it fail with a recorded error; the others work.
TEST(Bridge, WithoutTheWindowEditorCommandsFailAsRecordedErrors) {
  Rig rig("[Events]\nRun=run.zub\n");
  std::vector<std::string> results;
  rig.apps->add(rig.appPath() + u"run.zub", [&](FakeRun& run) {
    for (const char16_t* name : {u"curText", u"curTextAll", u"curFileName"})
      results.push_back(describe(run.send(name, yarrick::SaGet)));
    results.push_back(describe(run.send(u"curText", yarrick::SaLet, {Variant(u"x")})));
    for (const char16_t* name : {u"FileNew", u"FileOpen", u"FileSave", u"FileSaveAs"})
      results.push_back(describe(run.send(name, yarrick::SaMethod)));
    results.push_back(describe(run.send(u"gSysVer", yarrick::SaGet)));
  });
  rig.ui->expectMessageBox(u"执行脚本时出现错误：\r\n对象变量或 With 块变量未设置\r\n错误位置：Yarrick.Application.SendComm\r\n", 1);
  rig.start();
  std::vector<std::string> expected(8, "failed");
  expected.push_back("String Marlox 1.0.0");
  EXPECT_EQ(results, expected);
  rig.checkAll();
}

TEST(Bridge, WindowCommandsRunTheDocumentsCommands) {
  Rig rig("[Events]\nFileNew=new.zub\n");
  int newEvents = 0;
  rig.apps->add(rig.appPath() + u"new.zub", [&](FakeRun&) { ++newEvents; });
  rig.start();
  rig.home.write("t.txt", "text\r\n");
  rig.editor.setText(u"old");
  rig.doc().reset();
  EXPECT_EQ(describe(sendOne(rig, u"FileOpen", yarrick::SaMethod, {Variant(rig.home.name("t.txt"))})), "");
  EXPECT_EQ(rig.editor.content, u"text");
  EXPECT_EQ(rig.doc().curFileName(), rig.home.name("t.txt"));
  EXPECT_EQ(describe(sendOne(rig, u"curFileName", yarrick::SaGet)), "String " + rig.home.path() + "/t.txt");
  EXPECT_EQ(describe(sendOne(rig, u"filenew", yarrick::SaMethod)), "");
  EXPECT_EQ(rig.editor.content, u"");
  EXPECT_EQ(newEvents, 1);
  rig.checkAll();
}

// A nested run (FileSave with a FileSave event script) neither hides nor
// repeats the outer run's result.
TEST(Bridge, NestedRunsReportTheirOwnResults) {
  Rig rig("[Events]\nFileSave=save.zub\n");
  rig.start();
  rig.home.write("doc.txt", "x");
  rig.doc().cmFileOpen(rig.home.name("doc.txt"));
  bool innerFails = true, outerFails = false;
  rig.apps->add(rig.appPath() + u"save.zub", [&](FakeRun& run) {
    if (innerFails) run.fail(13, u"类型不匹配");
  });
  rig.apps->add(u"/t/outer.zub", [&](FakeRun& run) {
    if (outerFails) run.fail(11, u"除数为零");
    run.send(u"FileSave", yarrick::SaMethod);
  });
  rig.ui->expectMessageBox(u"执行脚本时出现错误：\r\n类型不匹配\r\n错误位置：Yarrick.Application.ExecFile", 1);
  EXPECT_TRUE(rig.program->bridge().zubExec(u"/t/outer.zub"));

  innerFails = false;
  outerFails = true;
  rig.ui->expectMessageBox(u"执行脚本时出现错误：\r\n除数为零\r\n错误位置：Yarrick.Application.ExecFile", 1);
  EXPECT_FALSE(rig.program->bridge().zubExec(u"/t/outer.zub"));
  EXPECT_EQ(rig.ui->asked().size(), 2u);
  rig.checkAll();
}

TEST(ExecCmd, WaitsForTheProcessYieldingAndLeavesNoChild) {
  Rig rig;
  rig.start();
  rig.home.write("x", "");
  const int before = rig.ui->yields();
  sendOne(rig, u"ExecCmd", yarrick::SaMethod, {Variant(u"sh -c \"sleep 0.3; rm '" + rig.home.name("x") + u"'\"")});
  EXPECT_FALSE(rig.home.exists("x"));                // the command had ended
  EXPECT_GE(rig.ui->yields() - before, 2 + 1);       // the waits, and the one after the run
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  rig.checkAll();
}

TEST(ExecCmd, ACommandThatCannotStartIsShown) {
  Rig rig;
  rig.start();
  rig.ui->expectMessageBox(
      u"程序运行时出现以下错误，如一直不能解决，请与开发者联系：\r\n\r\n执行外部命令时时现错误：\r\nno-such-program --x",
      1);
  sendOne(rig, u"execcmd", yarrick::SaMethod, {Variant(u"no-such-program --x")});
  EXPECT_EQ(rig.ui->asked()[0].style, rt::mb::Critical);
  EXPECT_EQ(rig.ui->asked()[0].title, u"Pelmora文本变换器 运行错误");
  EXPECT_EQ(rig.ui->beeps(), 1);
  rig.checkAll();
}

}  // namespace
