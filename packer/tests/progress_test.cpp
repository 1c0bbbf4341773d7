// The progress levels, as the work host sees them.
#include "progress.h"

#include "testpacks.h"

namespace wistel::test {
namespace {

using Lines = std::vector<std::u16string>;

class ProgressTest : public PackerTest {
 protected:
  // The scripted host as the UI host too, so yields show in the transcript.
  rt::ScopedUiHost yields_{work_};

  // The transcript without the row-count lines.
  Lines rowsAndYields() {
    Lines out;
    for (const std::u16string& l : work_->transcript())
      if (!l.starts_with(u"rows ")) out.push_back(l);
    return out;
  }
};

TEST_F(ProgressTest, LevelsMakeRowsThatStayAndAreUsedAgain) {
  {
    Progress p(u"正在打包...");
    p.push(u"/", 3);
    p.push(u"sub", 0);  // a maximum below 1 is 1
    p.push(u"f", 2);
    p.addValue();
    p.setValue(2);
    for (int i = 0; i < 3; ++i) p.pop();
    p.pop();  // nothing open: nothing happens
    p.addValue();
    p.push(u"again", 5);
  }
  EXPECT_EQ(work_->transcript(),
            (Lines{u"open", u"caption 正在打包...",
                   u"rows 1", u"row 1 / 0/3", u"yield",
                   u"rows 2", u"row 2 sub 0/1", u"yield",
                   u"rows 3", u"row 3 f 0/2", u"yield",
                   u"row 3 f 1/2", u"row 3 f 2/2", u"yield",
                   u"row 3  0/2", u"row 2  0/1", u"row 1  0/3",
                   u"row 1 again 0/5", u"yield", u"close"}));
  ASSERT_EQ(work_->rows().size(), 3u);
  EXPECT_EQ(work_->rows()[1].label, u"");
  EXPECT_EQ(work_->rows()[1].value, 0);
}

TEST_F(ProgressTest, APackRunNestsRootFolderFileAndYieldsOncePerLevel) {
  fs::create_directories(at("T/sub"));
  writeFile(at("T/x"), "12345");
  writeFile(at("T/sub/y"), "");
  auto p = newPack();
  p->info()->setBlkSize(2);
  ASSERT_TRUE(p->startPack(u("T"), u("t.pack")));
  EXPECT_EQ(rowsAndYields(),
            (Lines{u"open", u"caption 正在打包...",
                   u"row 1 / 0/2", u"yield",
                   u"row 2 x 0/3", u"yield", u"row 2 x 1/3", u"row 2 x 2/3", u"row 2 x 3/3",
                   u"row 2  0/3", u"row 1 / 1/2",
                   u"row 2 sub 0/1", u"yield",
                   u"row 3 y 0/1", u"yield", u"row 3  0/1", u"row 2 sub 1/1",
                   u"row 2  0/1", u"row 1 / 2/2", u"row 1  0/2", u"close"}));
  // One yield for each Push (two folders, two files), none for the blocks.
  EXPECT_EQ(work_->yields(), 4);

  // Unpacking walks the same levels.
  Lines packing = rowsAndYields();
  ASSERT_TRUE(newPack()->startUnPack(u("U"), u("t.pack")));
  Lines both = rowsAndYields();
  Lines unpacking(both.begin() + static_cast<long>(packing.size()), both.end());
  packing[1] = u"caption 正在展开包...";
  EXPECT_EQ(unpacking, packing);
  EXPECT_TRUE(work_->asked().empty());
}

}  // namespace
}  // namespace wistel::test
