// Replacing files: what a name as given leads to.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "rt/fd.h"
#include "rt/replacefile.h"
#include "rt/testing.h"

namespace {

namespace fs = std::filesystem;
using rt::FileReplacement;
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
