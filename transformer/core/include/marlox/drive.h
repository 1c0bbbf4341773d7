// Driving the program from a file, one user action per line, for tests and
// demonstrations (marlox --drive FILE):
//
//   open PATH          select START LEN     expect-text TEXT
//   type TEXT          select-all           expect-caption TEXT
//   node KEY           action NAME          expect-status TEXT
//   answer yes|no|ok|cancel|text TEXT|file PATH
//   screenshot PNG     wait MS              close
//   key KEYS
//
// "key" presses KEYS in the editor, written as a shortcut is (Shift+Return,
// Ctrl+C); only Return and Enter carry a text ("\r"), so TEXT is typed with
// "type".  Blank lines and lines starting with "#" are skipped.  In TEXT, "\n",
// "\t" and "\\" stand for a line break, a tab and a backslash, and in
// every argument "{home}" for the program folder and "{drive}" for the
// drive file's folder (both without a "/" at the end).  An "open" PATH is
// taken from the drive file's folder, a "node" KEY from the program folder.
// "wait" lets the program run on its own for MS milliseconds; right after
// an "action" it counts from the action's start, and the drive goes on
// when it is over also while the action has not returned (a script that
// loops then meets the lines after it, as it meets a user's actions).  A
// close while a script runs (the last line's included) waits until the
// script has stopped; a program that ends before the last line fails the
// drive.  While a drive runs, every dialog and box takes the next queued
// answer; one that finds none (or one of the wrong kind) fails the run,
// naming its text.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "marlox/ports.h"
#include "rt/uihost.h"

namespace marlox {

struct DriveLine {
  int number = 0;        // in the file, from 1
  std::u16string verb;   // as listed above
  std::u16string arg;    // the rest of the line, escapes resolved
  std::u16string text;   // the line as written
};

// The lines of a drive file.  Raises std::runtime_error naming the first
// line whose verb is unknown or whose argument is missing or malformed.
std::vector<DriveLine> parseDrive(std::u16string_view file);

// The queued answers, as the UI host and the dialogs of a driven program.
// Beeps and yields go to `base`.  A question without a fitting answer is
// answered as cancelled and marks the run failed.
class DriveAnswers final : public rt::UiHost, public DialogPort {
 public:
  explicit DriveAnswers(rt::Ref<rt::UiHost> base) : base_(std::move(base)) {}
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::UiHost>(this, iid); }

  // Queues the answer of an "answer" line; false when it is malformed.
  bool queue(std::u16string_view answer);
  bool failed() const { return !failure_.empty(); }
  const std::string& failure() const { return failure_; }
  size_t pending() const { return answers_.size(); }

  int32_t messageBox(const std::u16string& prompt, int32_t style, const std::u16string& title) override;
  std::u16string inputBox(const std::u16string& prompt, const std::u16string& title,
                          const std::u16string& defaultText) override;
  void beep() override { base_->beep(); }
  void yield() override { base_->yield(); }

  std::u16string openFile(const std::u16string& fileName, const std::u16string& filter) override;
  std::u16string saveFile(const std::u16string& fileName, const std::u16string& filter) override;
  void aboutBox() override;

 private:
  enum class Kind { Yes, No, Ok, Cancel, Text, File };
  struct Answer {
    Kind kind;
    std::u16string text;
  };
  // The next answer when it is one of `kinds` (Cancel always fits);
  // otherwise the run is marked failed and Cancel is given.
  Answer take(std::initializer_list<Kind> kinds, std::string_view question, std::u16string_view text);

  rt::Ref<rt::UiHost> base_;
  std::deque<Answer> answers_;
  std::string failure_;
};

}  // namespace marlox
