#include "rt/dirlist.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "rt/error.h"
#include "rt/fd.h"
#include "rt/testing.h"

namespace {

namespace fs = std::filesystem;

TEST(ListFolder, EveryEntryInNameOrderWithoutRegardToCase) {
  rt::testing::TempDir temp("listfolder");
  fs::path root = temp.path();
  // A name that is no UTF-8 keeps its bytes; its text shows U+FFFD.
  for (const char* name : {"b", "B2", "a", "A", "中", "\xFF", ".hidden"}) std::ofstream(root / name) << "x";
  fs::create_directory(root / "Dir");

  rt::Fd dir(::open(root.c_str(), O_RDONLY | O_DIRECTORY));
  ASSERT_GE(dir.get(), 0);
  std::vector<std::string> natives;
  std::u16string texts;
  for (const rt::FolderEntry& e : rt::listFolder(dir.get())) {
    natives.push_back(e.native);
    texts += e.name + u"|";
  }
  EXPECT_EQ(natives, (std::vector<std::string>{".", "..", ".hidden", "A", "a", "b", "B2", "Dir",
                                               "中", "\xFF"}));
  EXPECT_EQ(texts, u".|..|.hidden|A|a|b|B2|Dir|中|\uFFFD|");
  // The same again: the listing does not move the folder's own position.
  EXPECT_EQ(rt::listFolder(dir.get()).size(), natives.size());

  EXPECT_THROW(rt::listFolder(-1), rt::RuntimeError);
}

}  // namespace
