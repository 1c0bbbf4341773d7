// The packer's Qt windows, driven by the packer itself, on the offscreen
// platform.  Each test keeps a picture of its windows in build/test-artifacts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <functional>

#include "password.h"
#include "progress.h"
#include "rt/testhost.h"
#include "wistelqt/passworddialog.h"
#include "wistelqt/progresswindow.h"
#include "wistelqt/workhost.h"

namespace {

using wistelqt::QtPasswordDialog;
using wistelqt::QtProgressWindow;

void keepPicture(QWidget* w, const char* name) {
  QDir().mkpath(QStringLiteral(ZUB_TEST_ARTIFACTS));
  QString path = QStringLiteral(ZUB_TEST_ARTIFACTS) + QLatin1Char('/') + QLatin1String(name);
  EXPECT_TRUE(w->grab().save(path)) << path.toStdString();
}

// The one progress window on screen.
QtProgressWindow* progressWindow() {
  QtProgressWindow* found = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* p = dynamic_cast<QtProgressWindow*>(w); p && p->isVisible()) found = p;
  return found;
}

class Windows : public testing::Test {
 protected:
  rt::ScopedWorkHost work_{rt::make<wistelqt::QtWorkHost>()};
};

TEST_F(Windows, ProgressRowsGrowStayAndAreUsedAgain) {
  wistel::Progress p(u"正在打包...");
  QtProgressWindow* w = progressWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle().toStdU16String(), u"正在打包...");
  const char16_t* labels[] = {u"/", u"中文 文件夹", u"a.txt"};
  int heights[3] = {};
  for (int k = 0; k < 3; ++k) {
    p.push(labels[k], k == 1 ? 0 : 7);
    ASSERT_EQ(w->rowCount(), k + 1);
    heights[k] = w->height();
    if (k > 0) {
      EXPECT_GT(heights[k], heights[k - 1]);
      EXPECT_GT(w->bar(k + 1)->geometry().top(), w->bar(k)->geometry().bottom());
      EXPECT_GT(w->label(k + 1)->geometry().top(), w->label(k)->geometry().bottom());
    }
    EXPECT_EQ(w->label(k + 1)->text().toStdU16String(), labels[k]);
    EXPECT_EQ(w->bar(k + 1)->value(), 0);
  }
  EXPECT_EQ(w->bar(2)->maximum(), 1);  // a maximum of 0 is 1
  p.addValue();
  EXPECT_EQ(w->bar(3)->value(), 1);
  QScreen* screen = w->screen();
  EXPECT_EQ(w->frameGeometry().topRight(), screen->availableGeometry().topRight());
  keepPicture(w, "progress-three-rows.png");

  for (int k = 0; k < 3; ++k) p.pop();
  for (int k = 1; k <= 3; ++k) {
    EXPECT_TRUE(w->bar(k)->isVisible());
    EXPECT_EQ(w->bar(k)->value(), 0);
    EXPECT_EQ(w->label(k)->text(), QString());
  }
  p.push(u"again", 2);
  EXPECT_EQ(w->rowCount(), 3);
  EXPECT_EQ(w->height(), heights[2]);
  EXPECT_EQ(w->label(1)->text().toStdU16String(), u"again");
  EXPECT_EQ(w->frameGeometry().topRight(), screen->availableGeometry().topRight());
  keepPicture(w, "progress-row-used-again.png");

  p.close();
  QApplication::processEvents();
  EXPECT_EQ(progressWindow(), nullptr);
}

// Runs `drive` on the password dialog once it shows, while askPassword waits.
bool askWhileDriving(std::u16string_view stored, std::function<void(QtPasswordDialog*)> drive) {
  QTimer::singleShot(0, [drive] {
    auto* d = dynamic_cast<QtPasswordDialog*>(QApplication::activeModalWidget());
    if (!d) {
      ADD_FAILURE() << "no password dialog";
      return;
    }
    drive(d);
  });
  return wistel::askPassword(stored);
}

TEST_F(Windows, PasswordDialogEchoesStarsAndRefusesAWrongEntry) {
  auto ui = rt::make<rt::ScriptedHost>();
  ui->expectMessageBox(u"口令无效，请重新录入。", rt::mb::Ok);
  rt::ScopedUiHost installed(ui);
  bool visibleAfterRefusal = false;
  bool ok = askWhileDriving(u"pw", [&](QtPasswordDialog* d) {
    EXPECT_EQ(d->windowTitle().toStdU16String(), u"录入口令");
    EXPECT_EQ(d->prompt()->text().toStdU16String(), u"正在解包的文件要求口令，请录入：");
    QList<QPushButton*> buttons = d->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text().toStdU16String(), u"确定");
    d->field()->setText(QStringLiteral("PW"));
    EXPECT_EQ(d->field()->displayText(), QStringLiteral("**"));
    keepPicture(d, "password-typed.png");
    d->okButton()->click();  // refused: the scripted host answers the box
    EXPECT_EQ(d->field()->text(), QString());
    EXPECT_EQ(d->focusWidget(), d->field());
    visibleAfterRefusal = d->isVisible();
    keepPicture(d, "password-refused.png");
    d->field()->setText(QStringLiteral("pw"));
    d->okButton()->click();
  });
  EXPECT_TRUE(visibleAfterRefusal);
  EXPECT_TRUE(ok);
  ui->checkAllAsked();
  ASSERT_EQ(ui->asked().size(), 1u);
  EXPECT_EQ(ui->asked()[0].style, rt::mb::OkOnly);
  EXPECT_EQ(ui->asked()[0].title, u"Wistel");
}

TEST_F(Windows, ClosingThePasswordDialogAnswersNo) {
  auto ui = rt::make<rt::ScriptedHost>();  // no box expected
  rt::ScopedUiHost installed(ui);
  EXPECT_FALSE(askWhileDriving(u"pw", [](QtPasswordDialog* d) {
    keepPicture(d, "password-closing.png");
    d->close();
  }));
  ui->checkAllAsked();
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
