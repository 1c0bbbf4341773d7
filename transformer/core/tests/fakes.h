// Scripted stand-ins for the window's ports.  Each keeps a transcript of
// the calls it got; the scripted ones answer from expectations and fail
// loudly on a call nobody expected: the first such failure is kept, thrown
// at once, and thrown again by check(), so code that swallows exceptions
// cannot hide it.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "marlox/ports.h"
#include "rt/text.h"

namespace marloxtest {

using marlox::TreeNode;

// What all fakes share: a transcript and the first failure.
class Recorder {
 public:
  const std::vector<std::string>& transcript() const { return transcript_; }
  void check() const {
    if (!failure_.empty()) throw std::logic_error(failure_);
  }

 protected:
  void note(std::string line) { transcript_.push_back(std::move(line)); }
  [[noreturn]] void fail(const std::string& what) {
    if (failure_.empty()) failure_ = what;
    throw std::logic_error(what);
  }
  static std::string u8(std::u16string_view s) { return rt::toUtf8(s); }

 private:
  std::vector<std::string> transcript_;
  std::string failure_;
};

// An editor that behaves like a text box: "\n" lines, a selection, and a
// change notice for every change of its text.
class FakeEditor final : public marlox::EditorPort, public Recorder {
 public:
  std::function<void()> onChange;
  std::u16string content;
  int32_t start = 0, length = 0;

  int32_t selStart() override { return start; }
  int32_t selLength() override { return length; }
  std::u16string selectedText() override { return content.substr(start, length); }
  void replaceSelection(const std::u16string& text) override;
  std::u16string text() override { return content; }
  void setText(const std::u16string& text) override;
  void select(int32_t s, int32_t n) override;
  void insertAtEnd(const std::u16string& text) override;

 private:
  void changed();
};

class FakeWindow final : public marlox::WindowPort, public Recorder {
 public:
  bool open = true;
  std::u16string caption, status;
  int closeRequests = 0;

  bool exists() override { return open; }
  void setCaption(const std::u16string& c) override {
    caption = c;
    note("caption " + u8(c));
  }
  void setStatus(const std::u16string& s) override {
    status = s;
    note("status " + u8(s));
  }
  void requestClose() override {
    ++closeRequests;
    note("close");
  }
};

// The tree view's mirror: nodes by key, children in order, a selection.
class FakeTree final : public marlox::TreePort, public Recorder {
 public:
  struct Shown {
    TreeNode node;
    std::u16string parent;
    std::vector<std::u16string> children;
    bool expanded = false;
  };
  std::map<std::u16string, Shown> nodes;
  std::vector<std::u16string> top;
  std::u16string selection;

  void clear() override;
  void add(const std::u16string& parentKey, const TreeNode& node) override;
  void remove(const std::u16string& key) override;
  void expand(const std::u16string& key) override;
  std::u16string selectedKey() override { return selection; }
  void select(const std::u16string& key) override;

  std::vector<std::u16string> childrenOf(const std::u16string& key) const {
    return key.empty() ? top : nodes.at(key).children;
  }
  // "text" of every node under `key`, depth first, indented by level.
  std::string outline(const std::u16string& key = {}, int level = 0) const;
};

// Dialogs answered from expectations, in order.
class ScriptedDialogs final : public marlox::DialogPort, public Recorder {
 public:
  ScriptedDialogs& expectOpen(std::u16string fileName, std::u16string filter, std::u16string answer) {
    expected_.push_back({"open", std::move(fileName), std::move(filter), std::move(answer)});
    return *this;
  }
  ScriptedDialogs& expectSave(std::u16string fileName, std::u16string filter, std::u16string answer) {
    expected_.push_back({"save", std::move(fileName), std::move(filter), std::move(answer)});
    return *this;
  }
  ScriptedDialogs& expectAbout() {
    expected_.push_back({"about", {}, {}, {}});
    return *this;
  }
  std::u16string openFile(const std::u16string& fileName, const std::u16string& filter) override {
    return take("open", fileName, filter);
  }
  std::u16string saveFile(const std::u16string& fileName, const std::u16string& filter) override {
    return take("save", fileName, filter);
  }
  void aboutBox() override { take("about", {}, {}); }
  void checkAllAsked() const;

 private:
  struct Expected {
    std::string kind;
    std::u16string fileName, filter, answer;
  };
  std::u16string take(const std::string& kind, const std::u16string& fileName, const std::u16string& filter);
  std::deque<Expected> expected_;
};

// URLs answered from a table: a text, or nullopt for a failure.
class ScriptedNet final : public marlox::NetPort, public Recorder {
 public:
  std::map<std::u16string, std::optional<std::u16string>> pages;
  bool fetchText(const std::u16string& url, std::u16string& text) override;
};

class ScriptedBrowser final : public marlox::BrowserPort, public Recorder {
 public:
  std::deque<std::u16string> expected;
  void openUrl(const std::u16string& url) override;
};

class ScriptedLauncher final : public marlox::LauncherPort, public Recorder {
 public:
  std::deque<std::vector<std::string>> expected;
  bool startDetached(const std::vector<std::string>& argv) override;
};

class FakeClipboard final : public marlox::ClipboardText, public Recorder {
 public:
  std::optional<std::u16string> held;
  bool hasText() override { return held.has_value(); }
  std::u16string text() override { return held.value_or(u""); }
  void setText(const std::u16string& text) override {
    held = text;
    note("set " + u8(text));
  }
};

}  // namespace marloxtest
