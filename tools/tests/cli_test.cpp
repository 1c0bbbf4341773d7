// zubrun as a user meets it on the command line: options, line ends on
// standard output, scripts from a pipe or run as programs, files it cannot
// read, code pages, the compiled form, and keys read from a terminal.
#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "child.h"
#include "rt/testing.h"

namespace {

namespace fs = std::filesystem;
using clitest::Result;
using clitest::slurp;

// A folder of its own for each test, removed at the end.
class Cli : public ::testing::Test {
 protected:
  fs::path file(const std::string& name, const std::string& bytes) {
    clitest::write(dir_ / name, bytes);
    return dir_ / name;
  }

  // Runs `argv` in the test's folder; a run that does not end in time fails.
  Result run(std::vector<std::string> argv, const std::string& input = "",
             std::vector<std::string> env = {}, int stdinFd = -1) {
    clitest::ChildRun r;
    r.argv = std::move(argv);
    r.folder = dir_;
    r.input = input;
    r.stdinFd = stdinFd;
    r.env = std::move(env);
    r.onWait = onWait_;
    Result result = clitest::run(r);
    EXPECT_FALSE(result.timedOut) << "zubrun did not end in time";
    return result;
  }

  Result zubrun(std::vector<std::string> args, const std::string& input = "",
                std::vector<std::string> env = {}) {
    args.insert(args.begin(), ZUBRUN);
    return run(std::move(args), input, std::move(env));
  }

  rt::testing::TempDir temp_{"zubrun-cli"};
  const fs::path dir_ = temp_.path();
  // Asked while the child runs (the terminal test answers its reads).
  std::function<void(pid_t, const std::string& out)> onWait_;
};

TEST_F(Cli, LineEndsOnStandardOutput) {
  file("ends.zub", "Print \"a\" & Chr(13) & Chr(10)\r\nOutLine \"b\"\r\nPrint \"x\" & Chr(13) & \"y\"\r\n"
                   "Print \"c\" & Chr(13)\r\nPrint Chr(10) & \"d\" & Chr(13)\r\n");
  Result r = zubrun({"ends.zub"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "a\nb\nx\ryc\nd\r");  // a CR LF split over two writes too
  r = zubrun({"--crlf", "ends.zub"});
  EXPECT_EQ(r.out, "a\r\nb\r\nx\ryc\r\nd\r");
}

TEST_F(Cli, HelpVersionAndBadCommands) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* out;  // the start of standard output
    const char* err;  // the start of standard error
  } cases[] = {
      {{"--help"}, 0, "usage: zubrun", ""},
      {{"-h"}, 0, "usage: zubrun", ""},
      {{"--version"}, 0, "zubrun " ZUB_VERSION "\n", ""},
      {{}, 2, "", "zubrun: one script file expected\nusage:"},
      {{"--bogus", "x.zub"}, 2, "", "zubrun: unknown option --bogus\n"},
      {{"a.zub", "b.zub"}, 2, "", "zubrun: one script file expected\n"},
      {{"--edition", "3", "a.zub"}, 2, "", "zubrun: unknown edition 3\n"},
      {{"--compile", "a.zub"}, 2, "", "zubrun: --compile needs -o OUT\n"},
      {{"-o", "x", "a.zub"}, 2, "", "zubrun: -o goes with --compile\n"},
      {{"nosuch.zub"}, 2, "", "zubrun: cannot read nosuch.zub: No such file or directory\n"},
      {{"."}, 2, "", "zubrun: cannot read .: Is a directory\n"},
      {{"--commands", "a.zub"}, 2, "", "zubrun: --commands goes with --app\n"},
      {{"--answer", "x=1", "a.zub"}, 2, "", "zubrun: --answer goes with --app\n"},
      {{"--app", "--answer", "x", "a.zub"}, 2, "", "zubrun: --answer needs NAME=TEXT, not x\n"},
      {{"--app", "--answer", "=x", "a.zub"}, 2, "", "zubrun: --answer needs NAME=TEXT, not =x\n"},
      {{"--app", "--answer"}, 2, "", "zubrun: --answer needs NAME=TEXT\n"},
      {{"--app", "--answer", "Output=x", "a.zub"}, 2, "", "zubrun: --answer cannot answer Output: "},
      {{"--app", "--answer", "inputline=x", "a.zub"}, 2, "", "zubrun: --answer cannot answer inputline: "},
      {{"--app", "--answer", "INPUTCHAR=65", "a.zub"}, 2, "", "zubrun: --answer cannot answer INPUTCHAR: "},
      {{"--app", "--compile", "a.zub", "-o", "b"}, 2, "", "zubrun: --app does not go with --compile\n"},
      {{"--app", "--edition", "1", "--go-on", "a.zub"}, 2, "", "zubrun: --app does not go with --go-on\n"},
      {{"--app", "nosuch.zub"}, 1, "", "Number: -1 (&HFFFFFFFF)\nSource: Yarrick.Application.ExecFile\n"},
  };
  for (const Case& c : cases) {
    Result r = zubrun(c.args);
    std::string what = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(r.status, c.status) << what;
    EXPECT_EQ(r.out.substr(0, std::string(c.out).size()), c.out) << what;
    EXPECT_EQ(r.err.substr(0, std::string(c.err).size()), c.err) << what;
  }
}

TEST_F(Cli, ScriptFromAPipeAndAsAProgram) {
  Result r = zubrun({"-"}, "OutLine 6 * 7\nx = 1 / 0\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "42\n");
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "<stdin>:2: 除数为零 (11)");

  fs::path s = file("s.zub", "#!/usr/bin/env zubrun\nOutLine \"run as \" & \"a program\"\ny = 2 / 0\n");
  fs::permissions(s, fs::perms::owner_all);
  const std::string path = fs::path(ZUBRUN).parent_path().string() + ":" + std::getenv("PATH");
  r = run({"./s.zub"}, "", {"PATH=" + path});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out, "run as a program\n");
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "./s.zub:3: 除数为零 (11)");  // lines keep their numbers
}

// Only "-" is standard input: a file named as standard input is shown is a
// file like any other, given on the command line or included.
TEST_F(Cli, AFileNamedLikeStandardInputIsAFile) {
  file("<stdin>", "OutLine \"file\"\n");
  file("main.zub", "#include \"<stdin>\"\n");
  for (const char* given : {"<stdin>", "main.zub"}) {
    Result r = zubrun({given}, "OutLine \"input\"\n");
    EXPECT_EQ(r.status, 0) << given << r.err;
    EXPECT_EQ(r.out, "file\n") << given;
  }
}

TEST_F(Cli, CodePages) {
  file("gbk.zub", "OutLine \"ok\"\nOutLine \"\xd6\xd0\xce\xc4\"\n");
  Result r = zubrun({"gbk.zub"}, "", {"ZUB_CODEPAGE=bogus"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "zubrun: unknown code page in ZUB_CODEPAGE: bogus (UTF-8 or CP936)\n");
  EXPECT_EQ(r.out, "");
  // A GBK file read as UTF-8 runs, with a warning naming its first bad line.
  r = zubrun({"gbk.zub"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err.substr(0, r.err.find(';')),
            "zubrun: warning: gbk.zub:2: not valid in the code page UTF-8");
  EXPECT_EQ(r.out.substr(0, 3), "ok\n");
  r = zubrun({"gbk.zub"}, "", {"ZUB_CODEPAGE=CP936"});
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "ok\n中文\n");
  file("cr.zub", "OutLine 1\rOutLine \"\xff\"\r");  // lines ended by CR alone
  r = zubrun({"cr.zub"});
  EXPECT_EQ(r.err.substr(0, r.err.find(';')),
            "zubrun: warning: cr.zub:2: not valid in the code page UTF-8");
}

TEST_F(Cli, CompiledFormRunsAsTheSource) {
  file("c.zub",
       "' a comment\nFunction Twice(n)\n  Twice = n * 2\nEnd Function\nOutLine Twice(21)\n"
       "OutLine \"中\"\nz = Twice(1) / 0\n");
  Result source = zubrun({"c.zub"});
  Result made = zubrun({"--compile", "c.zub", "-o", "c.bin"});
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.out + made.err, "");
  Result compiled = zubrun({"c.bin"});
  EXPECT_EQ(compiled.status, 1);
  EXPECT_EQ(compiled.out, source.out);
  EXPECT_EQ(source.out, "42\n中\n");
  EXPECT_EQ(compiled.err.substr(0, compiled.err.find('\n')), "c.bin:7: 除数为零 (11)");
  EXPECT_EQ(source.err.substr(source.err.find('\n')), compiled.err.substr(compiled.err.find('\n')));

  // A script that does not compile writes nothing; its error is reported.
  file("bad.zub", "x = 1\ns = \"open\n");
  Result bad = zubrun({"--compile", "bad.zub", "-o", "bad.bin"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err.substr(0, bad.err.find(' ')), "bad.zub:2:");
  EXPECT_FALSE(fs::exists(dir_ / "bad.bin"));
  Result nowhere = zubrun({"--compile", "c.zub", "-o", "no/such/dir/c.bin"});
  EXPECT_EQ(nowhere.status, 2);
  EXPECT_EQ(nowhere.err.substr(0, 36), "zubrun: cannot write no/such/dir/c.b");
}

// In zubrun and zubpage alike, "-o -" is standard output (the compiled
// form too, added to what it holds) and "--" ends the options.
TEST_F(Cli, StandardOutputAndTheEndOfOptions) {
  file("-x.zub", "OutLine 6 * 7\n");
  file("-x.page", "<!!= 6 * 7 !!>\n");
  Result r = zubrun({"--", "-x.zub"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "42\n");
  r = zubrun({"--", "-x.zub", "--crlf"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "zubrun: one script file expected");
  ASSERT_EQ(zubrun({"--compile", "-o", "x.bin", "--", "-x.zub"}).status, 0);
  r = zubrun({"--compile", "-o", "-", "--", "-x.zub"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, slurp(dir_ / "x.bin"));
  r = run({ZUBPAGE, "-o", "-", "--", "-x.page"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "42\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "-"));
}

// GetChar on a terminal takes a key as soon as it is typed, and the
// terminal is left as it was, also when the run is interrupted.
TEST_F(Cli, GetCharOnATerminal) {
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string slaveName = ptsname(master);
  int slave = open(slaveName.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(slave, 0);
  file("keys.zub", "OutLine \"ready\"\nc = GetChar\nOutLine c\nd = GetChar\nOutLine d\n");
  // Each key goes to the terminal once the script has asked for the last.
  std::vector<std::string> keys = {"A", "B"};
  size_t sent = 0;
  onWait_ = [&](pid_t, const std::string& seen) {
    const size_t lines = static_cast<size_t>(std::count(seen.begin(), seen.end(), '\n'));
    if (sent < keys.size() && lines == sent + 1) {
      ASSERT_EQ(::write(master, keys[sent].data(), 1), 1);  // no Enter
      ++sent;
    }
  };
  Result r = run({ZUBRUN, "keys.zub"}, "", {}, slave);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "ready\n65\n66\n");
  termios t{};
  ASSERT_EQ(tcgetattr(slave, &t), 0);
  EXPECT_TRUE(t.c_lflag & ICANON);
  EXPECT_TRUE(t.c_lflag & ECHO);

  // Interrupted while it waits for a key.
  file("wait.zub", "OutLine \"waiting\"\nc = GetChar\n");
  onWait_ = [&](pid_t pid, const std::string& out) {
    if (out == "waiting\n") {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      kill(pid, SIGTERM);
    }
  };
  r = run({ZUBRUN, "wait.zub"}, "", {}, slave);
  EXPECT_EQ(r.status, 128 + SIGTERM);
  ASSERT_EQ(tcgetattr(slave, &t), 0);
  EXPECT_TRUE(t.c_lflag & ICANON);
  EXPECT_TRUE(t.c_lflag & ECHO);
  close(slave);
  close(master);
}

}  // namespace

// The first edition runs each line as it is read: what the examples write
// is the same on both editions.
TEST_F(Cli, ExamplesOnTheFirstEdition) {
  for (const char* name : {"hello.zub", "arithmetic.zub", "greeting.zub", "macros.zub"}) {
    const std::string script = std::string(ZUB_EXAMPLES) + "/" + name;
    Result second = zubrun({script}, "Ada\ny\n");
    Result first = zubrun({"--edition", "1", script}, "Ada\ny\n");
    EXPECT_EQ(first.status, 0) << name << first.err;
    EXPECT_EQ(first.out, second.out) << name;
    EXPECT_NE(first.out, "") << name;
  }
}

// A failing line ends a first-edition run; with --go-on each is reported
// and the run goes on, as the first edition's application interface does.
TEST_F(Cli, GoingOnAfterFailingLines) {
  struct Case {
    const char* source;
    const char* out;
    const char* place;  // the start of the only report
  } cases[] = {
      // A block whose opening line fails is passed over to its closing line.
      {"If Nothing.x Then\nOutLine \"in\"\nElse\nOutLine \"else\"\nEnd If\nOutLine \"after\"\n",
       "after\n", "s.zub:1: "},
      // A block is over once its closing line has been handled.
      {"For i = 1 To 2\nx = 1/0\nNext\nOutLine \"after\"\n", "after\n", "s.zub:3: 除数为零 (11)"},
      // A refused header is reported, its body never runs.
      {"Sub Main\nOutLine \"body\"\nEnd Sub\nOutLine \"after\"\n", "after\n", "s.zub:1: "},
      // What is left open at the end is reported at its opening line.
      {"OutLine \"after\"\nIf 1 Then\nOutLine 1\n", "after\n", "s.zub:2: "},
  };
  for (const Case& c : cases) {
    file("s.zub", c.source);
    Result r = zubrun({"--edition", "1", "--go-on", "s.zub"});
    EXPECT_EQ(r.status, 1) << c.source;
    EXPECT_EQ(r.out, c.out) << c.source;
    EXPECT_EQ(r.err.substr(0, std::string(c.place).size()), c.place) << c.source;
    EXPECT_EQ(r.err.find("Number:", r.err.find("Number:") + 1), std::string::npos) << r.err;
  }
  // Without it the first failing line ends the run.
  file("s.zub", "OutLine 1\nx = 1/0\nOutLine 2\ny = 1/0\n");
  Result r = zubrun({"--edition", "1", "s.zub"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "1\n");
  r = zubrun({"--edition", "1", "--go-on", "s.zub"});
  EXPECT_EQ(r.out, "1\n2\n");
  EXPECT_NE(r.err.find("s.zub:4: "), std::string::npos) << r.err;
  EXPECT_EQ(zubrun({"--go-on", "s.zub"}).status, 2);  // edition 2 stops at a failure
}

// An included file's lines run on the same host, numbered in their own
// file; a compiled file runs record by record; a byte order mark is read.
TEST_F(Cli, FirstEditionFiles) {
  file("lib.zub", "Function Twice(n)\n  Twice = n * 2\nEnd Function\nOutLine \"lib\"\n");
  file("main.zub", "OutLine 1\n#include \"lib.zub\"\nOutLine Twice(21)\nx = 1 / 0\n");
  Result r = zubrun({"--edition", "1", "main.zub"});
  EXPECT_EQ(r.out, "1\nlib\n42\n");
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "main.zub:4: 除数为零 (11)");
  file("bad.zub", "OutLine \"in bad\"\ny = (\n");
  file("inc.zub", "#include bad.zub\nOutLine \"never\"\n");
  r = zubrun({"--edition", "1", "inc.zub"});
  EXPECT_EQ(r.out, "in bad\n");
  EXPECT_EQ(r.err.substr(0, r.err.find(' ')), "bad.zub:2:");

  ASSERT_EQ(zubrun({"--compile", "main.zub", "-o", "main.bin"}).status, 0);
  r = zubrun({"--edition", "1", "main.bin"});
  EXPECT_EQ(r.out, "1\nlib\n42\n");
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "main.bin:4: 除数为零 (11)");

  file("bom.zub", std::string("\xFF\xFE", 2) + std::string("O\0u\0t\0L\0i\0n\0e\0 \0" "7\0", 18));
  r = zubrun({"--edition", "1", "bom.zub"});
  EXPECT_EQ(r.out, "7\n") << r.err;
}
