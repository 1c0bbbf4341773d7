// A scripted UI host for tests: the questions a test expects, in order, and
// the answers to give.
//
//   auto host = rt::make<rt::ScriptedHost>();
//   host->expectMessageBox(u"Save the changes?", rt::mb::Yes)
//       .expectInputBox(u"Name:", u"Kim");
//   rt::ScopedUiHost installed(host);
//   ... run the code under test ...
//   host->checkAllAsked();
//
// A question nobody expected, or one whose kind or prompt differs from the
// next expectation, throws std::logic_error naming the question: the test
// sees an uncaught exception and fails.  Code under test that swallows every
// exception cannot hide that: the host keeps the first failure and
// checkAllAsked throws it again, as it does for expectations never asked.
#pragma once

#include <cstdint>
#include <deque>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "rt/text.h"
#include "rt/uihost.h"

namespace rt {

class ScriptedHost : public UiHost {
 public:
  enum class Kind { MessageBox, InputBox };

  // One question as the code under test asked it.
  struct Asked {
    Kind kind;
    std::u16string prompt;
    std::u16string title;
    int32_t style = 0;           // message boxes
    std::u16string defaultText;  // input boxes
  };

  ScriptedHost& expectMessageBox(std::u16string prompt, int32_t answer) {
    expected_.push_back(Expected{Kind::MessageBox, std::move(prompt), answer, {}});
    return *this;
  }
  ScriptedHost& expectInputBox(std::u16string prompt, std::u16string answer) {
    expected_.push_back(Expected{Kind::InputBox, std::move(prompt), 0, std::move(answer)});
    return *this;
  }

  void* query(const Iid& iid) noexcept override { return queryAmong<UiHost>(this, iid); }

  int32_t messageBox(const std::u16string& prompt, int32_t style,
                     const std::u16string& title) override {
    asked_.push_back(Asked{Kind::MessageBox, prompt, title, style, {}});
    return take(Kind::MessageBox, prompt).number;
  }
  std::u16string inputBox(const std::u16string& prompt, const std::u16string& title,
                          const std::u16string& defaultText) override {
    asked_.push_back(Asked{Kind::InputBox, prompt, title, 0, defaultText});
    return take(Kind::InputBox, prompt).text;
  }
  void beep() override { ++beeps_; }
  void yield() override { ++yields_; }

  const std::vector<Asked>& asked() const { return asked_; }
  int beeps() const { return beeps_; }
  int yields() const { return yields_; }

  // Throws the first failure, or names the first expectation never asked.
  void checkAllAsked() const {
    if (!failure_.empty()) throw std::logic_error(failure_);
    if (!expected_.empty())
      throw std::logic_error("scripted host: expected " +
                             describe(expected_.front().kind, expected_.front().prompt) +
                             " was never asked");
  }

 private:
  struct Expected {
    Kind kind;
    std::u16string prompt;
    int32_t number;
    std::u16string text;
  };

  static std::string describe(Kind kind, const std::u16string& prompt) {
    return std::string(kind == Kind::MessageBox ? "message box" : "input box") + " \"" +
           toUtf8(prompt) + "\"";
  }

  Expected take(Kind kind, const std::u16string& prompt) {
    if (expected_.empty()) fail("scripted host: unexpected " + describe(kind, prompt));
    Expected next = std::move(expected_.front());
    expected_.pop_front();
    if (next.kind != kind || next.prompt != prompt)
      fail("scripted host: asked " + describe(kind, prompt) + " but expected " +
           describe(next.kind, next.prompt));
    return next;
  }

  [[noreturn]] void fail(std::string message) {
    if (failure_.empty()) failure_ = message;
    throw std::logic_error(message);
  }

  std::deque<Expected> expected_;
  std::vector<Asked> asked_;
  std::string failure_;
  int beeps_ = 0;
  int yields_ = 0;
};

// Installs a host for a scope and restores the previous one after it.
class ScopedUiHost {
 public:
  explicit ScopedUiHost(Ref<UiHost> host) : previous_(setUiHost(std::move(host))) {}
  ~ScopedUiHost() { setUiHost(std::move(previous_)); }
  ScopedUiHost(const ScopedUiHost&) = delete;
  ScopedUiHost& operator=(const ScopedUiHost&) = delete;

 private:
  Ref<UiHost> previous_;
};

}  // namespace rt
