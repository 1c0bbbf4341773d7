#include "marlox/runstop.h"

#include <utility>

#include "dovrel/scripthost.h"

namespace marlox {

class RunStop::YieldHost final : public rt::UiHost {
 public:
  YieldHost(RunStop& stop, rt::Ref<rt::UiHost> base) : stop_(stop), base_(std::move(base)) {}
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::UiHost>(this, iid); }
  int32_t messageBox(const std::u16string& prompt, int32_t style, const std::u16string& title) override {
    return base_->messageBox(prompt, style, title);
  }
  std::u16string inputBox(const std::u16string& prompt, const std::u16string& title,
                          const std::u16string& defaultText) override {
    return base_->inputBox(prompt, title, defaultText);
  }
  void beep() override { base_->beep(); }
  void yield() override {
    stop_.assertStop();
    base_->yield();
  }

 private:
  RunStop& stop_;
  rt::Ref<rt::UiHost> base_;
};

RunStop::~RunStop() {
  if (requested_) rt::setUiHost(std::move(previous_));
}

void RunStop::end() {
  running_.pop_back();
  if (!running_.empty() || !requested_) return;
  requested_ = false;
  rt::setUiHost(std::move(previous_));
}

void RunStop::request() {
  if (running_.empty()) return;
  if (!requested_) {
    requested_ = true;
    rt::Ref<rt::UiHost> current(&rt::uiHost());
    previous_ = rt::setUiHost(rt::make<YieldHost>(*this, current));
  }
  assertStop();
}

void RunStop::assertStop() {
  for (yarrick::IApplication* app : running_) {
    // A run may have no host yet, and another edition's host cannot be
    // ended this way: those are left as they are.
    rt::Ref<dovrel::IScriptHost> host = rt::queryRef<dovrel::IScriptHost>(app->host().get());
    if (host) host->endRun();
  }
}

}  // namespace marlox
