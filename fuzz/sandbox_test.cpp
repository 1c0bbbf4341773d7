// The confinement of the script targets, tried in a child process so that
// the test program itself stays free.
#include "sandbox.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "fileinput.h"

namespace {

namespace fs = std::filesystem;

// What a confined child could do: bit 0 write inside, bit 1 write outside,
// bit 2 start a program; 255 when it could not be confined.
int confinedChild(const std::string& inside, const std::string& outside) {
  pid_t pid = ::fork();
  if (pid == 0) {
    if (!fuzz::confineFileChanges({inside})) ::_exit(255);
    int done = 0;
    for (auto [file, bit] : {std::pair{inside + "/new", 1}, std::pair{outside + "/new", 2}}) {
      int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
      if (fd >= 0) done |= bit, ::close(fd);
    }
    if (std::system("exit 0") == 0) done |= 4;
    ::_exit(done);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Sandbox, ScriptsChangeFilesOnlyInsideAndStartNothing) {
  fs::path base = fs::path(fuzz::tempFolder()) / "sandbox";
  fs::path outside = fs::temp_directory_path() / ("zubfuzz-outside-" + std::to_string(::getpid()));
  fs::create_directories(base);
  fs::create_directories(outside);
  int done = confinedChild(base.string(), outside.string());
  fs::remove_all(outside);
  if (done == 255) GTEST_SKIP() << "no Landlock here: scripts are kept out by name";
  EXPECT_EQ(done, 1);
}

TEST(Sandbox, UnsafeNamesAreFoundHoweverWritten) {
  struct Case {
    std::u16string script;
    bool shell, files;
  };
  const Case cases[] = {
      {u"x = SHELL(\"ls\")", true, true},
      {u"x = \uFF33\uFF48\uFF45\uFF4C\uFF4C(1)", true, true},  // full-width, as names match
      {u"Kill \"a\"", false, true},
      {u"Set h = ScriptHost.sSpace", false, true},
      {u"OutLine Len(\"killjoy\")", false, true},  // a name inside a word: kept out too
      {u"OutLine 1 + 2", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fuzz::namesUnsafeFunction(std::u16string_view(c.script), false), c.shell);
    EXPECT_EQ(fuzz::namesUnsafeFunction(std::u16string_view(c.script), true), c.files);
  }
  EXPECT_TRUE(fuzz::namesUnsafeFunction(std::string_view("\x05\x00\x00\x00shell", 9), false));
}

}  // namespace
