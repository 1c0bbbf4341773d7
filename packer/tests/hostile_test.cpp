// Damaged and hostile packs: each is refused with the error box, nothing is
// written outside the target, and nothing crashes, hangs or asks for memory
// out of proportion.
#include <map>

#include "rt/strings.h"
#include "rt/text.h"

#include "testpacks.h"

namespace wistel::test {
namespace {

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
    refused(packHeader() + folderBody({fileRecord(n, "evil")}), "file " + n);
    refused(packHeader() + folderBody({}, {folderRecord(n, folderBody({fileRecord("x", "evil")}))}), "folder " + n);
  }
  // A good file before the bad name is written; the bad one is not.
  refused(packHeader() + folderBody({fileRecord("good", "ok"), fileRecord("..", "evil")}), "after a good one");
}

TEST_F(Hostile, ALinkInTheTargetIsNeverFollowed) {
  fs::create_directories(at("U"));
  fs::create_directory_symlink(at("sibling"), at("U/sub"));
  std::string pack = packHeader() + folderBody({}, {folderRecord("sub", folderBody({fileRecord("keep", "evil"),
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
  writeFile(at("t.pack"), packHeader() + folderBody({fileRecord("keep", "new")}));
  EXPECT_TRUE(newPack()->startUnPack(u("U"), u("t.pack")));
  EXPECT_EQ(readFile(at("sibling/keep")), "keep");
  EXPECT_FALSE(fs::is_symlink(at("U/keep")));
  EXPECT_EQ(readFile(at("U/keep")), "new");
}

TEST_F(Hostile, CountsBoundsAndDatesThatCannotBe) {
  const int32_t kMax = 0x7FFFFFFF;
  refused(packHeader() + longBytes(kMax) + longBytes(0), "2^31 - 1 files and nothing after");
  refused(packHeader() + longBytes(0) + longBytes(kMax), "2^31 - 1 folders and nothing after");
  refused(packHeader() + longBytes(-1) + longBytes(0), "a negative count");
  std::string record = packString("f") + longBytes(32) + noonDate() + longBytes(1);
  refused(packHeader() + folderBody({record + longBytes(0) + longBytes(kMax - 1) + "x"}), "upper bound 2^31 - 2");
  refused(packHeader() + folderBody({record + longBytes(1) + longBytes(2) + "xx"}), "lower bound 1");
  refused(packHeader() + folderBody({record + longBytes(0) + longBytes(-1)}), "an empty block");
  refused(packHeader(4) + folderBody({fileRecord("f", "12345")}), "a block longer than BlkSize");
  refused(packHeader(0) + folderBody({fileRecord("f", "1")}), "a block with BlkSize 0");
  refused(packHeader() + folderBody({packString("f") + longBytes(32) + hex("30 75 08 F7 9C 2F 3F 7E") + longBytes(0)}),
          "a date of 1E+300");
  refused(packHeader() + folderBody({packString("f") + longBytes(32) + hex("00 00 00 00 00 00 F8 7F") + longBytes(0)}),
          "a date that is no number");
  refused(packHeader() + folderBody({packString("f") + longBytes(32) + noonDate() + longBytes(-5)}), "a negative block count");
  refused(packHeader() + folderBody({packString("f") + longBytes(32) + noonDate() + longBytes(kMax)}), "2^31 - 1 blocks");
  refused(packHeader() + folderBody({stringBytes("ab", 1000000)}), "a name longer than the pack");
}

// Packs whose names cannot be written, or would drive a terminal: the run
// fails with one error box that shows control characters escaped and names
// at most 20 entries, however many there are.
TEST_F(Hostile, NamesShownEscapedAndCountedNotKept) {
  const std::string esc = "x\x1b[31m\ry";
  struct Case {
    std::string what;
    std::string pack;
    std::u16string box;  // the error box's message, or its first line
    std::u16string last;   // its last line, when not the whole message
  };
  const std::u16string missed = u"以下文件或文件夹未能写入：";
  std::u16string deepPath = u("U") + u"/";
  for (int i = 0; i < 254; ++i) deepPath += u"nnnnnnnnnn/";
  const Case cases[] = {
      {"a name with ESC and CR that cannot be made",
       packHeader() + folderBody({fileRecord(esc, "1")}, {folderRecord(esc, folderBody({}))}),
       missed + u"\r\n" + u("U") + u"/x\\x1B[31m\\x0Dy/", {}},
      {"an unusable name with control characters",
       packHeader() + folderBody({fileRecord("\x1b[1m/evil", "1")}),
       u"文件包已损坏：[\\x1B[1m/evil]：名称中含有路径分隔符或空字符", {}},
      {"a zero character", packHeader() + folderBody({fileRecord(std::string("a\0b", 3), "1")}),
       u"文件包已损坏：[a\\x00b]：名称中含有路径分隔符或空字符", {}},
      {"254 levels, then 4,000 folders named like a file", amplificationPack(254, 10, 4000),
       missed, u"……共 4000 个"},
  };
  for (const Case& c : cases) {
    refused(c.pack, c.what);
    ASSERT_FALSE(errors().empty());
    const std::u16string box = errors().back();
    if (c.last.empty()) {
      EXPECT_EQ(box, c.box) << c.what;
      continue;
    }
    std::vector<std::u16string_view> lines = rt::splitLines(box);
    ASSERT_EQ(lines.size(), 22u) << c.what;  // the lead, 20 names, the count
    EXPECT_EQ(lines.front(), c.box);
    EXPECT_EQ(lines[1], deepPath + u"f/");
    EXPECT_EQ(lines.back(), c.last);
  }
  // Nor do the progress rows show a control character.
  for (const std::u16string& line : work_->transcript())
    for (char16_t ch : line) EXPECT_TRUE(ch >= 0x20 && (ch < 0x7F || ch >= 0xA0)) << rt::toUtf8(line);
}

TEST_F(Hostile, FoldersNestedTooDeep) {
  // 100,000 levels: refused at the 257th, long before the end.
  std::string pack = packHeader();
  for (int i = 0; i < 100000; ++i) pack += longBytes(0) + longBytes(1) + packString("d");
  pack += longBytes(0) + longBytes(0);
  refused(pack, "100,000 levels");
  ASSERT_FALSE(errors().empty());
  EXPECT_EQ(errors().back(), u"文件包已损坏：文件夹的层数超过 256");

  // 256 levels below the root still unpack.
  std::string deep = packHeader();
  for (int i = 0; i < 256; ++i) deep += longBytes(0) + longBytes(1) + packString("d");
  deep += longBytes(0) + longBytes(0);
  writeFile(at("deep.pack"), deep);
  EXPECT_TRUE(newPack()->startUnPack(u("D"), u("deep.pack")));
}

TEST_F(Hostile, PacksCutAtEveryOffset) {
  // The third golden pack (its password ends at offset 60), and a pack of
  // three levels.
  std::string golden = packHeader(4, 3) + packString("pw") + folderBody({packString("f") + longBytes(32) + noonDate() + longBytes(2) +
                                                      longBytes(0) + longBytes(3) + "abcd" +
                                                      longBytes(0) + longBytes(0) + "e"});
  ASSERT_EQ(golden.size(), 110u);
  std::string sample =
      packHeader(3) + folderBody({fileRecord("a", "xyz"), fileRecord("中文", "1")},
                       {folderRecord("one", folderBody({fileRecord("b", "12")},
                                                 {folderRecord("two", folderBody({fileRecord("c", "3")}))})),
                        folderRecord("空", folderBody({}))});
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
