// The packer's windows in Qt: the progress window (a row of a label and a
// bar for each level of the work) and the password dialog, behind the
// runtime's work host.  A program with a QApplication installs them once.
#pragma once

#include "rt/workhost.h"

namespace wistelqt {

class QtWorkHost final : public rt::WorkHost {
 public:
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::WorkHost>(this, iid); }
  // A new QtProgressWindow, shown at once at the top right of the screen.
  rt::Ref<rt::ProgressView> openProgress() override;
  // A modal QtPasswordDialog.
  bool askPassword(const std::u16string& caption, const std::u16string& prompt,
                   const rt::PasswordCheck& accept) override;
};

// Installs a QtWorkHost as the process's work host.
void installWorkHost();

}  // namespace wistelqt
