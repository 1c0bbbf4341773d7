// Helpers for tests: the error number a call raises, late-bound calls with
// their arguments written inline, the lines of a text, work run on a stack
// of a given size or in a child process, and a temporary folder with its
// files' times.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "rt/activation.h"
#include "rt/dispatch.h"
#include "rt/error.h"
#include "rt/filetime.h"
#include "rt/stack.h"

namespace rt::testing {

// The number of the runtime error `f` raises (and its description), or 0.
inline int32_t errorOf(const std::function<void()>& f, std::u16string* description = nullptr) {
  try {
    f();
  } catch (const RuntimeError& e) {
    if (description) *description = e.description();
    return e.number();
  }
  return 0;
}

inline Variant call(Object* o, std::u16string_view name, int kinds, std::vector<Variant> args = {}) {
  return callByName(o, name, kinds, args);
}

// The lines of a text as the line readers split them, found one character at
// a time: CR LF, a lone CR and a lone LF each end a line, and a line end at the
// very end starts no further line.
template <class C>
std::vector<std::basic_string<C>> linesOf(std::basic_string_view<C> text) {
  std::vector<std::basic_string<C>> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != C('\r') && text[end] != C('\n')) ++end;
    lines.emplace_back(text.substr(start, end - start));
    if (end + 1 < text.size() && text[end] == C('\r') && text[end + 1] == C('\n')) ++end;
    start = end + 1;
  }
  return lines;
}

// Runs `work` on a new thread with a stack of `bytes`, as a program that
// gives its threads small stacks would; false when no such thread could be
// made.
inline bool onStackOf(size_t bytes, std::function<void()> work) { return stack::runOnNewStack(bytes, work); }

// Runs `body` in a child process (where a test may take on another user,
// limits or signals without touching its own process); the child's status
// as a shell sees it: the exit code `body` gives, 128 plus the signal that
// ended it, or -1 when no child could be made.  Nothing leaves the child but
// its status: an exception ends it with 125, before any clean-up of the
// test's own could remove the parent's files.
inline int inChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    int code = 125;
    try {
      code = body();
    } catch (...) {
    }
    ::_exit(code);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A fresh folder for one test (its name starts with `prefix`), removed with
// everything in it at the end.
class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "zub-test") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The name of `rel` inside.
  std::string at(const std::string& rel) const { return (path_ / rel).string(); }
  // Writes `bytes` to `rel` inside and returns its name.
  std::string write(const std::string& rel, std::string_view bytes) const {
    std::string name = at(rel);
    std::ofstream(name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return name;
  }
  std::string read(const std::string& rel) const {
    std::ifstream in(at(rel), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool exists(const std::string& rel) const { return std::filesystem::exists(path_ / rel); }

  // The status of `rel` inside (zeros when it is not there).
  struct stat status(const std::string& rel) const {
    struct stat st {};
    ::stat(at(rel).c_str(), &st);
    return st;
  }
  // When `rel` last changed (rt::fs::changeTime), moved by `by`.
  struct timespec changed(const std::string& rel, std::chrono::nanoseconds by = {}) const {
    const struct timespec t = rt::fs::changeTime(status(rel));
    const int64_t ns = t.tv_sec * int64_t{1'000'000'000} + t.tv_nsec + by.count();
    return {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
  }
  // Sets the modification and access times of `rel`; false when that fails.
  bool stamp(const std::string& rel, const struct timespec& t) const {
    const struct timespec times[2] = {t, t};
    return ::utimensat(AT_FDCWD, at(rel).c_str(), times, 0) == 0;
  }

 private:
  std::filesystem::path path_;
};

// Objects whose lives are counted, made by scripts as CreateObject("Test.Token")
// while one of these lives: a token put in a ring shows whether the ring went.
class Tokens {
 public:
  Tokens() {
    registerLocalClass(u"Test.Token", classIdOf("Test.Token"), [] { return make<Token>(); });
  }
  ~Tokens() { unregisterLocalClass(u"Test.Token"); }
  Tokens(const Tokens&) = delete;
  Tokens& operator=(const Tokens&) = delete;

  static int live() { return Token::live; }

 private:
  class Token final : public Automation<Token> {
   public:
    static const MemberTable<Token>& members() {
      static const MemberTable<Token> table{u"Token"};
      return table;
    }
    static inline int live = 0;
    Token() { ++live; }
    ~Token() override { --live; }
  };
};

}  // namespace rt::testing
