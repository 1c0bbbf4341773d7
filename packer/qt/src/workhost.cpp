#include "wistelqt/workhost.h"

#include <QApplication>
#include <QPointer>

#include "wistelqt/passworddialog.h"
#include "wistelqt/progresswindow.h"

namespace wistelqt {

namespace {

// A progress window for one operation; it goes away when the view closes.
class QtProgressView final : public rt::ProgressView {
 public:
  QtProgressView() : window_(new QtProgressWindow) {
    window_->setAttribute(Qt::WA_DeleteOnClose);
    window_->show();
  }
  ~QtProgressView() override { close(); }
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::ProgressView>(this, iid); }

  void setCaption(const std::u16string& caption) override {
    if (window_) window_->setCaption(caption);
  }
  void setRowCount(int32_t count) override {
    if (window_) window_->setRowCount(count);
  }
  void setRow(int32_t k, const std::u16string& label, int32_t value, int32_t maximum) override {
    if (window_) window_->setRow(k, label, value, maximum);
  }
  void close() override {
    if (window_) window_->close();
    window_ = nullptr;
  }

 private:
  QPointer<QtProgressWindow> window_;  // null once closed
};

}  // namespace

rt::Ref<rt::ProgressView> QtWorkHost::openProgress() { return rt::make<QtProgressView>(); }

bool QtWorkHost::askPassword(const std::u16string& caption, const std::u16string& prompt,
                             const rt::PasswordCheck& accept) {
  QtPasswordDialog dialog(caption, prompt, accept, QApplication::activeWindow());
  return dialog.exec() == QDialog::Accepted;
}

void installWorkHost() { rt::setWorkHost(rt::make<QtWorkHost>()); }

}  // namespace wistelqt
