// Damaged and hostile packs: each is refused with the error box, nothing is
// written outside the target, and nothing crashes, hangs or asks for memory
// out of proportion.
#include <map>

#include "rt/text.h"

#include "testpacks.h"

namespace wistel::test {
namespace {

std::string header(int32_t blk = 1024, int32_t flag = 0) {
  return streamHeader() + longBytes(1) + stringBytes("C", 1) + stringBytes("D", 1) + longBytes(flag) +
         hex("00 00 00 00 C0 D5 E1 40") + longBytes(blk);
}
std::string str(std::string_view s) {
  return stringBytes(s, static_cast<int32_t>(rt::fromUtf8(s).size()));
}
std::string noon() { return hex("00 00 00 00 D0 D5 E1 40"); }
// A file record with one block holding `content`.
std::string fileRecord(std::string_view name, std::string_view content) {
  return str(name) + longBytes(32) + noon() + longBytes(1) + longBytes(0) +
         longBytes(static_cast<int32_t>(content.size()) - 1) + std::string(content);
}
// A folder body with the files and folders given as records.
std::string body(std::vector<std::string> files, std::vector<std::string> folders = {}) {
  std::string b = longBytes(static_cast<int32_t>(files.size())) + longBytes(static_cast<int32_t>(folders.size()));
  for (const auto& f : files) b += f;
  for (const auto& f : folders) b += f;
  return b;
}
std::string folderRecord(std::string_view name, std::string inner) { return str(name) + inner; }

class Hostile : public PackerTest {
 protected:
  Hostile() {
    fs::create_directories(at("sibling/inner"));
    writeFile(at("sibling/keep"), "keep");
    writeFile(at("sibling/inner/keep2"), "keep2");
  }

  // What lies under `top`: paths with their content or link.
  std::map<std::string, std::string> snapshot(const fs::path& top) {
    std::map<std::string, std::string> m;
    for (const auto& e : fs::recursive_directory_iterator(top)) {
      std::string rel = e.path().string().substr(top.string().size() + 1);
      m[rel] = e.is_symlink() ? "link " + fs::read_symlink(e.path()).string()
               : e.is_directory() ? "dir" : readFile(e.path());
    }
    return m;
  }

  // Unpacks `bytes` into U: refused with one error box, the sibling untouched.
  void refused(const std::string& bytes, const std::string& what) {
    SCOPED_TRACE(what);
    auto before = snapshot(root_);
    before.erase("t.pack");
    writeFile(at("t.pack"), bytes);
    size_t boxes = errors().size();
    EXPECT_FALSE(newPack()->startUnPack(u("U"), u("t.pack")));
    EXPECT_EQ(errors().size(), boxes + 1);
    auto after = snapshot(root_);
    for (auto it = after.begin(); it != after.end();)
      it = it->first == "t.pack" || it->first.starts_with("U") ? after.erase(it) : std::next(it);
    for (auto it = before.begin(); it != before.end();)
      it = it->first.starts_with("U") ? before.erase(it) : std::next(it);
    EXPECT_EQ(before, after);
    fs::remove_all(at("U"));
  }
};

TEST_F(Hostile, NamesThatLeaveTheFolder) {
  const std::string names[] = {"..", "../x", "a/b", "a\\b", "", ".", std::string("a\0b", 3),
                               "../../sibling/keep"};
  for (const std::string& n : names) {
    refused(header() + body({fileRecord(n, "evil")}), "file " + n);
    refused(header() + body({}, {folderRecord(n, body({fileRecord("x", "evil")}))}), "folder " + n);
  }
  // A good file before the bad name is written; the bad one is not.
  refused(header() + body({fileRecord("good", "ok"), fileRecord("..", "evil")}), "after a good one");
}

TEST_F(Hostile, ALinkInTheTargetIsNeverFollowed) {
  fs::create_directories(at("U"));
  fs::create_directory_symlink(at("sibling"), at("U/sub"));
  std::string pack = header() + body({}, {folderRecord("sub", body({fileRecord("keep", "evil"),
                                                                    fileRecord("new", "evil")}))});
  auto before = snapshot(at("sibling"));
  writeFile(at("t.pack"), pack);
  EXPECT_FALSE(newPack()->startUnPack(u("U"), u("t.pack")));
  EXPECT_EQ(snapshot(at("sibling")), before);
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_EQ(errors()[0], u"以下文件或文件夹未能写入：\r\n" + u("U") + u"/sub/");
  // A link named like a packed file is replaced, not written through.
  fs::remove(at("U/sub"));
  fs::create_symlink(at("sibling/keep"), at("U/keep"));
  writeFile(at("t.pack"), header() + body({fileRecord("keep", "new")}));
  EXPECT_TRUE(newPack()->startUnPack(u("U"), u("t.pack")));
  EXPECT_EQ(readFile(at("sibling/keep")), "keep");
  EXPECT_FALSE(fs::is_symlink(at("U/keep")));
  EXPECT_EQ(readFile(at("U/keep")), "new");
}

TEST_F(Hostile, CountsBoundsAndDatesThatCannotBe) {
  const int32_t kMax = 0x7FFFFFFF;
  refused(header() + longBytes(kMax) + longBytes(0), "2^31 - 1 files and nothing after");
  refused(header() + longBytes(0) + longBytes(kMax), "2^31 - 1 folders and nothing after");
  refused(header() + longBytes(-1) + longBytes(0), "a negative count");
  std::string record = str("f") + longBytes(32) + noon() + longBytes(1);
  refused(header() + body({record + longBytes(0) + longBytes(kMax - 1) + "x"}), "upper bound 2^31 - 2");
  refused(header() + body({record + longBytes(1) + longBytes(2) + "xx"}), "lower bound 1");
  refused(header() + body({record + longBytes(0) + longBytes(-1)}), "an empty block");
  refused(header(4) + body({fileRecord("f", "12345")}), "a block longer than BlkSize");
  refused(header(0) + body({fileRecord("f", "1")}), "a block with BlkSize 0");
  refused(header() + body({str("f") + longBytes(32) + hex("30 75 08 F7 9C 2F 3F 7E") + longBytes(0)}),
          "a date of 1E+300");
  refused(header() + body({str("f") + longBytes(32) + hex("00 00 00 00 00 00 F8 7F") + longBytes(0)}),
          "a date that is no number");
  refused(header() + body({str("f") + longBytes(32) + noon() + longBytes(-5)}), "a negative block count");
  refused(header() + body({str("f") + longBytes(32) + noon() + longBytes(kMax)}), "2^31 - 1 blocks");
  refused(header() + body({stringBytes("ab", 1000000)}), "a name longer than the pack");
}

TEST_F(Hostile, FoldersNestedTooDeep) {
  // 100,000 levels: refused at the 257th, long before the end.
  std::string pack = header();
  for (int i = 0; i < 100000; ++i) pack += longBytes(0) + longBytes(1) + str("d");
  pack += longBytes(0) + longBytes(0);
  refused(pack, "100,000 levels");
  ASSERT_FALSE(errors().empty());
  EXPECT_EQ(errors().back(), u"文件包已损坏：文件夹的层数超过 256");

  // 256 levels below the root still unpack.
  std::string deep = header();
  for (int i = 0; i < 256; ++i) deep += longBytes(0) + longBytes(1) + str("d");
  deep += longBytes(0) + longBytes(0);
  writeFile(at("deep.pack"), deep);
  EXPECT_TRUE(newPack()->startUnPack(u("D"), u("deep.pack")));
}

TEST_F(Hostile, PacksCutAtEveryOffset) {
  // The third golden pack (its password ends at offset 60), and a pack of
  // three levels.
  std::string golden = header(4, 3) + str("pw") + body({str("f") + longBytes(32) + noon() + longBytes(2) +
                                                      longBytes(0) + longBytes(3) + "abcd" +
                                                      longBytes(0) + longBytes(0) + "e"});
  ASSERT_EQ(golden.size(), 110u);
  std::string sample =
      header(3) + body({fileRecord("a", "xyz"), fileRecord("中文", "1")},
                       {folderRecord("one", body({fileRecord("b", "12")},
                                                 {folderRecord("two", body({fileRecord("c", "3")}))})),
                        folderRecord("空", body({}))});
  writeFile(at("whole.pack"), sample);
  ASSERT_TRUE(newPack()->startUnPack(u("W"), u("whole.pack")));
  EXPECT_EQ(readFile(at("W/one/two/c")), "3");
  for (size_t n = 0; n < golden.size(); ++n) {
    if (n >= 60) work_->expectPassword({u"pw"});
    refused(golden.substr(0, n), "golden cut at " + std::to_string(n));
  }
  for (size_t n = 0; n < sample.size(); ++n) refused(sample.substr(0, n), "sample cut at " + std::to_string(n));
  work_->checkAllAsked();
}

}  // namespace
}  // namespace wistel::test
