// The hosts of the pack command: boxes go to standard error, the progress
// is one updating line on standard error when that is a terminal, and the
// password comes from a file or from the terminal without echo.
#pragma once

#include <optional>
#include <string>

#include "rt/uihost.h"
#include "rt/workhost.h"

namespace wistelcmd {

class ConsoleUiHost final : public rt::UiHost {
 public:
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::UiHost>(this, iid); }
  // Prints the title and the text; answers with the default button.
  int32_t messageBox(const std::u16string& prompt, int32_t style,
                     const std::u16string& title) override;
  std::u16string inputBox(const std::u16string&, const std::u16string&,
                          const std::u16string&) override {
    return {};
  }
  void beep() override {}
  void yield() override {}
};

class ConsoleWorkHost final : public rt::WorkHost {
 public:
  // With a password file, its first line is the one entry offered.
  explicit ConsoleWorkHost(std::optional<std::string> passwordFile)
      : passwordFile_(std::move(passwordFile)) {}
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::WorkHost>(this, iid); }
  rt::Ref<rt::ProgressView> openProgress() override;
  bool askPassword(const std::u16string& caption, const std::u16string& prompt,
                   const rt::PasswordCheck& accept) override;

 private:
  std::optional<std::string> passwordFile_;
};

// The first line of a file, without its line end; nullopt when it cannot
// be read.
std::optional<std::u16string> firstLine(const std::string& path);

}  // namespace wistelcmd
