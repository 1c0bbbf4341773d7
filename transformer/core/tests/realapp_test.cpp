// Real scripts on the editor's text through the real first-edition
// Application (built only when the library is): the example scripts, the
// first start with the default program folder, an event script run from a
// script's FileSave, and a failing first-run script.
#include <gtest/gtest.h>

#ifdef MARLOX_REAL_APPLICATION

#include <string>
#include <vector>

#include "marlox/home.h"
#include "marlox/scriptbridge.h"
#include "rig.h"

namespace {

using marloxtest::Rig;

// Boxes whose text the engine words (its messages and source chains):
// every box is answered OK and kept.
class BoxRecorder final : public rt::UiHost {
 public:
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::UiHost>(this, iid); }
  int32_t messageBox(const std::u16string& prompt, int32_t, const std::u16string&) override {
    boxes.push_back(prompt);
    return rt::mb::Ok;
  }
  std::u16string inputBox(const std::u16string&, const std::u16string&, const std::u16string&) override { return {}; }
  void beep() override {}
  void yield() override {}
  std::vector<std::u16string> boxes;
};

// A rig on the real Application: the fake is taken away.
struct RealRig : Rig {
  explicit RealRig(const std::string& ini = {}) : Rig(ini) { apps.reset(); }
  bool run(const std::u16string& path) { return program->bridge().zubExec(path); }
  // A script of the default program folder's.
  static std::u16string example(const char* name) { return rt::fromUtf8(std::string(MARLOX_HOME_SOURCE "/") + name); }
};

TEST(RealScripts, ExamplesTransformTheText) {
  struct Case {
    const char* script;
    std::u16string text;
    int32_t start, length;
    std::u16string after;
    int32_t afterStart, afterLength;
  } cases[] = {
      {"scripts/转换为大写.zub", u"abc\ndef", 1, 4, u"aBC\nDef", 1, 4},
      {"scripts/转换为大写.zub", u"abc\ndef", 0, 0, u"ABC\nDEF", 0, 0},
      {"scripts/转换为小写.zub", u"ABC ÄÖ", 0, 6, u"abc äö", 0, 6},
      {"scripts/反转文本.zub", u"xy中文z", 1, 4, u"xz文中y", 1, 4},
      {"scripts/去掉行首尾空格.zub", u"  a  \n\tb \n  ", 0, 0, u"a\n\tb\n", 0, 0},
  };
  for (const Case& c : cases) {
    RealRig rig;
    rig.start();
    rig.editor.setText(c.text);
    rig.editor.select(c.start, c.length);
    EXPECT_TRUE(rig.run(RealRig::example(c.script))) << c.script;
    EXPECT_EQ(rig.editor.content, c.after) << c.script;
    if (c.afterLength > 0) {
      EXPECT_EQ(rig.editor.start, c.afterStart) << c.script;
      EXPECT_EQ(rig.editor.length, c.afterLength) << c.script;
    }
    rig.checkAll();
  }
}

TEST(RealScripts, ExamplesThatAskAndTell) {
  RealRig rig;
  rig.start();
  rig.editor.setText(u"一二三\nabc");
  rig.ui->expectMessageBox(u"全部文本共有 8 个字符。", rt::mb::Ok);
  EXPECT_TRUE(rig.run(RealRig::example("scripts/统计字符数.zub")));
  EXPECT_EQ(rig.ui->asked().back().title, u"统计字符数");
  EXPECT_EQ(rig.ui->asked().back().style, rt::mb::Information);

  rig.ui->expectMessageBox(u"要在文本末尾追加一行吗？", rt::mb::Yes).expectInputBox(u"请输入要追加的内容：", u"尾巴");
  EXPECT_TRUE(rig.run(RealRig::example("scripts/文件与对话/询问后追加一行.zub")));
  EXPECT_EQ(rig.editor.content, u"一二三\nabc\n尾巴");

  rig.editor.select(0, 3);
  EXPECT_TRUE(rig.run(RealRig::example("scripts/插入日期.zub")));
  EXPECT_EQ(rig.editor.length, 10);  // yyyy-mm-dd, selected
  EXPECT_EQ(rig.editor.content[4], u'-');

  rig.dialogs.expectSave(u"", u"文本文件(*.txt)|*.txt|所有文件(*.*)|*.*", rig.home.name("saved.txt"));
  EXPECT_TRUE(rig.run(RealRig::example("scripts/文件与对话/更名保存.zub")));
  EXPECT_EQ(rig.doc().curFileName(), rig.home.name("saved.txt"));
  EXPECT_FALSE(rig.home.read("saved.txt").empty());
  rig.checkAll();
}

// A script that calls FileSave while FileSave has an event script: the
// event script runs inside, and both runs report their own results.
TEST(RealScripts, FileSaveFromAScriptRunsTheEventScript) {
  RealRig rig("[Events]\nFileSave=events/saved.zub\n");
  rig.home.write("events/saved.zub", "Application.ShowInfo \"已保存：\" & Application.curFileName\n");
  rig.home.write("work.zub",
                 "Application.curTextAll = \"内容\"\n"
                 "Application.FileSave\n"
                 "Application.curTextAll = Application.curTextAll & \"+\"\n");
  rig.home.write("doc.txt", "old\r\n");
  rig.start();
  rig.doc().cmFileOpen(rig.home.name("doc.txt"));
  rig.ui->expectMessageBox(u"已保存：" + rig.home.name("doc.txt"), rt::mb::Ok);
  EXPECT_TRUE(rig.run(rig.home.name("work.zub")));
  EXPECT_EQ(rig.home.read("doc.txt"), "内容\r\n");
  EXPECT_EQ(rig.editor.content, u"内容+");
  EXPECT_TRUE(rig.doc().modified());
  rig.checkAll();
}

// A failing line is reported even though a later line called the host.
TEST(RealScripts, AFailingLineIsReportedAfterLaterCommands) {
  RealRig rig;
  rig.home.write("bad.zub", "x = 1\ny = x / 0\nApplication.curTextAll = \"after\"\n");
  rig.start();
  auto boxes = rt::make<BoxRecorder>();
  rt::ScopedUiHost installed(boxes);
  EXPECT_FALSE(rig.run(rig.home.name("bad.zub")));
  ASSERT_EQ(boxes->boxes.size(), 1u);
  EXPECT_EQ(boxes->boxes[0].rfind(u"执行脚本时出现错误：\r\n在执行第2行脚本时出现下列错误：\r\n除数为零\r\n"
                                  u"错误位置：Yarrick.Application.ExecFile\r\n",
                                  0),
            0u)
      << rt::toUtf8(boxes->boxes[0]);
  EXPECT_EQ(rig.editor.content, u"after");
}

// The first start on the default program folder: the first-run script
// adds "我的脚本", so the tree shows two roots, and the event is done.
TEST(RealScripts, TheFirstStartOnTheDefaultFolder) {
  RealRig rig;
  ASSERT_EQ(marlox::prepareHome(rig.home.path()), rig.home.path());
  rig.start();
  EXPECT_EQ(rig.program->profile().getInt(u"Main", u"IsFirstRun", 9), 0);
  EXPECT_TRUE(rig.home.exists("我的脚本"));
  ASSERT_EQ(rig.tree.top.size(), 2u);
  EXPECT_EQ(rig.tree.nodes.at(rig.tree.top[0]).node.text, u"示例脚本");
  EXPECT_EQ(rig.tree.nodes.at(rig.tree.top[1]).node.text, u"我的脚本");
  EXPECT_EQ(rig.tree.top[1], rig.appPath() + u"我的脚本/");
  rig.checkAll();
}

TEST(RealScripts, AFailingFirstRunStaysDue) {
  RealRig rig("[Main]\nIsFirstRun=1\n[Events]\nFirstRun=first.zub\n");
  rig.home.write("first.zub", "Application.MDir Application.gSysPath & \"made\"\nx = 1 / 0\n");
  auto boxes = rt::make<BoxRecorder>();
  rt::ScopedUiHost installed(boxes);
  rig.start();
  ASSERT_EQ(boxes->boxes.size(), 1u);
  EXPECT_EQ(boxes->boxes[0].rfind(u"执行脚本时出现错误：\r\n在执行第2行脚本时出现下列错误：\r\n除数为零\r\n", 0), 0u);
  EXPECT_EQ(rig.program->profile().getInt(u"Main", u"IsFirstRun"), 1);
  EXPECT_TRUE(rig.home.exists("made"));
}

}  // namespace

#endif  // MARLOX_REAL_APPLICATION
