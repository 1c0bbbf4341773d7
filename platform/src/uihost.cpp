// The host of message boxes and input boxes, and the headless one used until
// a program installs another.
#include "rt/uihost.h"

#include <iterator>

namespace rt {

namespace {

class HeadlessHost final : public UiHost {
 public:
  void* query(const Iid& iid) noexcept override { return queryAmong<UiHost>(this, iid); }
  int32_t messageBox(const std::u16string&, int32_t style, const std::u16string&) override {
    return defaultAnswer(style);
  }
  std::u16string inputBox(const std::u16string&, const std::u16string&,
                          const std::u16string&) override {
    return {};
  }
  void beep() override {}
  void yield() override {}
};

Ref<UiHost>& headless() {
  static Ref<UiHost> host = make<HeadlessHost>();
  return host;
}

Ref<UiHost>& installed() {
  static Ref<UiHost> host = headless();
  return host;
}

}  // namespace

int32_t defaultAnswer(int32_t style) {
  struct Buttons {
    int32_t answers[3];
    int count;
  };
  // By the low four bits of the style; other values show an OK button alone.
  static constexpr Buttons kButtons[] = {
      {{mb::Ok}, 1},
      {{mb::Ok, mb::Cancel}, 2},
      {{mb::Abort, mb::Retry, mb::Ignore}, 3},
      {{mb::Yes, mb::No, mb::Cancel}, 3},
      {{mb::Yes, mb::No}, 2},
      {{mb::Retry, mb::Cancel}, 2},
  };
  int set = style & 0xf;
  const Buttons& b = set < static_cast<int>(std::size(kButtons)) ? kButtons[set] : kButtons[0];
  // Bits 256 and 512 pick the default button; one past the last falls back
  // to the first.
  int index = (style >> 8) & 3;
  return b.answers[index < b.count ? index : 0];
}

UiHost& uiHost() { return *installed(); }

Ref<UiHost> setUiHost(Ref<UiHost> host) {
  Ref<UiHost> previous = std::move(installed());
  installed() = host ? std::move(host) : headless();
  return previous;
}

}  // namespace rt
