// The pack command as a user runs it: its output, its exit status and its
// memory.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "testpacks.h"

extern char** environ;

namespace wistel::test {
namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
  long peakKb = 0;  // the command's peak resident size
};

class Command : public PackerTest {
 protected:
  // Runs wistel with `args` in the scratch folder, standard input empty.
  Outcome wistel(std::vector<std::string> args) {
    args.insert(args.begin(), WISTEL_COMMAND);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::string outPath = at("stdout").string(), errPath = at("stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::string cwd = fs::current_path().string();
    fs::current_path(root_);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    fs::current_path(cwd);
    posix_spawn_file_actions_destroy(&actions);
    Outcome r;
    if (spawned != 0) {
      ADD_FAILURE() << "cannot run " << argv[0];
      return r;
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.peakKb = usage.ru_maxrss;
    r.out = readFile(outPath);
    r.err = readFile(errPath);
    fs::remove(outPath);
    fs::remove(errPath);
    return r;
  }
};

TEST_F(Command, PackListUnpackAndInfo) {
  fs::create_directories(at("T/sub 子"));
  fs::create_directories(at("T/empty"));
  writeFile(at("T/a.txt"), "hello");
  writeFile(at("T/sub 子/中文.txt"), std::string(3000, 'z'));
  setTime(at("T/a.txt"), kNoon2000);

  Outcome pack = wistel({"pack", "T", "t.pack", "-b", "1000", "-d", "描述", "-c", "Me"});
  EXPECT_EQ(pack.status, 0) << pack.err;
  EXPECT_EQ(pack.err, "");  // standard error is no terminal: no progress line

  Outcome list = wistel({"list", "t.pack"});
  EXPECT_EQ(list.status, 0) << list.err;
  std::string header = "version: 1\ncopyright: Me\ndescription: 描述\n";
  EXPECT_TRUE(list.out.starts_with(header)) << list.out;
  std::string tree = "/\n           5  2000-01-01 12:00:00  a.txt\nempty/\nsub 子/\n";
  EXPECT_NE(list.out.find("block size: 1000\nflags: 0\npassword: none\n" + tree), std::string::npos)
      << list.out;
  EXPECT_NE(list.out.find("        3000  "), std::string::npos);
  EXPECT_TRUE(list.out.ends_with("  sub 子/中文.txt\n")) << list.out;

  Outcome unpack = wistel({"unpack", "t.pack", "U"});
  EXPECT_EQ(unpack.status, 0) << unpack.err;
  EXPECT_EQ(std::system(("diff -r '" + at("T").string() + "' '" + at("U").string() + "'").c_str()), 0);

  Outcome info = wistel({"info", "t.pack"});
  EXPECT_EQ(info.status, 0);
  EXPECT_TRUE(info.out.starts_with(header));
  EXPECT_TRUE(info.out.ends_with("length: " + std::to_string(fs::file_size(at("t.pack"))) + "\n"));
}

TEST_F(Command, ExitStatuses) {
  fs::create_directory(at("T"));
  writeFile(at("T/f"), "data");
  ASSERT_EQ(wistel({"pack", "T", "t.pack"}).status, 0);
  std::string bytes = readFile(at("t.pack"));
  writeFile(at("cut.pack"), bytes.substr(0, bytes.size() - 1));
  writeFile(at("text.txt"), "not a pack");
  writeFile(at("tail.pack"), bytes + "garbage");
  fs::create_directory(at("d\x1B.pack"));

  struct Case {
    std::vector<std::string> args;
    int status;
    const char* err;  // a part of standard error
  };
  const Case cases[] = {
      {{}, 2, "no command"},
      {{"pack", "T"}, 2, "pack takes 2 operands"},
      {{"pack", "T", "x.pack", "-z", "1"}, 2, "unknown option -z"},
      {{"pack", "T", "x.pack", "-b", "ten"}, 2, "-b takes a whole number"},
      {{"list", "t.pack", "--password-file"}, 2, "unknown option"},
      {{"explode", "t.pack"}, 2, "unknown command"},
      {{"unpack", "cut.pack", "U"}, 1, "文件包已损坏"},
      {{"list", "cut.pack"}, 1, "文件包已损坏"},
      {{"info", "text.txt"}, 1, "text.txt: 文件不是对象流格式"},
      {{"unpack", "missing.pack", "U"}, 1, "Wistel 运行错误"},
      {{"pack", "T", "x.pack", "-b", "-1"}, 1, "BlkSize -1"},
      {{"unpack", "tail.pack", "U"}, 1, "文件包已损坏：根文件夹之后还有多余的数据"},
      {{"list", "tail.pack"}, 1, "文件包已损坏：根文件夹之后还有多余的数据"},
      {{"list", "\xFF.pack"}, 2, "\\xFF.pack is not UTF-8 text"},
      {{"list", "d\x1B.pack"}, 1, "d\\x1B.pack\n"},
  };
  for (const Case& c : cases) {
    Outcome r = wistel(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(at("x.pack")));
  // Damage found after the tree, like damage found in it, leaves what was written.
  EXPECT_EQ(readFile(at("U/f")), "data");
}

// "--" ends the options: operands after it may start with "-".  A pack
// named by a link to a device is written through it, the link kept.
TEST_F(Command, OperandsAfterTwoDashesAndLinksToDevices) {
  fs::create_directory(at("-T"));
  writeFile(at("-T/f"), "data");
  Outcome pack = wistel({"pack", "-b", "512", "--", "-T", "-t.pack"});
  EXPECT_EQ(pack.status, 0) << pack.err;
  Outcome unpack = wistel({"unpack", "--", "-t.pack", "-U"});
  EXPECT_EQ(unpack.status, 0) << unpack.err;
  EXPECT_EQ(readFile(at("-U/f")), "data");
  fs::create_symlink("/dev/null", at("null.pack"));
  EXPECT_EQ(wistel({"pack", "--", "-T", "null.pack"}).status, 0);
  EXPECT_EQ(fs::read_symlink(at("null.pack")), "/dev/null");
}

TEST_F(Command, PasswordFromAFileNeverShown) {
  fs::create_directory(at("T"));
  writeFile(at("T/f"), "data");
  writeFile(at("right"), "s3cret\n");
  writeFile(at("wrong"), "S3CRET\r\n");
  ASSERT_EQ(wistel({"pack", "T", "t.pack", "--password-file", "right"}).status, 0);
  Outcome info = wistel({"info", "t.pack"});
  EXPECT_NE(info.out.find("flags: 1\npassword: set\n"), std::string::npos);
  EXPECT_EQ(info.out.find("s3cret"), std::string::npos);

  Outcome wrong = wistel({"unpack", "t.pack", "U", "--password-file", "wrong"});
  EXPECT_EQ(wrong.status, 1);
  EXPECT_NE(wrong.err.find("口令无效，请重新录入。"), std::string::npos);
  EXPECT_FALSE(fs::exists(at("U")));
  Outcome none = wistel({"unpack", "t.pack", "U"});  // nobody at a terminal to ask
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(wistel({"unpack", "t.pack", "U", "--password-file", "right"}).status, 0);
  EXPECT_EQ(readFile(at("U/f")), "data");
  EXPECT_EQ(wistel({"pack", "T", "u.pack", "--password-file", "missing"}).status, 1);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMeasured = false;  // the sanitizers' own memory would be counted
#else
constexpr bool kMeasured = true;
#endif

TEST_F(Command, A256MegabyteFileInLittleMemory) {
  fs::create_directory(at("B"));
  {
    std::string chunk(1 << 20, '\0');
    for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>(i * 7 + i / 251);
    std::ofstream out(at("B/big.bin"), std::ios::binary);
    for (int i = 0; i < 256; ++i) out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
  }
  Outcome pack = wistel({"pack", "B", "b.pack"});
  ASSERT_EQ(pack.status, 0) << pack.err;
  Outcome unpack = wistel({"unpack", "b.pack", "C"});
  ASSERT_EQ(unpack.status, 0) << unpack.err;
  EXPECT_EQ(std::system(("cmp -s '" + at("B/big.bin").string() + "' '" + at("C/big.bin").string() + "'").c_str()), 0);
  if (kMeasured) {
    EXPECT_LT(pack.peakKb, 40 * 1024);
    EXPECT_LT(unpack.peakKb, 40 * 1024);
  }
  std::printf("peak resident size: pack %ld KB, unpack %ld KB\n", pack.peakKb, unpack.peakKb);
}

// 254 nested folders of 255-letter names, then 4,000 folder records that
// cannot be made: the run names 20 of them and counts the rest.
TEST_F(Command, TheAmplificationPackUnpacksInLittleMemory) {
  writeFile(at("amp.pack"), amplificationPack(254, 255, 4000));
  Outcome r = wistel({"unpack", "amp.pack", "U"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("……共 4000 个"), std::string::npos) << r.err.substr(0, 200);
  // Deeper than a path reaches: the fixture could not remove it.
  EXPECT_EQ(std::system(("rm -rf '" + at("U").string() + "'").c_str()), 0);
  if (kMeasured) {
    EXPECT_LT(r.peakKb, 100 * 1024);
  }
  std::printf("peak resident size: unpack of the amplification pack %ld KB\n", r.peakKb);
}

TEST_F(Command, NamesAndTextsFromAPackShowControlCharactersEscaped) {
  const std::string esc = "\x1b]0;owned\x07\r";
  writeFile(at("c.pack"),
            streamHeader() + longBytes(1) + packString("C" + esc) + packString("D") + longBytes(0) +
                hex("00 00 00 00 C0 D5 E1 40") + longBytes(1024) +
                folderBody({fileRecord("a" + esc, "1")}, {folderRecord("d" + esc, folderBody({fileRecord("b", "")}))}));
  const std::string shown = "\\x1B]0;owned\\x07\\x0D";
  fs::create_directories(at("U/a" + esc));  // the file cannot take the folder's place
  const struct {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> parts;  // of standard output and error
  } cases[] = {
      {{"list", "c.pack"}, 0, {"copyright: C" + shown + "\n", "  a" + shown + "\n", "d" + shown + "/b\n"}},
      {{"info", "c.pack"}, 0, {"copyright: C" + shown + "\n"}},
      {{"unpack", "c.pack", "U"}, 1, {"\nU/a" + shown + "\n"}},
  };
  for (const auto& c : cases) {
    Outcome r = wistel(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[0] << r.err;
    std::string both = r.out + r.err;
    for (const std::string& part : c.parts) EXPECT_NE(both.find(part), std::string::npos) << c.args[0] << both;
    for (char ch : both) EXPECT_TRUE(ch == '\n' || static_cast<unsigned char>(ch) >= 0x20) << c.args[0] << both;
  }
}

// Names that decoding or the terminal would make look alike: bytes that are
// no text, the character U+FFFD itself, a name turned around by U+202E,
// and invisible characters (U+200B, U+FEFF, a tag above U+FFFF).
TEST_F(Command, NamesThatWouldLookAlikeAreListedApart) {
  writeFile(at("n.pack"), packHeader() + folderBody({fileRecord("a\xFF", "1"), fileRecord("a\xFE", "2"),
                                                     fileRecord("a\xEF\xBF\xBD", "3"),
                                                     fileRecord("rlo\xE2\x80\xAEtxt.exe", "4"),
                                                     fileRecord("report\xE2\x80\x8B.txt", "5"),
                                                     fileRecord("\xEF\xBB\xBF" "bom\xF3\xA0\x80\x81", "6")}));
  Outcome list = wistel({"list", "n.pack"});
  EXPECT_EQ(list.status, 0) << list.err;
  for (const char* name : {"  a\\xFF\n", "  a\\xFE\n", "  a\xEF\xBF\xBD\n", "  rlo\\u202Etxt.exe\n",
                           "  report\\u200B.txt\n", "  \\uFEFFbom\\U000E0001\n"})
    EXPECT_NE(list.out.find(name), std::string::npos) << name << list.out;
}

}  // namespace
}  // namespace wistel::test
