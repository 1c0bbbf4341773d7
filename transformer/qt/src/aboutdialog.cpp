#include "marloxqt/aboutdialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "marlox/messages.h"
#include "marlox/program.h"
#include "marloxqt/iconset.h"
#include "marloxqt/text.h"

namespace marloxqt {

namespace msg = marlox::msg;

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(qs(msg::join({msg::kAboutCaptionHead, msg::kAppTitle})));
  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("picIcon"));
  icon->setPixmap(iconFor(u"tools").pixmap(48, 48));
  auto label = [this](const char* name, QString text) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    return l;
  };
  QLabel* title = label("lblTitle", qs(msg::kAppTitle));
  QFont big = title->font();
  big.setPointSizeF(big.pointSizeF() * 1.5);
  big.setBold(true);
  title->setFont(big);
  auto* ok = new QPushButton(qs(msg::kOk), this);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* grid = new QGridLayout(this);
  grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  grid->addWidget(title, 0, 1);
  grid->addWidget(label("lblVersion", qs(msg::join({msg::kVersionHead, marlox::Program::version()}))), 1, 1);
  grid->addWidget(label("lblDescription", qs(msg::kAboutDescription)), 2, 1);
  grid->addWidget(label("lblDisclaimer", qs(msg::kAboutDisclaimer)), 3, 0, 1, 2);
  grid->addWidget(ok, 4, 0, 1, 2, Qt::AlignRight);
  setMinimumWidth(420);
}

}  // namespace marloxqt
