// The password dialog: the prompt, a field that shows "*" for every
// character, and one button "确定"; no cancel button (the close box
// serves).  Each entry confirmed goes to the check: taken, the dialog
// closes as accepted; refused, the field is emptied and keeps the focus.
#pragma once

#include <QDialog>
#include <string>

#include "rt/workhost.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace wistelqt {

class QtPasswordDialog final : public QDialog {
 public:
  QtPasswordDialog(const std::u16string& caption, const std::u16string& prompt,
                   rt::PasswordCheck accept, QWidget* parent = nullptr);

  QLabel* prompt() const { return prompt_; }
  QLineEdit* field() const { return field_; }
  QPushButton* okButton() const { return ok_; }

 private:
  void confirm();

  rt::PasswordCheck accept_;
  QLabel* prompt_;
  QLineEdit* field_;
  QPushButton* ok_;
};

}  // namespace wistelqt
