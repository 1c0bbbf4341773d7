// The files a run reads and writes, at their edges: names holding a zero
// character, links where the system writes a file it names itself, links to
// devices and pipes, an output that is the script itself, names as long as
// the file system takes (and a cache name longer), and a file-size limit.
// Each run is zubrun itself, as a user starts it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "child.h"
#include "process.h"
#include "rt/error.h"
#include "rt/testing.h"
#include "rt/text.h"

namespace {

namespace fs = std::filesystem;
using rt::testing::TempDir;

// The object-stream file header, and a file that is one.
const std::string kBinaryStream = std::string("\x88\x66\x66\x88\x0C\0\0\0", 8) + "ObjectStream" +
                                  std::string("\x01\0\0\0", 4);

clitest::Result zubrun(const TempDir& dir, std::vector<std::string> args) {
  args.insert(args.begin(), ZUBRUN);
  clitest::Result result = clitest::runIn(dir.path(), std::move(args));
  EXPECT_FALSE(result.timedOut);
  return result;
}

// The names in a folder, the runner's own dot files left out.
std::set<std::string> listing(const TempDir& dir) {
  std::set<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(dir.path())) {
    std::string name = e.path().filename().string();
    if (name != ".stdin" && name != ".stdout" && name != ".stderr") names.insert(name);
  }
  return names;
}

std::string text(int32_t number) { return rt::toUtf8(rt::errorText(number)); }

std::string lines(std::initializer_list<std::string> ls) {
  std::string s;
  for (const std::string& l : ls) s += l + "\r\n";
  return s;
}

// Every function that takes a file name refuses one with a zero character
// in it, which would cut the name short at "cut" and reach that file.
TEST(Files, NamesWithAZeroCharacterAreRefused) {
  const std::string nul = "n = \"cut\" & Chr(0) & \".safe\"";
  const std::string bad = text(rt::err::BadFileName);
  struct Case {
    const char* what;
    std::string script;
    std::string out;
    int status;
  } cases[] = {
      {"BinFileStream written", lines({nul, "Set s = CreateObject(\"Nubrel.BinFileStream\")",
                                       "OutLine s.OpenStream(n, 0) & \" \" & s.ErrInfo"}),
       "False " + bad + "\n", 0},
      {"BinFileStream read", lines({nul, "Set s = CreateObject(\"Nubrel.BinFileStream\")",
                                    "OutLine s.OpenStream(n, 1) & \" \" & s.ErrInfo"}),
       "False " + bad + "\n", 0},
      {"FileStream written", lines({nul, "Set s = CreateObject(\"Nubrel.FileStream\")",
                                    "OutLine s.OpenStream(n, 0) & \" \" & s.ErrInfo"}),
       "False " + bad + "\n", 0},
      {"FileStream read", lines({nul, "Set s = CreateObject(\"Nubrel.FileStream\")",
                                 "OutLine s.OpenStream(n, 1) & \" \" & s.ErrInfo"}),
       "False " + bad + "\n", 0},
      {"TextFile", lines({nul, "Set f = CreateObject(\"Jespin.TextFile\")",
                          "OutLine f.OpenWrit(n) & \" \" & f.OpenAppend(n) & \" \" & f.OpenRead(n)"}),
       "False False False\n", 0},
      {"UnicodeFile", lines({nul, "Set f = CreateObject(\"Jespin.UnicodeFile\")",
                             "OutLine f.OpenRead(n)"}),
       "False\n", 0},
      {"UDLFile", lines({nul, "Set f = CreateObject(\"Jespin.UDLFile\")",
                         "OutLine \"[\" & f.GetConnString(n) & \"] \" & f.ErrString"}),
       "[] " + bad + "\n", 0},
      {"ProFile named whole", lines({nul, "Set p = CreateObject(\"Jespin.ProFile\")",
                                     "OutLine p.Init(CurDir() & \"/\" & n)"}),
       "False\n", 0},
      {"ProFile named in its folder", lines({nul, "Set p = CreateObject(\"Jespin.ProFile\")",
                                             "OutLine p.Init(CurDir(), n)",
                                             "p.SetValue \"s\", \"k\", \"v\"",
                                             "OutLine p.Error.Number"}),
       "False\n52\n", 0},
      {"FileCopy", lines({nul, "OutLine FileCopy(\"cut\", n)"}), "", 1},
      {"Dir with wildcards", lines({nul, "OutLine Dir(n & \"*\")"}), "", 1},
      {"Kill with wildcards", lines({nul, "Kill n & \"*\""}), "", 1},
      {"Application, second edition", lines({nul, "Set a = CreateObject(\"Trevane.Application\")",
                                             "a.ExecFile n", "OutLine a.Error.Number"}),
       "52\n", 0},
      {"Application, first edition", lines({nul, "Set a = CreateObject(\"Yarrick.Application\")",
                                            "a.ExecFile n", "OutLine a.Error.Number"}),
       "52\n", 0},
  };
  for (const char* edition : {"2", "1"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + ", edition " + edition);
      TempDir dir("zubrun-files");
      dir.write("cut", kBinaryStream);
      dir.write("s.zub", c.script);
      clitest::Result r = zubrun(dir, {"--edition", edition, "s.zub"});
      EXPECT_EQ(r.status, c.status) << r.err;
      EXPECT_EQ(r.out, c.out) << r.err;
      if (c.status == 1) {
        EXPECT_NE(r.err.find("(52)"), std::string::npos) << r.err;
      }
      EXPECT_EQ(dir.read("cut"), kBinaryStream);
      EXPECT_EQ(listing(dir), (std::set<std::string>{"cut", "s.zub"}));
    }
  }
}

// A compile cache and a compiled output replace a link at their name; the
// file the link leads to stays as it was.
TEST(Files, LinksWhereTheSystemWritesAreReplaced) {
  const std::string source = "OutLine 6 * 7\r\n";
  struct Case {
    const char* what;
    const char* link;  // the name the system writes
    const char* leadsTo;
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {"a compile cache", "s.zub.bin", "victim", {"--app", "s.zub"}, "42\n"},
      {"a cache whose link leads nowhere", "s.zub.bin", "gone", {"--app", "s.zub"}, "42\n"},
      {"a compiled output", "out.bin", "victim", {"--compile", "s.zub", "-o", "out.bin"}, ""},
      {"a compiled output whose link leads nowhere", "out.bin", "gone",
       {"--compile", "s.zub", "-o", "out.bin"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir("zubrun-files");
    dir.write("s.zub", source);
    dir.write("victim", "the file the link leads to");
    // Older than the script, as a file put there before it would be.
    fs::last_write_time(dir.path() / "victim", fs::last_write_time(dir.path() / "s.zub") - std::chrono::hours(1));
    fs::create_symlink(c.leadsTo, dir.path() / c.link);
    clitest::Result r = zubrun(dir, c.args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(dir.read("victim"), "the file the link leads to");
    EXPECT_FALSE(dir.exists("gone"));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.path() / c.link)));
    EXPECT_EQ(dir.read(c.link).substr(0, kBinaryStream.size()), kBinaryStream);
    EXPECT_EQ(listing(dir), (std::set<std::string>{"s.zub", "victim", c.link}));
  }
}

// A link to a device or a pipe stays a link: a compiled output and a stream
// a script opens are written through it (a pipe nobody reads fails at
// once), a cache the system names itself is refused there, a copy too.
TEST(Files, LinksToADeviceOrAPipeAreKept) {
  const std::string cannotMake = "不能建立脚本文件[";
  struct Case {
    const char* what;
    const char* leadsTo;
    std::vector<std::string> args;
    int status;
    std::string out, err;  // err: a part of standard error
  } cases[] = {
      {"a compiled output, to a device", "/dev/null", {"--compile", "s.zub", "-o", "L"}, 0, "", ""},
      {"a compiled output, to a pipe", "fifo", {"--compile", "s.zub", "-o", "L"}, 2, "",
       "zubrun: cannot write L: "},
      {"a compile cache", "/dev/null", {"--app", "s.zub"}, 1, "", cannotMake},
      {"a copy", "fifo", {"c.zub"}, 1, "", "(75)"},
      {"a stream", "/dev/null", {"w.zub"}, 0, "TrueTrue\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir("zubrun-files");
    dir.write("s.zub", "OutLine 1\r\n");
    dir.write("c.zub", "OutLine FileCopy(\"s.zub\", \"L\")\r\n");
    dir.write("w.zub", lines({"Set s = CreateObject(\"Nubrel.BinFileStream\")",
                              "OutLine s.OpenStream(\"L\", 0) & s.CloseStream()"}));
    ASSERT_EQ(::mkfifo(dir.at("fifo").c_str(), 0600), 0);
    const std::string link = c.args[0] == "--app" ? "s.zub.bin" : "L";
    fs::create_symlink(c.leadsTo, dir.path() / link);
    clitest::Result r = zubrun(dir, c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    EXPECT_EQ(fs::read_symlink(dir.path() / link), c.leadsTo);
    EXPECT_EQ(listing(dir), (std::set<std::string>{"s.zub", "c.zub", "w.zub", "fifo", link}));
  }
}

// An output named /dev/stdout is written through the shell's own descriptor:
// what the shell wrote before it and writes after it stay around it, in the
// one file behind them all.
TEST(Files, StandardOutputNamedAsAFileIsWrittenThrough) {
  const struct {
    const char* what;
    std::string command;  // writing to OUT
  } cases[] = {
      {"a page", std::string("'") + ZUBPAGE + "' -o OUT p.page"},
      {"a compiled script", std::string("'") + ZUBRUN + "' --compile s.zub -o OUT"},
      {"a pack", std::string("'") + WISTEL + "' pack T OUT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir("zubrun-files");
    dir.write("p.page", "page text\n");
    dir.write("s.zub", "OutLine 1\r\n");
    fs::create_directory(dir.path() / "T");
    dir.write("T/f", "packed");
    auto command = [&c](const std::string& out) {
      std::string s = c.command;
      return s.replace(s.find("OUT"), 3, out);
    };
    clitest::Result r = clitest::runIn(
        dir.path(), {"sh", "-c", command("expected") + " && (echo BEFORE; " + command("/dev/stdout") + "; echo AFTER)"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string expected = dir.read("expected");
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(r.out.size(), expected.size() + 13) << r.out;
    EXPECT_EQ(r.out.substr(0, 7), "BEFORE\n");
    EXPECT_EQ(r.out.substr(r.out.size() - 6), "AFTER\n");
    // A pack holds the time it was made.
    if (c.what != std::string("a pack")) {
      EXPECT_EQ(r.out.substr(7, expected.size()), expected);
    } else {
      EXPECT_EQ(r.out.substr(7, kBinaryStream.size()), kBinaryStream);
    }
  }
}

// Compiling a script into itself is refused, however the output names it.
TEST(Files, ACompiledOutputThatIsTheScriptIsRefused) {
  const std::string source = "OutLine 1\r\n";
  struct Case {
    const char* what;
    const char* out;
    bool fromStandardInput;
  } cases[] = {
      {"the same name", "src.zub", false},
      {"another path to it", "./src.zub", false},
      {"a hard link to it", "hard.zub", false},
      {"a symbolic link to it", "soft.zub", false},
      {"the script read from standard input", "src.zub", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir("zubrun-files");
    dir.write("src.zub", source);
    fs::create_hard_link(dir.path() / "src.zub", dir.path() / "hard.zub");
    fs::create_symlink("src.zub", dir.path() / "soft.zub");
    clitest::ChildRun run;
    run.argv = {ZUBRUN, "--compile", c.fromStandardInput ? "-" : "src.zub", "-o", c.out};
    run.folder = dir.path();
    if (c.fromStandardInput) run.stdinFd = ::open(dir.at("src.zub").c_str(), O_RDONLY | O_CLOEXEC);
    clitest::Result r = clitest::run(run);
    if (run.stdinFd >= 0) ::close(run.stdinFd);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(r.err, std::string("zubrun: cannot write ") + c.out + ": it is the script being compiled\n");
    EXPECT_EQ(dir.read("src.zub"), source);
    EXPECT_TRUE(fs::is_symlink(dir.path() / "soft.zub"));
    EXPECT_EQ(listing(dir), (std::set<std::string>{"src.zub", "hard.zub", "soft.zub"}));
  }
}

// Every name the file system takes can be written: the temporary name a
// file is first written under does not grow with it.
TEST(Files, NamesAsLongAsTheFileSystemTakesCanBeWritten) {
  const std::string n255(255, 'b'), script251 = std::string(247, 'c') + ".zub";
  struct Case {
    const char* what;
    std::vector<std::string> args;
    std::string script;
    std::string out;
    std::string made;  // the file the run writes
  } cases[] = {
      {"FileCopy", {"s.zub"}, lines({"OutLine FileCopy(\"s.zub\", \"" + n255 + "\")"}), "True\n", n255},
      {"ProFile", {"s.zub"},
       lines({"Set p = CreateObject(\"Jespin.ProFile\")", "OutLine p.Init(CurDir(), \"" + n255 + "\")",
              "p.SetValue \"s\", \"k\", \"v\"", "OutLine p.Error.Number & p.GetValue(\"s\", \"k\")"}),
       "True\n0v\n", n255},
      {"BinFileStream", {"s.zub"},
       lines({"Set s = CreateObject(\"Nubrel.BinFileStream\")",
              "OutLine s.OpenStream(\"" + n255 + "\", 0) & s.CloseStream()"}),
       "TrueTrue\n", n255},
      {"a compiled output", {"--compile", "s.zub", "-o", n255}, lines({"OutLine 1"}), "", n255},
      {"a compile cache", {"--app", script251}, lines({"OutLine 1"}), "1\n", script251 + ".bin"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir("zubrun-files");
    dir.write(c.args.back() == script251 ? script251 : "s.zub", c.script);
    clitest::Result r = zubrun(dir, c.args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out) << r.err;
    EXPECT_TRUE(dir.exists(c.made));
    EXPECT_EQ(listing(dir).size(), 2u);
  }
}

// A script whose name is as long as the file system takes has a cache name
// it does not: the cache cannot be made, as in a folder that cannot be
// written, and nothing is left of it.
TEST(Files, ACacheWhoseNameIsTooLongCannotBeMade) {
  for (size_t length : {252, 253, 255}) {
    SCOPED_TRACE(length);
    TempDir dir("zubrun-files");
    const std::string script = std::string(length - 4, 'c') + ".zub";
    dir.write(script, "OutLine 1\r\n");
    clitest::Result r = zubrun(dir, {"--app", script});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Number: -1 (&HFFFFFFFF)\nSource: Yarrick.Application.CompFile\n"
                     "Description: 不能建立脚本文件[" + script + "]的预编译文件。\n");
    EXPECT_EQ(listing(dir), (std::set<std::string>{script}));
  }
}

// Under a file-size limit a write that reaches it fails like one on a full
// disk (61; a profile records any write it cannot make as 75): the run ends
// with its report, and nothing of the new file stays behind but for a text
// file, which is written in place.
TEST(Files, AFileSizeLimitIsAFullDisk) {
  const std::string big(100000, 'x');
  struct Case {
    const char* what;
    std::string script;  // run in the folder of "big.txt"
    int status;
    std::string out;
    std::set<std::string> left = {"big.txt"};
  } cases[] = {
      {"FileCopy", lines({"ChDir \"@\"", "OutLine FileCopy(\"big.txt\", \"copy.txt\")"}), 1, ""},
      {"BinFileStream", lines({"ChDir \"@\"", "Set s = CreateObject(\"Nubrel.BinFileStream\")",
                               "OutLine s.OpenStream(\"copy.bin\", 0)", "s.VString = String(100000, \"x\")",
                               "OutLine s.CloseStream()"}),
       1, "True\n"},
      {"ProFile", lines({"ChDir \"@\"", "Set p = CreateObject(\"Jespin.ProFile\")",
                         "OutLine p.Init(CurDir(), \"copy.ini\")", "p.SetValue \"s\", \"k\", String(20000, \"x\")",
                         "OutLine p.Error.Number"}),
       0, "True\n75\n"},
      {"TextFile", lines({"ChDir \"@\"", "Set t = CreateObject(\"Jespin.TextFile\")",
                          "OutLine t.OpenWrit(\"copy.txt\")", "For i = 1 To 200", "t.Line = String(1000, \"x\")",
                          "Next", "t.CloseFile"}),
       1, "True\n", {"big.txt", "copy.txt"}},
  };
  for (const char* edition : {"2", "1"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + ", edition " + edition);
      TempDir dir("zubrun-files");
      dir.write("big.txt", big);
      std::string script = c.script;
      script.replace(script.find('@'), 1, dir.path().string());
      TempDir scripts("zubrun-files");
      zubruntest::Limits limits;
      limits.edition = edition;
      limits.fileSize = 10000;
      zubruntest::Outcome o = zubruntest::runZubrun(scripts.write("s.zub", script), limits);
      EXPECT_EQ(o.signal, 0);
      EXPECT_EQ(o.status, c.status) << o.err;
      EXPECT_EQ(o.out, c.out) << o.err;
      if (c.status == 1) {
        EXPECT_NE(o.err.find("(61)"), std::string::npos) << o.err;
      }
      EXPECT_EQ(listing(dir), c.left);
    }
  }
}

}  // namespace
