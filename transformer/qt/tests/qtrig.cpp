#include "qtrig.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>

namespace marloxqttest {

void YieldingHost::yield() {
  ScriptedHost::yield();
  QCoreApplication::processEvents();
}

void keepPicture(QWidget* w, const char* name) {
  QDir().mkpath(QStringLiteral(ZUB_TEST_ARTIFACTS));
  QString path = QStringLiteral(ZUB_TEST_ARTIFACTS "/marlox-") + QLatin1String(name);
  EXPECT_TRUE(w->grab().save(path)) << path.toStdString();
}

void keepScreen(QWidget* w, const char* name) {
  QScreen* screen = w->screen();
  if (QGuiApplication::platformName() == QLatin1String("offscreen") || !screen) return keepPicture(w, name);
  // The display server shows what the window painted a little later.
  EXPECT_TRUE(QTest::qWaitForWindowExposed(w->window()));
  QTest::qWait(300);
  QDir().mkpath(QStringLiteral(ZUB_TEST_ARTIFACTS));
  QString path = QStringLiteral(ZUB_TEST_ARTIFACTS "/marlox-") + QLatin1String(name);
  EXPECT_TRUE(screen->grabWindow(0).save(path)) << path.toStdString();
}

}  // namespace marloxqttest
