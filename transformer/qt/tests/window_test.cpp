// The main window on the offscreen platform: its controls as the program
// has always had them, and commands run through menus, shortcuts, the tree
// and the toolbar.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardItem>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <functional>

#include "marlox/document.h"
#include "marlox/scriptbridge.h"
#include "marloxqt/iconset.h"
#include "marloxqt/qtuihost.h"
#include "marloxqt/scripttreeview.h"
#include "marloxqt/text.h"
#include "marloxqt/textbox.h"
#include "rt/convert.h"
#include "qtrig.h"
#include "yarrick/application.h"

namespace {

using marloxqt::qs;
using marloxqttest::keepPicture;
using marloxqttest::keepScreen;
using marloxqttest::QtRig;
using marloxtest::FakeRun;
using rt::Variant;

// "caption|shortcut" for every entry, "-" for a separator.
std::vector<std::string> entries(const QList<QAction*>& actions) {
  std::vector<std::string> out;
  for (QAction* a : actions) {
    if (a->isSeparator()) {
      out.push_back("-");
      continue;
    }
    std::string e = a->objectName().toStdString() + " " + a->text().toStdString();
    if (!a->shortcut().isEmpty()) e += " " + a->shortcut().toString().toStdString();
    out.push_back(e);
  }
  return out;
}

TEST(Window, MenusToolbarAndPopupAsDesigned) {
  QtRig rig;
  rig.startWindow();
  marloxqt::MainWindow& w = *rig.window;
  EXPECT_EQ(w.objectName(), "frmMx");
  EXPECT_EQ(w.windowTitle().toStdU16String(), u"新文件 - Pelmora文本变换器");
  QList<QMenu*> menus;
  for (QAction* a : w.menuBar()->actions()) menus.push_back(a->menu());
  ASSERT_EQ(menus.size(), 3);
  EXPECT_EQ(menus[0]->objectName(), "mmFile");
  EXPECT_EQ(menus[0]->title().toStdU16String(), u"文件");
  EXPECT_EQ(entries(menus[0]->actions()),
            (std::vector<std::string>{"mmFiles_0 新文件 Ctrl+N", "mmFiles_1 打开(&O)... Ctrl+O",
                                      "mmFiles_2 打开网上链接(&URL)...", "mmFiles_3 保存(&S) Ctrl+S",
                                      "mmFiles_4 更名保存(&A)", "-", "mmExit 退出(&X)"}));
  EXPECT_EQ(menus[1]->objectName(), "mmEdit");
  EXPECT_EQ(menus[1]->title().toStdU16String(), u"编辑");
  EXPECT_EQ(entries(menus[1]->actions()),
            (std::vector<std::string>{"mmEdits_0 剪切(&U)", "mmEdits_1 复制(&C)", "mmEdits_2 粘贴(&P)", "-",
                                      "mmEdits_4 选择全部(&A) Ctrl+A"}));
  EXPECT_EQ(menus[2]->objectName(), "mmHelp");
  EXPECT_EQ(menus[2]->title().toStdU16String(), u"帮助");
  EXPECT_EQ(entries(menus[2]->actions()),
            (std::vector<std::string>{"mmBrowGrintel 访问网站(&W) Ctrl+W", "-", "mmAbout 关于(&A)..."}));

  auto* bar = w.findChild<QToolBar*>("tBar");
  ASSERT_TRUE(bar);
  std::vector<std::string> tools;
  for (QAction* a : bar->actions())
    tools.push_back(a->isSeparator() ? "-" : a->objectName().toStdString() + " " + a->toolTip().toStdString());
  EXPECT_EQ(tools, (std::vector<std::string>{"tBar_new 新建文件", "tBar_open 打开文件", "tBar_url 打开网络链接", "-",
                                             "tBar_save 保存文件", "tBar_saveas 更名保存", "-", "tBar_cut 剪切",
                                             "tBar_copy 复制", "tBar_paste 粘贴", "-", "tBar_exec 执行脚本", "-",
                                             "tBar_help 关于..."}));

  QMenu* popup = w.treePopup();
  EXPECT_EQ(popup->objectName(), "mmTreePop");
  EXPECT_EQ(entries(popup->actions()),
            (std::vector<std::string>{"mmPops_0 执行(&E)", "-", "mmPops_2 新建(&N)...", "mmPops_3 编辑(&E)...",
                                      "mmPops_4 删除(&D)", "-", "mmPops_6 新建文件夹(&C)..."}));
  EXPECT_EQ(popup->defaultAction(), popup->actions()[0]);  // shown bold

  auto* split = w.findChild<QSplitter*>("splitter");
  ASSERT_TRUE(split);
  EXPECT_FALSE(split->opaqueResize());
  EXPECT_EQ(split->handleWidth(), 4);
  EXPECT_FALSE(split->childrenCollapsible());
  EXPECT_EQ(split->sizes()[0], 164);
  EXPECT_EQ(w.tree()->minimumWidth(), 14);
  EXPECT_EQ(w.editor()->minimumWidth(), 14);
  EXPECT_EQ(w.editor()->objectName(), "txtT");
  EXPECT_EQ(w.editor()->font().family().toStdU16String(), u"宋体");
  EXPECT_TRUE(w.tree()->isHeaderHidden());
  EXPECT_TRUE(w.statusText()->objectName() == "sBarText");
  EXPECT_EQ(w.size(), QSize(900, 600));
  keepPicture(&w, "window-new.png");
  rig.checkAll();
}

TEST(Window, SaveFromTheMenuAndNewFromTheKeyboard) {
  QtRig rig;
  rig.startWindow();
  marloxqt::MainWindow& w = *rig.window;
  w.editor()->setPlainText(QStringLiteral("第一行\n二"));
  const std::u16string file = rig.home.name("saved.txt");
  rig.dialogs.expectSave(u"", u"文本文件(*.txt)|*.txt|所有文件(*.*)|*.*", file);
  w.findChild<QAction*>("mmFiles_3")->trigger();
  EXPECT_EQ(rig.home.read("saved.txt"), "第一行\r\n二\r\n");
  EXPECT_EQ(w.windowTitle().toStdU16String(), file + u" - Pelmora文本变换器");
  keepPicture(&w, "window-saved.png");

  w.editor()->appendPlainText(QStringLiteral("more"));
  rig.ui->expectMessageBox(u"数据已经修改，是否保存修改后的结果？", rt::mb::No);
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(w.editor()->toPlainText(), QString());
  EXPECT_EQ(w.windowTitle().toStdU16String(), u"新文件 - Pelmora文本变换器");
  rig.checkAll();
}

// The rectangle of the tree node keyed `key`, in the view's viewport.
QRect nodeRect(marloxqt::MainWindow& w, const std::u16string& key) {
  QStandardItem* item = w.treePort().item(key);
  return item ? w.tree()->visualRect(item->index()) : QRect();
}

TEST(Window, ADoubleClickRunsTheScriptOnTheText) {
  marloxtest::TempDir scripts;
  QtRig rig("[zubDirList]\n1=" + scripts.path() + "|示例\n");
  scripts.write("upper.zub", "/*\n\t大写\n*/\n");
  scripts.write("lower.zub", "");
  const std::u16string key = scripts.name("upper.zub");
  rig.apps->add(key, [](FakeRun& run) {
    std::u16string s = rt::toText((*run.send(u"curText", yarrick::SaGet))[0]);
    run.send(u"curText", yarrick::SaLet, {Variant(rt::toUpper(s))});
  });
  rig.startWindow();
  marloxqt::MainWindow& w = *rig.window;
  w.editor()->setPlainText(QStringLiteral("abc\ndef"));
  w.frame().editor().select(1, 4);
  QRect r = nodeRect(w, key);
  ASSERT_TRUE(r.isValid());
  QTest::mouseClick(w.tree()->viewport(), Qt::LeftButton, {}, r.center());
  EXPECT_EQ(w.statusText()->text().toStdU16String(), u"大写");
  QTest::mouseDClick(w.tree()->viewport(), Qt::LeftButton, {}, r.center());
  EXPECT_EQ(w.editor()->toPlainText().toStdU16String(), u"aBC\nDef");
  EXPECT_EQ(w.editor()->textCursor().selectedText().toStdU16String(), u"BC\u2029D");
  EXPECT_EQ(w.windowTitle().toStdU16String(), u"新文件 - Pelmora文本变换器");
  keepPicture(&w, "window-script-run.png");

  // The toolbar runs it too, on the whole text when nothing is selected.
  w.frame().editor().select(0, 0);
  w.findChild<QAction*>("tBar_exec")->trigger();
  EXPECT_EQ(w.editor()->toPlainText().toStdU16String(), u"aBC\nDef");
  rig.checkAll();
}

TEST(Window, ARightClickLeavesTheSelectionAndShowsThePopup) {
  marloxtest::TempDir scripts;
  QtRig rig("[zubDirList]\n1=" + scripts.path() + "\n");
  scripts.write("a.zub", "");
  scripts.write("sub/b.zub", "");
  rig.startWindow();
  marloxqt::MainWindow& w = *rig.window;
  const std::u16string a = scripts.name("a.zub"), folder = scripts.name("sub/");
  QTest::mouseClick(w.tree()->viewport(), Qt::LeftButton, {}, nodeRect(w, a).center());
  ASSERT_EQ(rig.window->treePort().selectedKey(), a);
  QTest::mousePress(w.tree()->viewport(), Qt::RightButton, {}, nodeRect(w, folder).center());
  QTest::mouseRelease(w.tree()->viewport(), Qt::RightButton, {}, nodeRect(w, folder).center());
  EXPECT_EQ(rig.window->treePort().selectedKey(), a);
  QMenu* popup = w.treePopup();
  EXPECT_TRUE(popup->isVisible());
  std::vector<bool> enabled;
  for (QAction* act : popup->actions())
    if (!act->isSeparator()) enabled.push_back(act->isEnabled());
  EXPECT_EQ(enabled, (std::vector<bool>{true, false, true, true, true}));  // a script is selected
  keepPicture(popup, "window-popup.png");
  popup->hide();

  // Folders swap their images as they open and close.
  QStandardItem* sub = w.treePort().item(folder);
  auto looksLike = [](const QIcon& icon, std::u16string_view key) {
    return icon.pixmap(16).toImage() == marloxqt::iconFor(key).pixmap(16).toImage();
  };
  EXPECT_TRUE(looksLike(sub->icon(), u"closed"));
  w.tree()->expand(sub->index());
  EXPECT_TRUE(looksLike(sub->icon(), u"opened"));
  w.tree()->collapse(sub->index());
  EXPECT_TRUE(looksLike(sub->icon(), u"closed"));
  EXPECT_FALSE(looksLike(sub->icon(), u"opened"));
  rig.checkAll();
}

// A close asked for while a script waits in ExecCmd waits for the script:
// the quit event runs after it, then the window goes.
TEST(Window, ACloseDuringExecCmdClosesAfterTheScript) {
  marloxtest::TempDir scripts;
  QtRig rig("[zubDirList]\n1=" + scripts.path() + "\n[Events]\nQuit=quit.zub\n");
  scripts.write("wait.zub", "");
  std::vector<std::string> journal;
  const std::u16string key = scripts.name("wait.zub");
  rig.apps->add(key, [&](FakeRun& run) {
    journal.push_back("script starts");
    run.send(u"ExecCmd", yarrick::SaMethod, {Variant(u"sleep 0.4")});
    journal.push_back(rig.window->isVisible() ? "script ends, window open" : "script ends, window gone");
  });
  rig.apps->add(rig.appPath() + u"quit.zub", [&](FakeRun&) { journal.push_back("quit"); });
  rig.startWindow();
  marloxqt::MainWindow& w = *rig.window;
  QTimer::singleShot(100, &w, [&] {
    journal.push_back("close asked");
    keepPicture(&w, "window-close-during-script.png");
    w.close();
  });
  rig.window->treePort().select(key);
  w.findChild<QAction*>("mmPops_0")->trigger();
  EXPECT_TRUE(w.isVisible());
  QTest::qWait(50);  // the close posted at the end of the run
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(journal, (std::vector<std::string>{"script starts", "close asked", "script ends, window open", "quit"}));
  EXPECT_TRUE(rig.program->quitting());
  rig.checkAll();
}

TEST(Window, EditCommandsUseTheDesktopClipboard) {
  QtRig rig;
  rig.startWindow();
  marloxqt::MainWindow& w = *rig.window;
  w.editor()->setPlainText(QStringLiteral("one\ntwo"));
  w.frame().editor().select(2, 3);
  w.findChild<QAction*>("mmEdits_1")->trigger();
  EXPECT_EQ(rig.clipboard.held, u"e\nt");
  w.findChild<QAction*>("tBar_cut")->trigger();
  EXPECT_EQ(w.editor()->toPlainText(), QStringLiteral("onwo"));
  w.frame().editor().select(0, 0);
  w.findChild<QAction*>("mmEdits_0")->trigger();
  EXPECT_EQ(w.statusText()->text().toStdU16String(), u"没有文本被选择。");
  EXPECT_EQ(rig.ui->beeps(), 1);
  w.findChild<QAction*>("tBar_paste")->trigger();
  EXPECT_EQ(w.editor()->toPlainText().toStdU16String(), u"e\ntonwo");
  keepPicture(&w, "window-edit.png");
  rig.checkAll();
}

// Every copy of one selection gives one text, the text as it is saved
// (a line separator and a no-break space as they are): the menu's, the
// toolbar's, the keys', the text box's own menu's and a cut's, in a text
// shown whole and in one shown in pieces.
TEST(Window, EveryCopyOfASelectionGivesOneText) {
  QtRig rig;
  rig.startWindow();
  marloxqt::MainWindow& w = *rig.window;
  marloxqt::TextBox* box = w.editor();
  marlox::EditorPort& editor = w.frame().editor();
  const std::u16string odd = u"a\u00a0b\u2028c\nd";
  const std::u16string texts[] = {u"<" + odd + u">", std::u16string(9000, u'x') + odd + std::u16string(9000, u'y')};
  auto desktop = [] { return QApplication::clipboard()->text().toStdU16String(); };
  for (const std::u16string& text : texts) {
    SCOPED_TRACE(text.size());
    editor.setText(text);
    const int32_t start = static_cast<int32_t>(text.find(u'a')) - 1;
    const std::u16string want = text.substr(start, odd.size() + 2);
    struct Copy {
      const char* what;
      std::function<void()> copy;
      std::function<std::u16string()> got;
    };
    const Copy copies[] = {
        {"menu", [&] { w.findChild<QAction*>("mmEdits_1")->trigger(); }, [&] { return *rig.clipboard.held; }},
        {"toolbar", [&] { w.findChild<QAction*>("tBar_copy")->trigger(); }, [&] { return *rig.clipboard.held; }},
        {"ctrl+c", [&] { QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier); }, desktop},
        {"the box's own menu", [&] { box->copy(); }, desktop},
        {"menu cut", [&] { w.findChild<QAction*>("mmEdits_0")->trigger(); }, [&] { return *rig.clipboard.held; }},
        {"ctrl+x", [&] { QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier); }, desktop},
    };
    for (const Copy& c : copies) {
      SCOPED_TRACE(c.what);
      rig.clipboard.held.reset();
      QApplication::clipboard()->clear();
      editor.select(start, static_cast<int32_t>(want.size()));
      c.copy();
      EXPECT_EQ(c.got(), want);
      while (box->document()->isUndoAvailable()) box->undo();
      EXPECT_EQ(editor.text(), text);
    }
  }
}

// A long line without spaces stays one line on the screen: wrapping such
// a line costs time in the square of its length.
TEST(Window, ALongLineIsNotWrapped) {
  QtRig rig;
  rig.startWindow();
  QPlainTextEdit* editor = rig.window->editor();
  editor->setPlainText(QString(200000, QLatin1Char('x')));
  QApplication::processEvents();
  QTextLayout* layout = editor->document()->firstBlock().layout();
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->lineCount(), 1);
  EXPECT_TRUE(editor->horizontalScrollBar()->maximum() > 0);
  rig.checkAll();
}

// Cut, copy and paste show images of their own, never the style's trash
// can, link or arrow, and each a different one.
TEST(Window, EditButtonsShowImagesThatMeanThem) {
  QtRig rig;
  rig.startWindow();
  const QStyle::StandardPixmap misleading[] = {QStyle::SP_DialogDiscardButton, QStyle::SP_TrashIcon,
                                               QStyle::SP_FileLinkIcon, QStyle::SP_ArrowDown};
  std::vector<QImage> seen;
  for (const char* name : {"tBar_cut", "tBar_copy", "tBar_paste"}) {
    SCOPED_TRACE(name);
    QImage image = rig.window->findChild<QAction*>(name)->icon().pixmap(24).toImage();
    ASSERT_FALSE(image.isNull());
    for (QStyle::StandardPixmap m : misleading)
      EXPECT_NE(image, QApplication::style()->standardIcon(m).pixmap(24).toImage());
    for (const QImage& other : seen) EXPECT_NE(image, other);
    seen.push_back(image);
  }
  keepPicture(rig.window->findChild<QToolBar*>("tBar"), "toolbar.png");
  rig.checkAll();
}

TEST(Window, HelpMenu) {
  QtRig rig("[Main]\nWebSite=https://example.org/marlox\n");
  rig.startWindow();
  rig.browser.expected.push_back(u"https://example.org/marlox");
  QApplication::setActiveWindow(rig.window.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(rig.window.get()));
  QTest::keyClick(rig.window.get(), Qt::Key_W, Qt::ControlModifier);
  rig.dialogs.expectAbout();
  rig.window->findChild<QAction*>("tBar_help")->trigger();
  keepPicture(rig.window.get(), "window-help.png");
  rig.checkAll();
}

// The editor gives back exactly the text it was given, so an unchanged
// file saves as it was read.
TEST(Window, TheEditorKeepsEveryCharacter) {
  QtRig rig;
  rig.startWindow();
  const std::u16string text(u"a\u00a0b\u2028c\td\n\ne\0f", 13);
  rig.window->frame().editor().setText(text);
  EXPECT_EQ(rig.window->frame().editor().text(), text);
}

// Answers the box that shows next with `button`, keeping a picture of the
// screen under Xvfb (of the box elsewhere) first.
void answerNextBox(const char* picture, QMessageBox::StandardButton button, std::u16string_view start) {
  QTimer::singleShot(200, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text().toStdU16String().substr(0, start.size()), start);
    keepScreen(box, picture);
    box->button(button)->click();
  });
}

// The boxes and status texts of loading and saving, as the program shows
// them.
TEST(Window, BoxesOfLoadingAndSaving) {
  QtRig rig;
  rig.startWindow();
  rt::ScopedUiHost real(rt::make<marloxqt::QtUiHost>());
  marlox::Document& doc = rig.window->frame().document();
  rig.home.write("big.txt", "");
  ASSERT_EQ(::truncate((rig.home.path() + "/big.txt").c_str(), marlox::Document::kLargestText + 1), 0);
  doc.cmFileOpen(rig.home.name("big.txt"));
  EXPECT_EQ(rig.window->statusText()->text().toStdU16String(),
            u"文件[" + rig.home.name("big.txt") + u"]大于64MB，不能打开。");
  keepScreen(rig.window.get(), "too-large.png");

  rig.home.write("b.bin", std::string("\x7f" "ELF\0\xff\xfe\r\n", 9));
  doc.cmFileOpen(rig.home.name("b.bin"));
  answerNextBox("binary-save.png", QMessageBox::No, u"此文件含有不能作为文本读出的内容");
  EXPECT_FALSE(doc.cmFileSave());

  rig.home.write("ro.txt", "old");
  ASSERT_EQ(::chmod((rig.home.path() + "/ro.txt").c_str(), 0444), 0);
  doc.cmFileOpen(rig.home.name("ro.txt"));
  doc.appendText(u"!");
  answerNextBox("save-failed.png", QMessageBox::Ok, u"程序运行时出现以下错误");
  EXPECT_FALSE(doc.cmFileSave());
  doc.reset();
}

TEST(Window, BoxOfAProfileThatCannotBeWritten) {
  QtRig rig("[Main]\r\nIsFirstRun=1\r\n");
  ASSERT_EQ(::chmod((rig.home.path() + "/Marlox.ini").c_str(), 0444), 0);
  rt::ScopedUiHost real(rt::make<marloxqt::QtUiHost>());
  answerNextBox("profile-unwritable.png", QMessageBox::Ok, u"程序运行时出现以下错误");
  rig.startWindow();
}

}  // namespace
