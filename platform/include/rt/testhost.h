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
#include "rt/workhost.h"

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

 protected:
  [[noreturn]] void fail(std::string message) {
    if (failure_.empty()) failure_ = message;
    throw std::logic_error(message);
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

  std::deque<Expected> expected_;
  std::vector<Asked> asked_;
  std::string failure_;
  int beeps_ = 0;
  int yields_ = 0;
};

// A scripted host of long operations, which is a scripted UI host too:
// installed as both, its transcript shows the yields among the changes of
// its progress views.
//
//   auto host = rt::make<rt::ScriptedWorkHost>();
//   host->expectPassword({u"wrong", u"right"});
//   rt::ScopedUiHost ui(host);
//   rt::ScopedWorkHost work(host);
//   ... run the code under test ...
//   host->checkAllAsked();
//
// The transcript has one line per event: "open", "caption <text>", "rows <n>",
// "row <k> <label> <value>/<maximum>", "close", "yield", "password <caption>
// | <prompt>", "entry <text> taken" or "entry <text> refused", "closed" (the
// question, when its entries ran out).  A password question nobody expected
// fails as an unexpected message box does.
class ScriptedWorkHost : public ScriptedHost, public WorkHost {
 public:
  struct Row {
    std::u16string label;
    int32_t value = 0;
    int32_t maximum = 0;
  };

  // One password question, answered with `entries` in order; when they run
  // out before one is taken, the user closes the question.
  ScriptedWorkHost& expectPassword(std::vector<std::u16string> entries) {
    passwords_.push_back(std::move(entries));
    return *this;
  }

  void* query(const Iid& iid) noexcept override { return queryAmong<UiHost, WorkHost>(this, iid); }

  void yield() override {
    ScriptedHost::yield();
    note(u"yield");
  }

  Ref<ProgressView> openProgress() override {
    rows_.clear();
    caption_.clear();
    ++opened_;
    note(u"open");
    return make<View>(this);
  }

  bool askPassword(const std::u16string& caption, const std::u16string& prompt,
                   const PasswordCheck& accept) override {
    note(u"password " + caption + u" | " + prompt);
    if (passwords_.empty())
      fail("scripted host: unexpected password question \"" + toUtf8(prompt) + "\"");
    std::vector<std::u16string> entries = std::move(passwords_.front());
    passwords_.pop_front();
    for (const std::u16string& entry : entries) {
      bool taken = accept(entry);
      note(u"entry " + entry + (taken ? u" taken" : u" refused"));
      if (taken) return true;
    }
    note(u"closed");
    return false;
  }

  const std::vector<std::u16string>& transcript() const { return transcript_; }
  // The last view opened, as it shows now.
  const std::u16string& caption() const { return caption_; }
  const std::vector<Row>& rows() const { return rows_; }
  int viewsOpened() const { return opened_; }
  int viewsClosed() const { return closed_; }

  // Also names the first password question never asked.
  void checkAllAsked() const {
    ScriptedHost::checkAllAsked();
    if (!passwords_.empty())
      throw std::logic_error("scripted host: expected password question was never asked");
  }

 private:
  class View final : public ProgressView {
   public:
    explicit View(ScriptedWorkHost* host) : host_(host) {}
    void* query(const Iid& iid) noexcept override { return queryAmong<ProgressView>(this, iid); }
    void setCaption(const std::u16string& caption) override {
      host_->caption_ = caption;
      host_->note(u"caption " + caption);
    }
    void setRowCount(int32_t count) override {
      if (count > static_cast<int32_t>(host_->rows_.size()))
        host_->rows_.resize(static_cast<size_t>(count));
      host_->note(u"rows " + number(count));
    }
    void setRow(int32_t k, const std::u16string& label, int32_t value, int32_t maximum) override {
      if (k < 1 || k > static_cast<int32_t>(host_->rows_.size()))
        host_->fail("scripted host: row " + std::to_string(k) + " was never made");
      host_->rows_[static_cast<size_t>(k - 1)] = Row{label, value, maximum};
      host_->note(u"row " + number(k) + u" " + label + u" " + number(value) + u"/" + number(maximum));
    }
    void close() override {
      ++host_->closed_;
      host_->note(u"close");
    }

   private:
    Ref<ScriptedWorkHost> host_;
  };

  static std::u16string number(int32_t n) { return ascii(std::to_string(n)); }
  void note(std::u16string line) { transcript_.push_back(std::move(line)); }

  std::deque<std::vector<std::u16string>> passwords_;
  std::vector<std::u16string> transcript_;
  std::u16string caption_;
  std::vector<Row> rows_;
  int opened_ = 0;
  int closed_ = 0;
};

// Installs a host for a scope and restores the previous one after it.
template <class Host, Ref<Host> (*install)(Ref<Host>)>
class ScopedHost {
 public:
  explicit ScopedHost(Ref<Host> host) : previous_(install(std::move(host))) {}
  ~ScopedHost() { install(std::move(previous_)); }
  ScopedHost(const ScopedHost&) = delete;
  ScopedHost& operator=(const ScopedHost&) = delete;

 private:
  Ref<Host> previous_;
};

// The host of message boxes and input boxes, and the host of long operations.
using ScopedUiHost = ScopedHost<UiHost, setUiHost>;
using ScopedWorkHost = ScopedHost<WorkHost, setWorkHost>;

}  // namespace rt
