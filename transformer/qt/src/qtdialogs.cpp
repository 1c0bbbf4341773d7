#include "marloxqt/qtdialogs.h"

#include <QFileDialog>
#include <QStringList>

#include "marloxqt/aboutdialog.h"
#include "marloxqt/text.h"

namespace marloxqt {

namespace {

QString qtPattern(QString pattern) {
  QStringList parts = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (QString& p : parts) {
    p = p.trimmed();
    if (p == QLatin1String("*.*")) p = QStringLiteral("*");
  }
  return parts.join(QLatin1Char(' '));
}

}  // namespace

QString nameFilters(std::u16string_view filter) {
  QStringList pieces = qs(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i < pieces.size(); i += 2) {
    QString description = pieces[i];
    QString pattern = i + 1 < pieces.size() ? pieces[i + 1] : QStringLiteral("*");
    QString bracketed = QLatin1Char('(') + pattern + QLatin1Char(')');
    if (description.endsWith(bracketed)) description.chop(bracketed.size());
    else if (!description.isEmpty()) description += QLatin1Char(' ');
    filters << description + QLatin1Char('(') + qtPattern(pattern) + QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}

std::u16string QtDialogs::openFile(const std::u16string& fileName, const std::u16string& filter) {
  return us(QFileDialog::getOpenFileName(parent_, QString(), qs(fileName), nameFilters(filter)));
}

std::u16string QtDialogs::saveFile(const std::u16string& fileName, const std::u16string& filter) {
  return us(QFileDialog::getSaveFileName(parent_, QString(), qs(fileName), nameFilters(filter)));
}

void QtDialogs::aboutBox() {
  AboutDialog about(parent_);
  about.exec();
}

}  // namespace marloxqt
