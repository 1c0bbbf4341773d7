// Replacing files: what a name as given leads to, the group of a file whose
// owner cannot be kept, and the temporary files a signal removes.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "rt/fd.h"
#include "rt/replacefile.h"
#include "rt/signals.h"
#include "rt/testing.h"

namespace {

namespace fs = std::filesystem;
using rt::FileReplacement;
using rt::testing::inChild;
using rt::testing::TempDir;

std::set<std::string> listing(const TempDir& dir) {
  std::set<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(dir.path())) names.insert(e.path().filename());
  return names;
}

bool replace(FileReplacement& r, const std::string& name, unsigned options, const std::string& text) {
  return r.open(name, options) && rt::writeAll(r.fd(), text) && r.commit();
}

}  // namespace

TEST(FileReplacement, TheNameAsGivenDecides) {
  constexpr unsigned kLinks = FileReplacement::kReplaceLinks, kReadOnly = FileReplacement::kKeepReadOnly;
  const struct {
    const char* what;
    const char* name;
    unsigned options;
    int error;            // 0: written
    std::string changed;  // the file that holds the new text afterwards
    bool linkKept;        // "link" still leads to "file"
  } cases[] = {
      {"a new file", "new", 0, 0, "new", true},
      {"through a link", "link", 0, 0, "file", true},
      {"a link replaced", "link", kLinks, 0, "link", false},
      {"a read-only file", "ro", 0, 0, "ro", true},
      {"a read-only file kept", "ro", kReadOnly, EACCES, "", true},
      {"a folder", "sub", 0, EISDIR, "", true},
      {"through a link to a device", "null", 0, 0, "", true},
      {"a link to a device, for a file of the system's own", "null", kLinks, EINVAL, "", true},
      {"a pipe nobody reads", "fifo", 0, ENXIO, "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir("replace");
    dir.write("file", "old");
    dir.write("ro", "old");
    ASSERT_EQ(::chmod(dir.at("ro").c_str(), 0444), 0);
    fs::create_directory(dir.at("sub"));
    fs::create_symlink("file", dir.at("link"));
    fs::create_symlink("/dev/null", dir.at("null"));
    ASSERT_EQ(::mkfifo(dir.at("fifo").c_str(), 0600), 0);
    FileReplacement r;
    errno = 0;
    EXPECT_EQ(replace(r, dir.at(c.name), c.options, "new"), c.error == 0);
    if (c.error) {
      EXPECT_EQ(errno, c.error);
    }
    if (!c.changed.empty()) {
      EXPECT_EQ(dir.read(c.changed), "new");
    }
    EXPECT_EQ(dir.read("file"), c.changed == "file" ? "new" : "old");
    EXPECT_EQ(dir.read("ro"), c.changed == "ro" ? "new" : "old");
    EXPECT_EQ(fs::status(dir.at("ro")).permissions(), fs::perms(0444));
    EXPECT_EQ(fs::is_symlink(dir.at("link")), c.linkKept);
    EXPECT_TRUE(fs::is_symlink(dir.at("null")));
    for (const std::string& name : listing(dir)) EXPECT_FALSE(name.starts_with(".~")) << name;
  }
}

// A user who may not give the file away still keeps its group, being one
// of its members.
TEST(FileReplacement, KeepsTheGroupWhereTheOwnerCannotBeKept) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs to make files of other users";
  TempDir dir("replace");
  ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
  dir.write("shared", "old");
  ASSERT_EQ(::chown(dir.at("shared").c_str(), 1234, 5678), 0);
  ASSERT_EQ(::chmod(dir.at("shared").c_str(), 0664), 0);
  const int status = inChild([&] {
    const gid_t groups[] = {5678};
    if (::setgroups(1, groups) != 0 || ::setgid(4321) != 0 || ::setuid(4321) != 0) return 2;
    FileReplacement r;
    return replace(r, dir.at("shared"), 0, "new") ? 0 : 1;
  });
  ASSERT_EQ(status, 0);
  struct stat st {};
  ASSERT_EQ(::stat(dir.at("shared").c_str(), &st), 0);
  EXPECT_EQ(dir.read("shared"), "new");
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 5678u);
  EXPECT_EQ(st.st_mode & 07777, 0664u);
}

// Each signal removes the temporary files not yet placed (of a replacement,
// and one made in a folder by its descriptor) and ends the process by
// itself; a file placed before stays.  One ignored from the start stays
// ignored.
TEST(Signals, EndTheCommandAndRemoveItsTemporaryFiles) {
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(sig);
    TempDir dir("signals");
    dir.write("kept", "old");
    const int status = inChild([&] {
      rt::removeTempFilesOnSignal();
      FileReplacement placed, pending, fresh;
      if (!replace(placed, dir.at("placed"), 0, "new")) return 1;
      if (!pending.open(dir.at("kept")) || !fresh.open(dir.at("fresh"))) return 1;
      rt::Fd folder(::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      std::string temp;
      rt::Fd inFolder(rt::createTempFile(folder.get(), "", 0600, temp));
      if (inFolder.get() < 0 || listing(dir).size() != 5) return 1;
      ::raise(sig);
      return 3;
    });
    EXPECT_EQ(status, 128 + sig);
    EXPECT_EQ(listing(dir), (std::set<std::string>{"kept", "placed"}));
    EXPECT_EQ(dir.read("kept"), "old");
    EXPECT_EQ(dir.read("placed"), "new");
  }
  TempDir dir("signals");
  const int status = inChild([&] {
    ::signal(SIGHUP, SIG_IGN);
    rt::removeTempFilesOnSignal();
    FileReplacement pending;
    if (!pending.open(dir.at("file"))) return 1;
    ::raise(SIGHUP);
    return 0;
  });
  EXPECT_EQ(status, 0);
}
