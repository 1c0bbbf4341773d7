#include "marloxqt/qtuihost.h"

#include <QApplication>
#include <QInputDialog>
#include <QPushButton>

#include "marlox/escape.h"
#include "marloxqt/text.h"

namespace marloxqt {

namespace {

QMessageBox::Icon iconOf(int32_t style) {
  switch (style & 0x70) {
    case rt::mb::Critical: return QMessageBox::Critical;
    case rt::mb::Question: return QMessageBox::Question;
    case rt::mb::Exclamation: return QMessageBox::Warning;
    case rt::mb::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

using SB = QMessageBox::StandardButton;

QList<SB> buttonsOf(int32_t style) {
  switch (style & 7) {
    case rt::mb::OkCancel: return {SB::Ok, SB::Cancel};
    case rt::mb::AbortRetryIgnore: return {SB::Abort, SB::Retry, SB::Ignore};
    case rt::mb::YesNoCancel: return {SB::Yes, SB::No, SB::Cancel};
    case rt::mb::YesNo: return {SB::Yes, SB::No};
    case rt::mb::RetryCancel: return {SB::Retry, SB::Cancel};
    default: return {SB::Ok};
  }
}

QWidget* parentWindow() {
  QWidget* w = QApplication::activeModalWidget();
  return w ? w : QApplication::activeWindow();
}

}  // namespace

QMessageBox* makeMessageBox(const std::u16string& prompt, int32_t style, const std::u16string& title,
                            QWidget* parent) {
  auto* box = new QMessageBox(iconOf(style), qs(title), shown(prompt), QMessageBox::NoButton, parent);
  QList<SB> buttons = buttonsOf(style);
  for (SB b : buttons) box->addButton(b);
  const qsizetype preferred = (style & rt::mb::DefaultButton3) ? 2 : (style & rt::mb::DefaultButton2) ? 1 : 0;
  box->setDefaultButton(buttons[std::min(preferred, buttons.size() - 1)]);
  return box;
}

int32_t answerOf(QMessageBox::StandardButton button) {
  switch (button) {
    case SB::Cancel: return rt::mb::Cancel;
    case SB::Abort: return rt::mb::Abort;
    case SB::Retry: return rt::mb::Retry;
    case SB::Ignore: return rt::mb::Ignore;
    case SB::Yes: return rt::mb::Yes;
    case SB::No: return rt::mb::No;
    default: return rt::mb::Ok;
  }
}

int32_t QtUiHost::messageBox(const std::u16string& prompt, int32_t style, const std::u16string& title) {
  std::unique_ptr<QMessageBox> box(makeMessageBox(prompt, style, title, parentWindow()));
  box->exec();
  QAbstractButton* clicked = box->clickedButton();
  if (!clicked) return marlox::escapeAnswer(style);
  return answerOf(box->standardButton(clicked));
}

std::u16string QtUiHost::inputBox(const std::u16string& prompt, const std::u16string& title,
                                  const std::u16string& defaultText) {
  bool ok = false;
  QString text = QInputDialog::getText(parentWindow(), qs(title), shown(prompt), QLineEdit::Normal, qs(defaultText), &ok);
  return ok ? us(text) : std::u16string();
}

void QtUiHost::beep() { QApplication::beep(); }

void QtUiHost::yield() { QCoreApplication::processEvents(); }

}  // namespace marloxqt
