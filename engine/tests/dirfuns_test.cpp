// The Dir library against real temporary folders.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "builtins/svdatefuns.h"
#include "builtins/svdirfuns.h"
#include "rt/wildcard.h"
#include "libcases.h"
#include "rt/activation.h"
#include "testsupport.h"

using namespace engine;
using enginetest::Case;
namespace stdfs = std::filesystem;

namespace {

const std::string kBadCount = "1005 Kestrin.SvDirFuns.DirFuns";

std::string trapped(int number) {
  return std::to_string(number) + " Kestrin.SvDirFuns.ScriptValue_FunCall\r\n";
}

rt::Variant t(const std::u16string& s) { return rt::Variant(s); }
rt::Variant i(int16_t v) { return rt::Variant(v); }

// A fresh folder per test, removed with its contents afterwards; the
// current folder is put back too.
class DirLibrary : public ::testing::Test {
 protected:
  DirLibrary() : cwd_(stdfs::current_path()) {
    std::string tmpl = (stdfs::temp_directory_path() / "dirfuns-XXXXXX").string();
    EXPECT_TRUE(::mkdtemp(tmpl.data()));
    root_ = stdfs::canonical(tmpl);
  }
  ~DirLibrary() override {
    stdfs::current_path(cwd_);
    std::error_code ec;
    // Read-only files and folders must not stop the clean-up.
    for (auto& e : stdfs::recursive_directory_iterator(root_, ec))
      if (!e.is_symlink()) stdfs::permissions(e.path(), stdfs::perms::owner_all, stdfs::perm_options::add, ec);
    stdfs::remove_all(root_, ec);
  }

  // A name in the folder as a script writes it, and as the file system knows it.
  std::u16string at(const std::string& name) const { return rt::fromUtf8((root_ / name).string()); }
  stdfs::path path(const std::string& name) const { return root_ / name; }

  void write(const std::string& name, std::string_view bytes = "data") const {
    std::ofstream(path(name), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool exists(const std::string& name) const { return stdfs::exists(stdfs::symlink_status(path(name))); }
  void mkdir(const std::string& name) const { stdfs::create_directory(path(name)); }
  void readOnly(const std::string& name) const {
    stdfs::permissions(path(name), stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
                       stdfs::perm_options::remove);
  }

  // A listing and the continuation to its end: "a,b,c|" (then "" once more).
  std::string listing(std::vector<rt::Variant> args) const {
    std::string out;
    auto first = call(u"Dir", std::move(args));
    for (std::u16string name = first; !name.empty(); name = call(u"Dir", {})) out += enginetest::utf8(name) + ",";
    EXPECT_EQ(call(u"Dir", {}), u"") << "after the end";
    return out.empty() ? out : out.substr(0, out.size() - 1);
  }

  static std::u16string call(const char16_t* key, std::vector<rt::Variant> args) {
    auto f = enginetest::fun<SvDirFuns>(key);
    rt::Ref<zorbel::ScriptValue> r = f->funCall(nullptr, enginetest::argsOf(args).get(), 1);
    EXPECT_TRUE(r && !f->hasError()) << enginetest::utf8(key);
    return r ? rt::toText(r->value()) : u"";
  }

  void sampleFiles() const {
    for (const char* name : {"b.txt", "A.TXT", "c.log", "noext", "中文文件.txt", ".hidden"}) write(name);
    mkdir("Sub");
    mkdir("子目录");
  }

  stdfs::path cwd_;
  stdfs::path root_;
};

// Pins HOME for one test.
class HomeScope {
 public:
  explicit HomeScope(const std::string& home) {
    if (const char* h = ::getenv("HOME")) saved_ = h;
    ::setenv("HOME", home.c_str(), 1);
  }
  ~HomeScope() {
    if (saved_)
      ::setenv("HOME", saved_->c_str(), 1);
    else
      ::unsetenv("HOME");
  }

 private:
  std::optional<std::string> saved_;
};

}  // namespace

TEST_F(DirLibrary, ListingsAreSortedAndContinued) {
  sampleFiles();
  EXPECT_EQ(listing({t(at("*.txt"))}), "A.TXT,b.txt,中文文件.txt");
  EXPECT_EQ(listing({t(at("*.*"))}), "A.TXT,b.txt,c.log,noext,中文文件.txt");
  EXPECT_EQ(listing({t(at("*"))}), "A.TXT,b.txt,c.log,noext,中文文件.txt");
  EXPECT_EQ(listing({t(at("?.TxT"))}), "A.TXT,b.txt");
  EXPECT_EQ(listing({t(at("*."))}), "noext");
  EXPECT_EQ(listing({t(at("中文*"))}), "中文文件.txt");
  EXPECT_EQ(listing({t(at("????.txt"))}), "中文文件.txt");
  EXPECT_EQ(listing({t(at("*")), i(16)}), ".,..,A.TXT,b.txt,c.log,noext,Sub,中文文件.txt,子目录");
  EXPECT_EQ(listing({t(at("*")), i(2)}), ".hidden,A.TXT,b.txt,c.log,noext,中文文件.txt");
  EXPECT_EQ(listing({t(at("s*")), i(16)}), "Sub");
  // A folder with a separator at its end: every entry of it.
  EXPECT_EQ(listing({t(at(""))}), "A.TXT,b.txt,c.log,noext,中文文件.txt");
  // Backslashes are separators; a name without wildcards is exact.
  std::u16string back = at("c.log");
  std::replace(back.begin(), back.end(), u'/', u'\\');
  EXPECT_EQ(listing({t(back)}), "c.log");
  EXPECT_EQ(listing({t(at("b.txt"))}), "b.txt");
  EXPECT_EQ(listing({t(at("B.TXT"))}), "");
  EXPECT_EQ(listing({t(at("子目录"))}), "");
  EXPECT_EQ(listing({t(at("子目录")), i(16)}), "子目录");
  EXPECT_EQ(listing({t(at(".hidden"))}), "");
  EXPECT_EQ(listing({t(at("nothing/*"))}), "");
  EXPECT_EQ(listing({t(at("*")), i(8)}), "");  // a volume label: none here
  // The search belongs to the process: a new pattern replaces it, and
  // another function object continues it.
  EXPECT_EQ(call(u"Dir", {t(at("*.txt"))}), u"A.TXT");
  EXPECT_EQ(call(u"dir", {}), u"b.txt");
  EXPECT_EQ(call(u"Dir", {t(at("*.log"))}), u"c.log");
  EXPECT_EQ(call(u"DIR", {}), u"");
}

TEST_F(DirLibrary, RelativeNamesFollowTheCurrentFolder) {
  sampleFiles();
  enginetest::runCases<SvDirFuns>({
      {u"ChDir", {t(at("Sub"))}, "Boolean True"},
      {u"CurDir", {}, "String " + (root_ / "Sub").string()},
      {u"ChDir", {t(u"..")}, "Boolean True"},
      {u"CurDir", {t(u"C")}, "String " + root_.string()},
      {u"Dir", {t(u"*.LOG")}, "String c.log"},
      {u"FileLen", {t(u"中文文件.txt")}, "Long 4"},
      {u"ChDir", {t(at("missing"))}, "Nothing", trapped(76)},
      {u"ChDir", {t(at("b.txt"))}, "Nothing", trapped(76)},
      {u"ChDir", {}, "Boolean False", kBadCount},
      {u"ChDrive", {t(u"")}, "Boolean True"},
      {u"ChDrive", {t(u"\\")}, "Boolean True"},
      {u"ChDrive", {t(u"C")}, "Nothing", trapped(68)},
      {u"ChDrive", {}, "Boolean False", kBadCount},
      {u"Dir", {t(u"*"), i(0), i(0)}, "Empty", kBadCount},
  });
  EXPECT_EQ(stdfs::current_path(), root_);
}

TEST_F(DirLibrary, AttributesLengthsAndStamps) {
  sampleFiles();
  write("five", "12345");
  write("ro.txt");
  readOnly("ro.txt");
  std::tm tm{};
  tm.tm_year = 2024 - 1900;
  tm.tm_mon = 1;
  tm.tm_mday = 29;
  tm.tm_hour = 13;
  tm.tm_min = 45;
  tm.tm_sec = 30;
  tm.tm_isdst = -1;
  timespec times[2] = {{std::mktime(&tm), 0}, {std::mktime(&tm), 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path("five").c_str(), times, 0), 0);
  enginetest::runCases<SvDirFuns>({
      {u"GetAttr", {t(at("b.txt"))}, "Long 32"},
      {u"GetAttr", {t(at("ro.txt"))}, "Long 33"},
      {u"GetAttr", {t(at(".hidden"))}, "Long 34"},
      {u"GetAttr", {t(at("子目录"))}, "Long 16"},
      {u"GetAttr", {t(at("子目录/"))}, "Long 16"},
      {u"GetAttr", {t(u"/dev/null")}, "Long 4"},
      {u"GetAttr", {t(at("missing"))}, "Nothing", trapped(53)},
      {u"GetAttr", {}, "Empty", kBadCount},
      {u"SetAttr", {t(at("b.txt")), i(1)}, "Boolean True"},
      {u"GetAttr", {t(at("b.txt"))}, "Long 33"},
      {u"SetAttr", {t(at("b.txt")), i(0)}, "Boolean True"},
      {u"GetAttr", {t(at("b.txt"))}, "Long 32"},
      {u"SetAttr", {t(at("b.txt")), i(2 | 4 | 32)}, "Boolean True"},  // accepted, nothing to keep
      {u"GetAttr", {t(at("b.txt"))}, "Long 32"},
      {u"SetAttr", {t(at("b.txt")), i(16)}, "Nothing", trapped(5)},
      {u"SetAttr", {t(at("b.txt")), i(64)}, "Nothing", trapped(5)},
      {u"SetAttr", {t(at("missing")), i(0)}, "Nothing", trapped(53)},
      {u"SetAttr", {t(at("b.txt"))}, "Boolean False", kBadCount},
      {u"FileLen", {t(at("five"))}, "Long 5"},
      {u"FileLen", {t(at("中文文件.txt"))}, "Long 4"},
      {u"FileLen", {t(at("Sub"))}, "Long 0"},
      {u"FileLen", {t(at("missing"))}, "Nothing", trapped(53)},
      {u"FileLen", {t(at("five") + u'\0')}, "Nothing", trapped(52)},
      {u"FileLen", {}, "Empty", kBadCount},
      {u"FileDateTime", {t(at("five"))}, "Date 2/29/2024 1:45:30 PM"},
      {u"FileDateTime", {t(at("missing"))}, "Nothing", trapped(53)},
      {u"FileDateTime", {}, "Empty", kBadCount},
  });
}

TEST_F(DirLibrary, CopyAndRename) {
  write("源.txt", "contents");
  write("other", "other");
  mkdir("dir");
  ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
  enginetest::runCases<SvDirFuns>({
      {u"FileCopy", {t(at("源.txt")), t(at("副本.txt"))}, "Boolean True"},
      {u"FileCopy", {t(at("other")), t(at("副本.txt"))}, "Boolean True"},  // replaced
      {u"FileCopy", {t(at("源.txt")), t(at("源.txt"))}, "Nothing", trapped(75)},
      {u"FileCopy", {t(at("dir")), t(at("x"))}, "Nothing", trapped(75)},
      {u"FileCopy", {t(at("missing")), t(at("x"))}, "Nothing", trapped(53)},
      // Only regular files: a pipe would wait for a writer, a device never end.
      {u"FileCopy", {t(at("fifo")), t(at("x"))}, "Nothing", trapped(75)},
      {u"FileCopy", {t(u"/dev/zero"), t(at("x"))}, "Nothing", trapped(75)},
      {u"FileCopy", {t(at("源.txt")), t(at("fifo"))}, "Nothing", trapped(75)},  // never waits
      {u"FileCopy", {t(at("源.txt")), t(at("dir"))}, "Nothing", trapped(75)},
      {u"FileCopy", {t(at("源.txt")), t(at("no/x"))}, "Nothing", trapped(76)},
      {u"FileCopy", {t(at("源.txt"))}, "Boolean False", kBadCount},
      {u"ReName", {t(at("源.txt")), t(at("改名.txt"))}, "Boolean True"},
      {u"ReName", {t(at("改名.txt")), t(at("other"))}, "Nothing", trapped(58)},
      {u"ReName", {t(at("改名.txt")), t(at("dir"))}, "Nothing", trapped(58)},
      {u"ReName", {t(at("改名.txt")), t(at("dir/moved.txt"))}, "Boolean True"},
      {u"ReName", {t(at("dir")), t(at("文件夹"))}, "Boolean True"},
      {u"ReName", {t(at("missing")), t(at("x"))}, "Nothing", trapped(53)},
      {u"ReName", {t(at("other")), t(at("no/x"))}, "Nothing", trapped(76)},
      {u"ReName", {t(at("other"))}, "Boolean False", kBadCount},
  });
  EXPECT_EQ(read("副本.txt"), "other");
  EXPECT_EQ(read("other"), "other");
  EXPECT_EQ(read("文件夹/moved.txt"), "contents");
  EXPECT_FALSE(exists("源.txt"));
  EXPECT_FALSE(exists("dir"));
  EXPECT_FALSE(exists("x"));
}

TEST_F(DirLibrary, KillMkDirRmDir) {
  sampleFiles();
  write("ro.txt");
  readOnly("ro.txt");
  write("Sub/inner");
  enginetest::runCases<SvDirFuns>({
      {u"Kill", {t(at("*.TXT"))}, "Nothing", trapped(75)},  // A.TXT and b.txt go, ro.txt stops it
      {u"Kill", {t(at("*.log"))}, "Boolean True"},
      {u"Kill", {t(at("*.log"))}, "Nothing", trapped(53)},
      {u"Kill", {t(at("*hidden"))}, "Nothing", trapped(53)},  // wildcards skip hidden files
      {u"Kill", {t(at(".hidden"))}, "Boolean True"},         // a full name does not
      {u"Kill", {t(at("Sub"))}, "Nothing", trapped(53)},
      {u"Kill", {t(at(""))}, "Nothing", trapped(52)},
      {u"Kill", {t(u"")}, "Nothing", trapped(52)},
      {u"Kill", {t(u"/")}, "Nothing", trapped(52)},
      {u"Kill", {}, "Boolean False", kBadCount},
      {u"MkDir", {t(at("新建"))}, "Boolean True"},
      {u"MkDir", {t(at("新建"))}, "Nothing", trapped(75)},
      {u"MkDir", {t(at("no/such"))}, "Nothing", trapped(76)},
      {u"MkDir", {}, "Boolean False", kBadCount},
      {u"RmDir", {t(at("新建"))}, "Boolean True"},
      {u"RmDir", {t(at("Sub"))}, "Nothing", trapped(75)},
      {u"RmDir", {t(at("missing"))}, "Nothing", trapped(76)},
      {u"RmDir", {}, "Boolean False", kBadCount},
  });
  EXPECT_FALSE(exists("A.TXT"));
  EXPECT_FALSE(exists("b.txt"));
  EXPECT_TRUE(exists("ro.txt"));
  EXPECT_TRUE(exists("中文文件.txt"));  // sorted after ro.txt: the deleting had stopped
  EXPECT_FALSE(exists(".hidden"));
  EXPECT_FALSE(exists("新建"));
  EXPECT_TRUE(exists("Sub/inner"));
}

// Removing never goes through a symbolic link to a folder, and never takes
// the root or the home folder.
TEST_F(DirLibrary, RemovingKeepsToItsOwnFolders) {
  mkdir("real");
  mkdir("real/empty");
  write("real/keep.txt");
  write("target.txt");
  stdfs::create_directory_symlink(path("real"), path("link"));
  stdfs::create_symlink(path("target.txt"), path("filelink"));
  mkdir("home");
  HomeScope home(path("home").string());
  enginetest::runCases<SvDirFuns>({
      {u"Kill", {t(at("link/*.txt"))}, "Nothing", trapped(75)},
      {u"Kill", {t(at("link/keep.txt"))}, "Nothing", trapped(75)},
      {u"Kill", {t(at("link"))}, "Nothing", trapped(53)},
      {u"RmDir", {t(at("link"))}, "Nothing", trapped(75)},
      {u"RmDir", {t(at("link/"))}, "Nothing", trapped(75)},
      {u"RmDir", {t(at("link/empty"))}, "Nothing", trapped(75)},
      {u"RmDir", {t(u"")}, "Nothing", trapped(75)},
      {u"RmDir", {t(u"/")}, "Nothing", trapped(75)},
      {u"RmDir", {t(u"\\")}, "Nothing", trapped(75)},
      {u"RmDir", {t(at("home"))}, "Nothing", trapped(75)},
      {u"RmDir", {t(at("real/../home/"))}, "Nothing", trapped(75)},
      {u"ReName", {t(at("home")), t(at("moved"))}, "Nothing", trapped(75)},
      // A link to a file goes itself; what it points to stays.
      {u"Kill", {t(at("filelink"))}, "Boolean True"},
  });
  EXPECT_TRUE(exists("real/keep.txt"));
  EXPECT_TRUE(exists("real/empty"));
  EXPECT_TRUE(exists("link"));
  EXPECT_TRUE(exists("home"));
  EXPECT_TRUE(exists("target.txt"));
  EXPECT_FALSE(exists("filelink"));
}

// Every function that writes keeps to the folders a path names: a link to
// a file outside, a dangling link and a linked folder never let a write
// reach what lies behind them.
TEST_F(DirLibrary, WritingNeverGoesThroughALink) {
  mkdir("outside");
  write("outside/victim.txt", "outside");
  write("src.txt", "copied");
  stdfs::create_symlink(path("outside/victim.txt"), path("tofile"));
  stdfs::create_symlink(path("outside/created.txt"), path("dangling"));
  stdfs::create_directory_symlink(path("outside"), path("linkdir"));
  const auto victimMode = stdfs::status(path("outside/victim.txt")).permissions();
  enginetest::runCases<SvDirFuns>({
      // A link at the target is replaced as a link.
      {u"FileCopy", {t(at("src.txt")), t(at("tofile"))}, "Boolean True"},
      {u"FileCopy", {t(at("src.txt")), t(at("dangling"))}, "Boolean True"},
      // A linked folder on the way is refused, whatever the function.
      {u"FileCopy", {t(at("src.txt")), t(at("linkdir/victim.txt"))}, "Nothing", trapped(75)},
      {u"FileCopy", {t(at("src.txt")), t(at("linkdir/new.txt"))}, "Nothing", trapped(75)},
      {u"FileCopy", {t(at("src.txt")), t(at("linkdir"))}, "Nothing", trapped(75)},
      {u"MkDir", {t(at("linkdir/new"))}, "Nothing", trapped(75)},
      {u"MkDir", {t(at("linkdir/new/"))}, "Nothing", trapped(75)},
      {u"ReName", {t(at("src.txt")), t(at("linkdir/moved.txt"))}, "Nothing", trapped(75)},
      {u"ReName", {t(at("linkdir/victim.txt")), t(at("taken.txt"))}, "Nothing", trapped(75)},
      {u"SetAttr", {t(at("linkdir/victim.txt")), i(1)}, "Nothing", trapped(75)},
      {u"Kill", {t(at("linkdir/victim.txt"))}, "Nothing", trapped(75)},
      {u"RmDir", {t(at("linkdir"))}, "Nothing", trapped(75)},
  });
  stdfs::create_symlink(path("outside/victim.txt"), path("tofile2"));
  enginetest::runCases<SvDirFuns>({
      // A link's mode is its target's: setting it would write through.
      {u"SetAttr", {t(at("tofile2")), i(1)}, "Nothing", trapped(75)},
      // The link itself may be renamed and deleted.
      {u"ReName", {t(at("tofile2")), t(at("renamed"))}, "Boolean True"},
      {u"Kill", {t(at("renamed"))}, "Boolean True"},
  });
  EXPECT_EQ(read("tofile"), "copied");
  EXPECT_FALSE(stdfs::is_symlink(path("tofile")));
  EXPECT_EQ(read("dangling"), "copied");
  EXPECT_FALSE(stdfs::is_symlink(path("dangling")));
  // Outside, nothing changed.
  EXPECT_EQ(read("outside/victim.txt"), "outside");
  EXPECT_EQ(stdfs::status(path("outside/victim.txt")).permissions(), victimMode);
  EXPECT_EQ(std::distance(stdfs::directory_iterator(path("outside")), stdfs::directory_iterator()), 1);
  EXPECT_TRUE(exists("src.txt"));
  EXPECT_FALSE(exists("taken.txt"));
}

TEST_F(DirLibrary, CopyKeepsAReadOnlyTargetAndAnExistingTargetsMode) {
  write("src.txt", "new");
  write("ro.txt", "kept");
  readOnly("ro.txt");
  write("open.txt", "old");
  stdfs::permissions(path("open.txt"), stdfs::perms::owner_read | stdfs::perms::owner_write);
  stdfs::permissions(path("src.txt"), stdfs::perms::owner_all | stdfs::perms::group_read);
  enginetest::runCases<SvDirFuns>({
      {u"FileCopy", {t(at("src.txt")), t(at("ro.txt"))}, "Nothing", trapped(70)},
      {u"FileCopy", {t(at("src.txt")), t(at("open.txt"))}, "Boolean True"},
  });
  EXPECT_EQ(read("ro.txt"), "kept");
  EXPECT_EQ(read("open.txt"), "new");
  EXPECT_EQ(stdfs::status(path("open.txt")).permissions(), stdfs::perms::owner_read | stdfs::perms::owner_write);
}

// A copy that fails at any point of its writing leaves the target byte for
// byte as it was, and nothing of its own behind: the writes are made to
// fail once the new file reaches each of these sizes (RLIMIT_FSIZE).
TEST_F(DirLibrary, ACopyThatFailsLeavesTheTargetAsItWas) {
  const std::string source(200000, 'x');
  const std::string old = "thirty bytes of the old target";
  write("src.txt", source);
  write("target.txt", old);
  struct sigaction ignore {}, saved {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignore, &saved);
  rlimit before {};
  ::getrlimit(RLIMIT_FSIZE, &before);
  for (rlim_t size : {0, 1, 4095, 65536, 65537, 131072, 199999}) {
    SCOPED_TRACE(size);
    rlimit small{size, before.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    auto f = enginetest::fun<SvDirFuns>(u"FileCopy");
    f->funCall(nullptr, enginetest::argsOf({t(at("src.txt")), t(at("target.txt"))}).get(), 1);
    ::setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_EQ(f->error().number(), rt::err::DiskFull);
    EXPECT_EQ(read("target.txt"), old);
    EXPECT_EQ(std::distance(stdfs::directory_iterator(root_), stdfs::directory_iterator()), 2);
  }
  ::sigaction(SIGXFSZ, &saved, nullptr);
  EXPECT_EQ(call(u"FileCopy", {t(at("src.txt")), t(at("target.txt"))}), u"True");
  EXPECT_EQ(read("target.txt"), source);
}

// The same on a file system that is really full: a small tmpfs, where this
// process may mount one.
TEST_F(DirLibrary, ACopyOntoAFullDiskLeavesTheTargetAsItWas) {
  mkdir("small");
  if (::mount("zubtest", path("small").c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "no tmpfs can be mounted here (" << std::strerror(errno) << ")";
  struct Unmount {
    std::string at;
    ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
  } unmount{path("small").string()};
  const std::string old = "thirty bytes of the old target";
  write("small/target.txt", old);
  write("src.txt", std::string(200000, 'x'));
  enginetest::runCases<SvDirFuns>({
      {u"FileCopy", {t(at("src.txt")), t(at("small/target.txt"))}, "Nothing", trapped(61)},
  });
  EXPECT_EQ(read("small/target.txt"), old);
  EXPECT_EQ(std::distance(stdfs::directory_iterator(path("small")), stdfs::directory_iterator()), 1);
}

TEST(DirLibraryObject, CountRecordsNothing) {
  auto f = enginetest::fun<SvDirFuns>(u"Dir");
  EXPECT_EQ(f->count(), 0);
  EXPECT_FALSE(f->hasError());
  EXPECT_EQ(enginetest::call(*f, enginetest::argsOf({rt::Variant(u"x"), rt::Variant(rt::Null{})}).get()).error,
            "94 Kestrin.SvDirFuns.ScriptValue_FunCall\r\n");
  EXPECT_EQ(enginetest::call(*enginetest::fun<SvDirFuns>(u"Mount"), nullptr).value, "Integer 0");
}

TEST(DirLibraryObject, BothLibrariesMadeByProgId) {
  for (const char16_t* progId : {u"Kestrin.SvDirFuns", u"Kestrin.SvDateFuns"}) {
    rt::Ref<zorbel::ScriptValue> v = rt::queryRef<zorbel::ScriptValue>(rt::createObject(progId).get());
    ASSERT_TRUE(v) << enginetest::utf8(progId);
    EXPECT_EQ(v->flag(), 12);
  }
}

TEST(DirWildcards, DosRules) {
  struct Case {
    const char16_t* pattern;
    const char16_t* name;
    bool matches;
  } cases[] = {
      {u"*", u"anything.at.all", true},
      {u"*.*", u"noext", true},  // a name without a dot reads as ending in one
      {u"*.*", u"a.b", true},
      {u"*.", u"noext", true},
      {u"*.", u"a.b", false},
      {u"a.*", u"a", true},
      {u"a.*", u"ab", false},
      {u"*.txt", u"A.TXT", true},
      {u"*.txt", u"a.txt.bak", false},
      {u"?.txt", u"ab.txt", false},
      {u"??.txt", u"ab.txt", true},
      {u"?", u"😀", true},  // one character of two units
      {u"文件?", u"文件1", true},
      {u"ÉTÉ*", u"été.doc", true},
      {u"ＡＢ*", u"ab.x", true},  // full-width letters fold to half-width
      {u"*a*b*c", u"xxaxxbxxc", true},
      {u"*a*b*c", u"xxaxxcxxb", false},
      {u"", u"a", false},
      {u"a", u"a", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(rt::matchesWildcard(c.pattern, c.name), c.matches)
        << enginetest::utf8(c.pattern) << " ~ " << enginetest::utf8(c.name);
  EXPECT_TRUE(rt::hasWildcards(u"a?"));
  EXPECT_FALSE(rt::hasWildcards(u"a.b"));
}
