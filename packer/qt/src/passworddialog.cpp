#include "wistelqt/passworddialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace wistelqt {

QtPasswordDialog::QtPasswordDialog(const std::u16string& caption, const std::u16string& prompt,
                                   rt::PasswordCheck accept, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      accept_(std::move(accept)),
      prompt_(new QLabel(QString::fromStdU16String(prompt), this)),
      field_(new QLineEdit(this)),
      ok_(new QPushButton(QString::fromStdU16String(u"确定"), this)) {
  setWindowTitle(QString::fromStdU16String(caption));
  setModal(true);
  prompt_->setWordWrap(true);
  field_->setEchoMode(QLineEdit::Password);
  // "*" for every character, whatever the style's own mask.
  field_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
  field_->setMinimumWidth(280);
  ok_->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt_);
  layout->addWidget(field_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(ok_, &QPushButton::clicked, this, [this] { confirm(); });
  field_->setFocus();
}

void QtPasswordDialog::confirm() {
  if (accept_(field_->text().toStdU16String())) {
    accept();
    return;
  }
  field_->clear();
  field_->setFocus();
}

}  // namespace wistelqt
