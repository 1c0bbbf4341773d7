#include "qtrig.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

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

}  // namespace marloxqttest
