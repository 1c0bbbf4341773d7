#include "console.h"

#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

#include "rt/text.h"

namespace wistelcmd {

namespace {

void printErr(std::u16string_view text) {
  std::u16string t;
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) t += text[i];
  std::string bytes = rt::toUtf8(t);
  std::fwrite(bytes.data(), 1, bytes.size(), stderr);
}

// The columns of the terminal on standard error.
int terminalWidth() {
  winsize ws{};
  return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 ? ws.ws_col : 80;
}

// A line cut to the terminal's width, so that it never wraps and "\r" goes
// back to its start.  Wide (CJK) characters take two columns.
std::u16string fitted(const std::u16string& line) {
  int room = terminalWidth() - 1;
  size_t i = 0;
  for (int used = 0; i < line.size(); ++i) {
    char16_t c = line[i];
    used += (c >= 0x1100 && !(c >= 0xD800 && c < 0xE000)) ? 2 : 1;
    if (used > room) break;
  }
  if (i > 0 && line[i - 1] >= 0xD800 && line[i - 1] < 0xDC00) --i;  // not half a pair
  return line.substr(0, i);
}

// One line on the terminal: the caption, then each open row's label, and
// the deepest row's count.  Redrawn at most ten times a second.
class ProgressLine final : public rt::ProgressView {
 public:
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::ProgressView>(this, iid); }
  void setCaption(const std::u16string& caption) override { caption_ = caption; }
  void setRowCount(int32_t count) override {
    if (count > static_cast<int32_t>(rows_.size())) rows_.resize(static_cast<size_t>(count));
  }
  void setRow(int32_t k, const std::u16string& label, int32_t value, int32_t maximum) override {
    if (k < 1 || k > static_cast<int32_t>(rows_.size())) return;
    rows_[static_cast<size_t>(k - 1)] = Row{label, value, maximum};
    draw(false);
  }
  void close() override {
    if (drawn_) std::fputs("\r\x1b[K", stderr);
    drawn_ = false;
  }

 private:
  struct Row {
    std::u16string label;
    int32_t value = 0;
    int32_t maximum = 0;
  };
  void draw(bool now) {
    auto t = std::chrono::steady_clock::now();
    if (!now && drawn_ && t - last_ < std::chrono::milliseconds(100)) return;
    last_ = t;
    std::u16string line = caption_;
    const Row* deepest = nullptr;
    for (const Row& r : rows_) {
      if (r.label.empty()) break;
      line += u" " + r.label;
      deepest = &r;
    }
    if (deepest)
      line += u"  " + rt::ascii(std::to_string(deepest->value) + "/" + std::to_string(deepest->maximum));
    std::fputs("\r\x1b[K", stderr);
    printErr(fitted(line));
    std::fflush(stderr);
    drawn_ = true;
  }

  std::u16string caption_;
  std::vector<Row> rows_;
  std::chrono::steady_clock::time_point last_;
  bool drawn_ = false;
};

class Silent final : public rt::ProgressView {
 public:
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::ProgressView>(this, iid); }
  void setCaption(const std::u16string&) override {}
  void setRowCount(int32_t) override {}
  void setRow(int32_t, const std::u16string&, int32_t, int32_t) override {}
  void close() override {}
};

// A line typed on the terminal with the echo off; nullopt at its end.
std::optional<std::u16string> readHidden() {
  termios saved{};
  bool tty = ::tcgetattr(STDIN_FILENO, &saved) == 0;
  if (tty) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string line;
  int c;
  while ((c = std::getchar()) != EOF && c != '\n') line += static_cast<char>(c);
  if (tty) {
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fputs("\n", stderr);
  }
  if (c == EOF && line.empty()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return rt::fromUtf8(line);
}

}  // namespace

int32_t ConsoleUiHost::messageBox(const std::u16string& prompt, int32_t style,
                                  const std::u16string& title) {
  printErr(title + u": " + prompt + u"\n");
  return rt::defaultAnswer(style);
}

rt::Ref<rt::ProgressView> ConsoleWorkHost::openProgress() {
  if (::isatty(STDERR_FILENO)) return rt::make<ProgressLine>();
  return rt::make<Silent>();
}

bool ConsoleWorkHost::askPassword(const std::u16string& caption, const std::u16string& prompt,
                                  const rt::PasswordCheck& accept) {
  if (passwordFile_) {
    std::optional<std::u16string> entry = firstLine(*passwordFile_);
    if (!entry) {
      printErr(u"wistel: cannot read the password file " + rt::fromUtf8(*passwordFile_) + u"\n");
      return false;
    }
    return accept(*entry);  // the same file would give the same answer again
  }
  // Only a person at a terminal can answer.
  if (!::isatty(STDIN_FILENO)) {
    printErr(u"wistel: the pack asks for a password; give --password-file\n");
    return false;
  }
  for (;;) {
    printErr(caption + u": " + prompt + u" ");
    std::fflush(stderr);
    std::optional<std::u16string> entry = readHidden();
    if (!entry) return false;  // end of input: the question is closed
    if (accept(*entry)) return true;
  }
}

std::optional<std::u16string> firstLine(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string line;
  std::getline(in, line);
  if (in.bad()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return rt::fromUtf8(line);
}

}  // namespace wistelcmd
