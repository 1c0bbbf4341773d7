// The Qt layer's parts on their own: message and input boxes, dialog
// filters, the clipboard, the about box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "marloxqt/aboutdialog.h"
#include "marloxqt/qtclipboard.h"
#include "marloxqt/qtdialogs.h"
#include "marloxqt/qtuihost.h"
#include "qtrig.h"

namespace {

using marloxqttest::keepPicture;

// Runs `act` on the modal widget once it shows, while `ask` waits for it.
template <class Ask>
auto whileShown(std::function<void(QWidget*)> act, Ask ask) {
  QTimer::singleShot(0, [act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
      ADD_FAILURE() << "nothing modal shown";
      return;
    }
    act(modal);
  });
  return ask();
}

TEST(QtUiHost, BoxesShowTheIconAndButtonsOfTheirStyle) {
  struct Case {
    int32_t style;
    QMessageBox::Icon icon;
    std::vector<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton press;
    int32_t answer;
  } cases[] = {
      {64, QMessageBox::Information, {QMessageBox::Ok}, QMessageBox::Ok, 1},
      {16, QMessageBox::Critical, {QMessageBox::Ok}, QMessageBox::Ok, 1},
      {48 + 1, QMessageBox::Warning, {QMessageBox::Ok, QMessageBox::Cancel}, QMessageBox::Cancel, 2},
      {32 + 4, QMessageBox::Question, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::Yes, 6},
      {32 + 4 + 256, QMessageBox::Question, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::No, 7},
      {3, QMessageBox::NoIcon, {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}, QMessageBox::Cancel, 2},
      {2, QMessageBox::NoIcon, {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore}, QMessageBox::Ignore, 5},
      {5, QMessageBox::NoIcon, {QMessageBox::Retry, QMessageBox::Cancel}, QMessageBox::Retry, 4},
  };
  marloxqt::QtUiHost host;
  for (const Case& c : cases) {
    int32_t answer = whileShown(
        [&](QWidget* w) {
          auto* box = qobject_cast<QMessageBox*>(w);
          ASSERT_TRUE(box);
          EXPECT_EQ(box->icon(), c.icon) << c.style;
          EXPECT_EQ(box->windowTitle().toStdU16String(), u"标题");
          EXPECT_EQ(box->text().toStdU16String(), u"第一行\n\n第三行");
          std::vector<QMessageBox::StandardButton> shown;
          for (QAbstractButton* b : box->buttons()) shown.push_back(box->standardButton(b));
          std::sort(shown.begin(), shown.end());
          std::vector<QMessageBox::StandardButton> expected = c.buttons;
          std::sort(expected.begin(), expected.end());
          EXPECT_EQ(shown, expected) << c.style;
          if (c.style & 256) {
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
          }
          if (c.style == 64) keepPicture(box, "box-information.png");
          box->button(c.press)->click();
        },
        [&] { return host.messageBox(u"第一行\r\n\r\n第三行", c.style, u"标题"); });
    EXPECT_EQ(answer, c.answer) << c.style;
  }
  // Closed with its escape key: No for a Yes/No question.
  EXPECT_EQ(whileShown([](QWidget* w) { qobject_cast<QMessageBox*>(w)->reject(); },
                       [&] { return host.messageBox(u"q", 36, u""); }),
            rt::mb::No);
}

TEST(QtUiHost, InputBoxes) {
  marloxqt::QtUiHost host;
  std::u16string typed = whileShown(
      [](QWidget* w) {
        auto* d = qobject_cast<QInputDialog*>(w);
        ASSERT_TRUE(d);
        EXPECT_EQ(d->labelText().toStdU16String(), u"请输入新建脚本文件的名称：");
        EXPECT_EQ(d->textValue().toStdU16String(), u"用户新脚本");
        EXPECT_EQ(d->windowTitle().toStdU16String(), u"Pelmora文本变换器");
        keepPicture(d, "input-box.png");
        d->setTextValue(QStringLiteral("新名字"));
        d->accept();
      },
      [&] { return host.inputBox(u"请输入新建脚本文件的名称：", u"Pelmora文本变换器", u"用户新脚本"); });
  EXPECT_EQ(typed, u"新名字");
  std::u16string cancelled = whileShown([](QWidget* w) { qobject_cast<QInputDialog*>(w)->reject(); },
                                        [&] { return host.inputBox(u"p", u"t", u"default"); });
  EXPECT_EQ(cancelled, u"");
}

TEST(QtDialogs, FiltersBecomeQtNameFilters) {
  struct Case {
    const char16_t* filter;
    const char16_t* qt;
  } cases[] = {
      {u"文本文件(*.txt)|*.txt|所有文件(*.*)|*.*", u"文本文件(*.txt);;所有文件(*)"},
      {u"所有文件(*.*)|*.*", u"所有文件(*)"},
      {u"Scripts|*.zub;*.bas", u"Scripts (*.zub *.bas)"},
      {u"Everything|*.*|Odd", u"Everything (*);;Odd (*)"},
      {u"|*.txt", u"(*.txt)"},
  };
  for (const Case& c : cases) EXPECT_EQ(marloxqt::nameFilters(c.filter).toStdU16String(), c.qt);
}

TEST(QtClipboard, ScriptsAndTheDesktopShareIt) {
  marloxqt::QtClipboardHost host;
  QClipboard* cb = QGuiApplication::clipboard();
  cb->setText(QStringLiteral("from the desktop 中"));
  EXPECT_FALSE(host.setData(13, {}));  // not open
  ASSERT_TRUE(host.open(0));
  EXPECT_FALSE(host.open(0));
  std::vector<uint8_t> block;
  ASSERT_TRUE(host.data(13, block));
  EXPECT_EQ(std::string(block.begin(), block.end()), std::string("from the desktop 中") + '\0');
  EXPECT_EQ(host.nextFormat(0), 13u);
  EXPECT_EQ(host.nextFormat(13), 1u);
  EXPECT_EQ(host.nextFormat(1), 0u);

  uint32_t mine = host.registerFormat(u"My Format");
  EXPECT_EQ(mine, 0xC000u);
  EXPECT_EQ(host.registerFormat(u"my format"), mine);
  EXPECT_EQ(host.registerFormat(u""), 0u);
  ASSERT_TRUE(host.setData(mine, {1, 2, 0, 3}));
  EXPECT_EQ(host.mimeOf(mine), QStringLiteral("application/x-zub-my format"));
  EXPECT_EQ(cb->mimeData()->data(QStringLiteral("application/x-zub-my format")), QByteArray("\x01\x02\x00\x03", 4));
  EXPECT_EQ(cb->text(), QStringLiteral("from the desktop 中"));  // the other formats stay
  EXPECT_EQ(host.nextFormat(1), mine);
  std::string text = "to the desktop";
  ASSERT_TRUE(host.setData(1, std::vector<uint8_t>(text.begin(), text.end())));
  EXPECT_EQ(cb->text(), QStringLiteral("to the desktop"));
  ASSERT_TRUE(host.data(mine, block));
  EXPECT_EQ(block, (std::vector<uint8_t>{1, 2, 0, 3}));
  EXPECT_TRUE(host.close());
  EXPECT_FALSE(host.close());
  EXPECT_FALSE(host.data(13, block));

  marloxqt::QtClipboardText editorSide;
  cb->clear();
  EXPECT_FALSE(editorSide.hasText());
  editorSide.setText(u"x\ny");
  EXPECT_EQ(cb->text(), QStringLiteral("x\ny"));
  EXPECT_EQ(editorSide.text(), u"x\ny");
}

TEST(AboutBox, ShowsTheProgramAndCloses) {
  marloxqt::QtDialogs dialogs;
  whileShown(
      [](QWidget* w) {
        EXPECT_EQ(w->objectName(), "frmAbout");
        EXPECT_EQ(w->windowTitle().toStdU16String(), u"关于 Pelmora文本变换器");
        auto text = [w](const char* name) { return w->findChild<QLabel*>(name)->text().toStdU16String(); };
        EXPECT_EQ(text("lblTitle"), u"Pelmora文本变换器");
        EXPECT_EQ(text("lblVersion"), u"版本 1.0.0");
        EXPECT_FALSE(text("lblDescription").empty());
        EXPECT_FALSE(text("lblDisclaimer").empty());
        EXPECT_FALSE(w->findChild<QLabel*>("picIcon")->pixmap().isNull());
        keepPicture(w, "about.png");
        auto* ok = w->findChild<QPushButton*>("cmdOK");
        ASSERT_TRUE(ok);
        EXPECT_EQ(ok->text().toStdU16String(), u"确定");
        ok->click();
      },
      [&] {
        dialogs.aboutBox();
        return 0;
      });
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
