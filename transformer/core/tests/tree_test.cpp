// The script tree on temporary folders: what it shows, the descriptions,
// the popup's states and its commands.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "marlox/scripttree.h"
#include "rig.h"

namespace {

using marlox::ScriptTree;
using marloxtest::FakeRun;
using marloxtest::Rig;
using marloxtest::TempDir;

ScriptTree& tree(Rig& rig) { return rig.frame->tree(); }

// The scripts' folder, made before the rig that names it.
struct ScriptsDir {
  TempDir scripts;
};

// A rig whose zubDirList holds `entries` (key=value lines, "<d>" standing
// for the scripts' temporary folder).
struct TreeRig : ScriptsDir, Rig {
  explicit TreeRig(const std::string& entries) : Rig(ini(entries, scripts.path())) {}
  static std::string ini(std::string entries, const std::string& dir) {
    for (size_t at = entries.find("<d>"); at != std::string::npos; at = entries.find("<d>"))
      entries.replace(at, 3, dir);
    return "[zubDirList]\n" + entries;
  }
};

TEST(Tree, RootsEndAtTheFirstEmptyKey) {
  TreeRig rig("1=<d>/a\n2=<d>/b|第二\n4=<d>/c\n");
  rig.scripts.write("a/x.zub", "");
  rig.start();
  EXPECT_EQ(rig.tree.outline(), "a\n  x\n第二\n");
  EXPECT_TRUE(rig.tree.nodes.at(rig.scripts.name("a/")).expanded);
  EXPECT_EQ(rig.tree.nodes.at(rig.scripts.name("b/")).node.icon, u"tools");  // missing: shown empty
  rig.checkAll();
}

TEST(Tree, AFolderWrittenWithSlashesAndATitle) {
  TreeRig rig("1=a\\b/|标题\n");
  rig.scripts.write("a/b/s.zub", "");
  char cwd[4096];
  ASSERT_TRUE(::getcwd(cwd, sizeof cwd));
  ASSERT_EQ(::chdir(rig.scripts.path().c_str()), 0);  // a relative folder is the process's
  rig.start();
  ASSERT_EQ(::chdir(cwd), 0);
  ASSERT_EQ(rig.tree.top, std::vector<std::u16string>{u"a/b/"});
  EXPECT_EQ(rig.tree.nodes.at(u"a/b/").node.text, u"标题");
  EXPECT_EQ(rig.tree.nodes.at(u"a/b/").node.tag, u"root");
  EXPECT_EQ(rig.tree.childrenOf(u"a/b/"), std::vector<std::u16string>{u"a/b/s.zub"});
  rig.checkAll();
}

TEST(Tree, FoldersBeforeScriptsAndOnlyScriptsShown) {
  TreeRig rig("1=<d>/s\n");
  for (const char* f : {"s/b.zub", "s/A.ZUB", "s/notes.txt", "s/.h.zub", "s/.hidden/x.zub", "s/zz/in.zub",
                        "s/Mid/deep/d.zub", "s/c.zubx", "s/中文.zub"})
    rig.scripts.write(f, "");
  rig.start();
  EXPECT_EQ(rig.tree.outline(), "s\n  Mid\n    deep\n      d\n  zz\n    in\n  A\n  b\n  中文\n");
  const auto& mid = rig.tree.nodes.at(rig.scripts.name("s/Mid/"));
  EXPECT_EQ(mid.node.tag, u"dir");
  EXPECT_EQ(mid.node.icon, u"closed");
  EXPECT_EQ(mid.node.expandedIcon, u"opened");
  EXPECT_FALSE(mid.expanded);
  const auto& a = rig.tree.nodes.at(rig.scripts.name("s/A.ZUB"));
  EXPECT_EQ(a.node.tag, u"zub");
  EXPECT_EQ(a.node.icon, u"exec");
  rig.checkAll();
}

// Links to folders are not followed (a loop is scanned once), an empty
// folder part is no root, and a root shown already is not added again.
TEST(Tree, LinksEmptyFoldersAndRepeatedRoots) {
  TreeRig rig("1=<d>/s\n2=|空\n3=<d>/s/\n4=<d>/s/sub|again\n5=<d>/t\n");
  rig.scripts.write("s/sub/x.zub", "");
  rig.scripts.write("t/y.zub", "");
  ASSERT_EQ(marloxtest::shell("cd '" + rig.scripts.path() + "' && ln -s .. s/sub/up && ln -s ../t s/tl && "
                              "ln -s ../t/y.zub s/ylink.zub"),
            0);
  rig.start();
  EXPECT_EQ(rig.tree.outline(), "s\n  sub\n    x\n  ylink\nt\n  y\n");
  rig.checkAll();
}

TEST(Tree, Descriptions) {
  TempDir d;
  struct Case {
    std::string file;
    std::u16string description;
  } cases[] = {
      {"/*\r\n\t说明\tone\r\n  two\r\n*/\r\nx = 1\r\n", u"说明one  two"},
      {"x = 1\n/* first\nline a\nend */\nline b\n*/\n", u"line a"},
      {"/* one line */\nnext\nlast */\n", u"next"},
      {"no comment\n", u""},
      {"/*\nnever closed\nto the end\n", u"never closedto the end"},
  };
  for (const Case& c : cases) {
    d.write("s.zub", c.file);
    EXPECT_EQ(ScriptTree::description(d.name("s.zub")), c.description) << c.file;
  }
  EXPECT_EQ(ScriptTree::description(d.name("missing.zub")), u"");
}

TEST(Tree, ClicksShowDescriptionsAndPaths) {
  TreeRig rig("1=<d>/s\n");
  rig.scripts.write("s/a.zub", "/*\nDoes A\n*/\n");
  rig.scripts.write("s/f/b.zub", "b\n");
  rig.start();
  tree(rig).nodeClick(rig.scripts.name("s/a.zub"));
  EXPECT_EQ(rig.window.status, u"Does A");
  tree(rig).nodeClick(rig.scripts.name("s/f/"));
  EXPECT_EQ(rig.window.status, rig.scripts.name("s/f/"));
  tree(rig).nodeClick(rig.scripts.name("s/f/b.zub"));
  EXPECT_EQ(rig.window.status, u"");
  rig.checkAll();
}

TEST(Tree, PopupStatesAndExecute) {
  TreeRig rig("1=<d>/s\n");
  rig.scripts.write("s/a.zub", "");
  rig.scripts.write("s/f/.keep", "");
  rig.start();
  EXPECT_FALSE(tree(rig).popupState().shown);
  tree(rig).execute();  // nothing selected: nothing happens
  struct Case {
    std::string key;
    bool exec, add, edit, del;
  } cases[] = {{"s/a.zub", true, false, true, true}, {"s/", false, true, false, false}, {"s/f/", false, true, false, false}};
  for (const Case& c : cases) {
    rig.tree.select(rig.scripts.name(c.key));
    ScriptTree::PopupState s = tree(rig).popupState();
    EXPECT_TRUE(s.shown);
    EXPECT_EQ(std::vector<bool>({s.exec, s.add, s.edit, s.del}), std::vector<bool>({c.exec, c.add, c.edit, c.del}))
        << c.key;
  }
  int runs = 0;
  rig.apps->add(rig.scripts.name("s/a.zub"), [&](FakeRun&) { ++runs; });
  tree(rig).popupCommand(0);  // on the folder: nothing
  rig.tree.select(rig.scripts.name("s/a.zub"));
  tree(rig).popupCommand(0);
  rig.frame->toolbarButton(u"EXEC");
  EXPECT_EQ(runs, 2);
  rig.checkAll();
}

TEST(Tree, NewScriptCopiesTheTemplateAndOpensTheEditor) {
  TreeRig rig("1=<d>/s\n");
  rig.scripts.write("s/.keep", "");
  rig.home.write("Model.zub", "/*\nmodel\n*/\n");
  rig.start();
  const std::u16string root = rig.scripts.name("s/");
  rig.tree.select(root);
  rig.ui->expectInputBox(u"请输入新建脚本文件的名称：", u"my script");
  rig.launcher.expected.push_back({"xdg-open", rig.scripts.path() + "/s/my script.zub"});
  tree(rig).popupCommand(2);
  EXPECT_EQ(rig.scripts.read("s/my script.zub"), "/*\nmodel\n*/\n");
  EXPECT_EQ(rig.tree.selection, root + u"my script.zub");
  EXPECT_EQ(rig.tree.nodes.at(root + u"my script.zub").node.text, u"my script");
  EXPECT_EQ(rig.ui->asked()[0].defaultText, u"用户新脚本");
  EXPECT_EQ(rig.ui->asked()[0].title, u"Pelmora文本变换器");

  // The same name again: the box, nothing else.
  rig.tree.select(root);
  rig.ui->expectInputBox(u"请输入新建脚本文件的名称：", u"my script")
      .expectMessageBox(u"同名的脚本文件已经存在，请重新换一个名子。", rt::mb::Ok);
  tree(rig).newScript();
  EXPECT_EQ(rig.ui->asked().back().style, rt::mb::OkOnly);

  // On a script: the status text and a beep.
  rig.tree.select(root + u"my script.zub");
  tree(rig).newScript();
  EXPECT_EQ(rig.window.status, u"当前位置不能创建新的脚本文件。");
  EXPECT_EQ(rig.ui->beeps(), 1);
  rig.checkAll();
}

TEST(Tree, TheEditorCommandComesFromTheProfile) {
  TreeRig rig("1=<d>/s\n[Main]\nEditor=\"my editor\" --line 1 --file=%1\n");
  rig.scripts.write("s/a b.zub", "");
  rig.start();
  rig.tree.select(rig.scripts.name("s/a b.zub"));
  rig.launcher.expected.push_back({"my editor", "--line", "1", "--file=" + rig.scripts.path() + "/s/a b.zub"});
  tree(rig).popupCommand(3);
  rig.tree.select(rig.scripts.name("s/"));
  tree(rig).popupCommand(3);
  EXPECT_EQ(rig.window.status, u"当前选择不能被编辑。");
  EXPECT_EQ(rig.ui->beeps(), 1);
  rig.checkAll();
}

TEST(Tree, DeleteAsksFirst) {
  TreeRig rig("1=<d>/s\n");
  rig.scripts.write("s/a.zub", "keep");
  rig.start();
  const std::u16string key = rig.scripts.name("s/a.zub");
  rig.tree.select(key);
  const std::u16string question = u"您确定要删除脚本[" + key + u"]文件吗？";
  rig.ui->expectMessageBox(question, rt::mb::No);
  tree(rig).popupCommand(4);
  EXPECT_TRUE(rig.scripts.exists("s/a.zub"));
  EXPECT_EQ(rig.ui->asked()[0].style, rt::mb::Question | rt::mb::YesNo);
  rig.ui->expectMessageBox(question, rt::mb::Yes);
  tree(rig).popupCommand(4);
  EXPECT_FALSE(rig.scripts.exists("s/a.zub"));
  EXPECT_EQ(rig.tree.nodes.count(key), 0u);
  rig.tree.select(rig.scripts.name("s/"));
  tree(rig).deleteScript();
  EXPECT_EQ(rig.ui->beeps(), 1);
  EXPECT_TRUE(rig.scripts.exists("s"));
  rig.checkAll();
}

TEST(Tree, NewFoldersNestAndKeepTheSelection) {
  TreeRig rig("1=<d>/s\n");
  rig.scripts.write("s/.keep", "");
  rig.start();
  const std::u16string root = rig.scripts.name("s/");
  rig.tree.select(root);
  rig.ui->expectInputBox(u"请输入新建文件夹的名称：", u"一");
  tree(rig).popupCommand(6);
  EXPECT_EQ(rig.tree.selection, root);
  EXPECT_EQ(rig.ui->asked()[0].defaultText, u"新建用户脚本目录");
  rig.tree.select(root + u"一/");
  rig.ui->expectInputBox(u"请输入新建文件夹的名称：", u"二");
  tree(rig).newScriptFolder();
  EXPECT_TRUE(rig.scripts.exists("s/一/二"));
  EXPECT_EQ(rig.tree.nodes.at(root + u"一/二/").node.tag, u"dir");
  rig.ui->expectInputBox(u"请输入新建文件夹的名称：", u"二")
      .expectMessageBox(u"同名的文件夹已经存在，请重新换一个名子。", rt::mb::Ok);
  tree(rig).newScriptFolder();
  rig.checkAll();
}

// Names that are not plain names end the command: nothing is made, the
// tree stays as it was.
TEST(Tree, NamesWithSeparatorsEndTheCommand) {
  TreeRig rig("1=<d>/s\n");
  rig.scripts.write("s/.keep", "");
  rig.home.write("Model.zub", "m");
  rig.start();
  const std::u16string root = rig.scripts.name("s/");
  for (const char16_t* name : {u"../out", u"a/b", u"a\\b", u"..", u".", u""}) {
    rig.tree.select(root);
    rig.ui->expectInputBox(u"请输入新建脚本文件的名称：", name);
    tree(rig).popupCommand(2);
    rig.ui->expectInputBox(u"请输入新建文件夹的名称：", name);
    tree(rig).popupCommand(6);
  }
  EXPECT_EQ(marloxtest::shell("test \"$(ls -A '" + rig.scripts.path() + "')\" = s && test \"$(ls -A '" +
                              rig.scripts.path() + "/s')\" = .keep"),
            0);
  EXPECT_EQ(rig.tree.outline(), "s\n");
  rig.checkAll();
}

TEST(Tree, NothingSelectedBeeps) {
  TreeRig rig("");
  rig.start();
  EXPECT_TRUE(rig.tree.top.empty());
  tree(rig).newScript();
  tree(rig).editScript();
  tree(rig).deleteScript();
  tree(rig).newScriptFolder();
  EXPECT_EQ(rig.ui->beeps(), 4);
  rig.checkAll();
}

}  // namespace
