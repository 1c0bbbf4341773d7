// The host of long operations, and the headless one used until a program
// installs another.
#include "rt/workhost.h"

namespace rt {

namespace {

class HeadlessView final : public ProgressView {
 public:
  void* query(const Iid& iid) noexcept override { return queryAmong<ProgressView>(this, iid); }
  void setCaption(const std::u16string&) override {}
  void setRowCount(int32_t) override {}
  void setRow(int32_t, const std::u16string&, int32_t, int32_t) override {}
  void close() override {}
};

class HeadlessWorkHost final : public WorkHost {
 public:
  void* query(const Iid& iid) noexcept override { return queryAmong<WorkHost>(this, iid); }
  Ref<ProgressView> openProgress() override { return make<HeadlessView>(); }
  // Nobody can answer: as if the question were closed.
  bool askPassword(const std::u16string&, const std::u16string&, const PasswordCheck&) override {
    return false;
  }
};

Ref<WorkHost>& headless() {
  static Ref<WorkHost> host = make<HeadlessWorkHost>();
  return host;
}

Ref<WorkHost>& installed() {
  static Ref<WorkHost> host = headless();
  return host;
}

}  // namespace

WorkHost& workHost() { return *installed(); }

Ref<WorkHost> setWorkHost(Ref<WorkHost> host) {
  Ref<WorkHost> previous = std::move(installed());
  installed() = host ? std::move(host) : headless();
  return previous;
}

}  // namespace rt
