// Message boxes, input boxes, beeps and yields in Qt: the runtime's UI host
// for the desktop program (the scripts' boxes and the program's own).
#pragma once

#include <QMessageBox>
#include <cstdint>

#include "rt/uihost.h"

namespace marloxqt {

class QtUiHost final : public rt::UiHost {
 public:
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::UiHost>(this, iid); }
  // A QMessageBox with the icon of the style's icon bits (16 critical, 32
  // question, 48 warning, 64 information) and the buttons of its low bits;
  // the answer as the runtime numbers it.
  int32_t messageBox(const std::u16string& prompt, int32_t style, const std::u16string& title) override;
  // QInputDialog::getText; "" when cancelled.
  std::u16string inputBox(const std::u16string& prompt, const std::u16string& title,
                          const std::u16string& defaultText) override;
  void beep() override;
  // Lets the event loop handle what is waiting.
  void yield() override;
};

// The box a message box of `style` shows: not yet shown, for tests to look
// at; `answerOf` maps its result back.
QMessageBox* makeMessageBox(const std::u16string& prompt, int32_t style, const std::u16string& title,
                            QWidget* parent);
int32_t answerOf(QMessageBox::StandardButton button);

}  // namespace marloxqt
