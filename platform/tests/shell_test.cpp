// Command lines split without a shell, and programs started as a child or
// detached.
#include "rt/shell.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "rt/testing.h"
#include "rt/text.h"

namespace {

using rt::testing::errorOf;

TEST(Shell, CommandLines) {
  using Args = std::vector<std::string>;
  struct Split {
    const char16_t* line;
    Args args;
  } cases[] = {
      {u"prog", {"prog"}},
      {u"  prog  a\tb  ", {"prog", "a", "b"}},
      {u"\"/opt/my app/run\" \"two words\" x", {"/opt/my app/run", "two words", "x"}},
      {u"prog \"\" end", {"prog", "", "end"}},
      {u"prog a\"b c\"d", {"prog", "ab cd"}},
      {u"prog \"open to the end", {"prog", "open to the end"}},
      {u"C:\\bin\\tool.exe a\\b", {"C:/bin/tool.exe", "a\\b"}},
      {u"prog 中文", {"prog", "中文"}},
      {u"sort | uniq > out", {"sort", "|", "uniq", ">", "out"}},  // no shell features
      {u"", {}},
      {u" \t ", {}},
  };
  for (const Split& c : cases) EXPECT_EQ(rt::splitCommandLine(c.line), c.args) << rt::toUtf8(c.line);
  EXPECT_EQ(errorOf([] { rt::splitCommandLine(std::u16string(u"a\0b", 3)); }), 5);
}

// A child is ours to reap, with its exit status; its input is /dev/null,
// and it leads a process group of its own (the exit status 3 says so).
TEST(Shell, ChildIsReapedByTheCaller) {
  pid_t pid = rt::startChild({"sh", "-c", "read x; kill -s 0 -- -$$ 2>/dev/null && exit 3"});
  ASSERT_GT(pid, 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
}

// The runtime ignores SIGXFSZ, so that a file reaching the size limit fails
// its write instead of ending the process; a program it starts has the
// default back, as a shell would start it.
TEST(Shell, AFileSizeSignalEndsOnlyTheProgramsStarted) {
  struct sigaction here {};
  ASSERT_EQ(::sigaction(SIGXFSZ, nullptr, &here), 0);
  EXPECT_EQ(here.sa_handler, SIG_IGN);
  pid_t pid = rt::startChild({"sh", "-c", "ulimit -c 0; kill -XFSZ $$; exit 0"});
  ASSERT_GT(pid, 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
}

TEST(Shell, DetachedLeavesNoChild) {
  int32_t pid = rt::startDetached({"true"});
  ASSERT_GT(pid, 0);
  EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST(Shell, FailuresToStart) {
  EXPECT_EQ(errorOf([] { rt::startChild({"zub-no-such-program-on-path"}); }), 53);
  EXPECT_EQ(errorOf([] { rt::startChild({"/no/such/program"}); }), 53);
  static std::string plain = "/tmp/zub-shell-plain-" + std::to_string(getpid());
  FILE* f = fopen(plain.c_str(), "w");
  ASSERT_TRUE(f);
  fclose(f);
  EXPECT_EQ(errorOf([] { rt::startChild({plain}); }), 70);
  unlink(plain.c_str());
  EXPECT_EQ(errorOf([] { rt::startChild({}); }), 5);
  EXPECT_EQ(errorOf([] { rt::startDetached({""}); }), 5);
  EXPECT_EQ(errorOf([] { rt::startProgram(u"  "); }), 5);
}

}  // namespace
