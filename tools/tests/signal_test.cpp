// A command that a signal ends in the middle of its work (Ctrl+C, a kill, a
// closed terminal) leaves no temporary file and its targets as they were,
// and ends by that signal, as the shell sees it.  Each run is the command
// itself, sent the signal once its temporary files are there.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>
#include <vector>

#include "child.h"
#include "rt/testing.h"

namespace {

namespace fs = std::filesystem;
using rt::testing::TempDir;

// The temporary files under a folder, and what they hold together.
struct Temps {
  int count = 0;
  uintmax_t bytes = 0;
};

Temps tempsUnder(const fs::path& folder) {
  Temps t;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->path().filename().string().starts_with(".~")) continue;
    ++t.count;
    const uintmax_t size = fs::file_size(it->path(), ec);
    if (!ec) t.bytes += size;
    ec.clear();
  }
  return t;
}

// A file of `bytes` bytes, slow to pack or unpack one byte a block.
void writeBig(const TempDir& dir, const std::string& name, size_t bytes) {
  std::string data(bytes, '\0');
  for (size_t i = 0; i < bytes; ++i) data[i] = static_cast<char>('a' + i % 23);
  dir.write(name, data);
}

}  // namespace

TEST(Signals, AnEndedCommandLeavesNoTemporaryFile) {
  const std::string page = "<!! curPage.PushFile \"pushed.txt\" !!>\npushed\n<!!\nDo While 1 = 1\nLoop\n!!>\n";
  const std::string script = "Set s = CreateObject(\"Nubrel.BinFileStream\")\r\nx = s.OpenStream(\"o.bin\", 0)\r\nDo While 1 = 1\r\nLoop\r\n";
  const struct {
    const char* what;
    std::vector<std::string> argv;
    int sig;
    int temps;        // how many temporary files show it at work
    uintmax_t bytes;  // and how much they hold at least
    std::vector<std::string> kept;  // targets that hold "old" before and after
  } cases[] = {
      {"wistel pack", {WISTEL, "pack", "-b", "1", "T", "old.pack"}, SIGINT, 1, 1 << 20, {"old.pack"}},
      {"wistel unpack", {WISTEL, "unpack", "u.pack", "U"}, SIGTERM, 1, 64 << 10, {"U/big"}},
      {"zubpage", {ZUBPAGE, "-o", "out.txt", "p.page"}, SIGINT, 2, 0, {"out.txt", "pushed.txt"}},
      {"zubpage, its terminal closed", {ZUBPAGE, "-o", "out.txt", "p.page"}, SIGHUP, 2, 0, {"out.txt", "pushed.txt"}},
      {"zubrun", {ZUBRUN, "w.zub"}, SIGTERM, 1, 0, {"o.bin"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir("signals");
    dir.write("p.page", page);
    dir.write("w.zub", script);
    if (c.argv[1] == "pack") {
      fs::create_directory(dir.path() / "T");
      writeBig(dir, "T/big", 8 << 20);
    } else if (c.argv[1] == "unpack") {
      fs::create_directories(dir.path() / "S");
      fs::create_directories(dir.path() / "U");
      writeBig(dir, "S/big", 2 << 20);
      ASSERT_EQ(clitest::runIn(dir.path(), {WISTEL, "pack", "-b", "1", "S", "u.pack"}).status, 0);
    }
    for (const std::string& kept : c.kept) dir.write(kept, "old");
    clitest::ChildRun run;
    run.argv = c.argv;
    run.folder = dir.path();
    bool sent = false;
    run.onWait = [&](pid_t pid, const std::string&) {
      const Temps t = tempsUnder(dir.path());
      if (!sent && t.count >= c.temps && t.bytes >= c.bytes) sent = ::kill(pid, c.sig) == 0;
    };
    const clitest::Result r = clitest::run(run);
    EXPECT_TRUE(sent);
    EXPECT_EQ(r.status, 128 + c.sig) << r.err;
    EXPECT_EQ(tempsUnder(dir.path()).count, 0);
    for (const std::string& kept : c.kept) EXPECT_EQ(dir.read(kept), "old") << kept;
  }
}
