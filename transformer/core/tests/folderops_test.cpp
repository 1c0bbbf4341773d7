// The folder helpers against cp -r, rm -r and mkdir -p on a generated tree,
// and their refusals, which leave everything outside the named tree as it
// was.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "marlox/folderops.h"
#include "rig.h"

namespace {

using marloxtest::shell;
using marloxtest::TempDir;

// A tree of files and folders, with what DirCopy leaves out: names
// starting with ".", a link to a folder, a pipe.
void generate(const TempDir& d, const std::string& top) {
  std::string root = d.path() + "/" + top;
  ASSERT_EQ(shell("mkdir -p '" + root + "/一/二/三' '" + root + "/b/empty' '" + root + "/.dot' && cd '" + root +
                  "' && for i in 1 2 3; do head -c $((i * 7919)) /dev/urandom > f$i.bin; "
                  "printf 'text %s\\r\\n' $i > 一/t$i.txt; cp f$i.bin 一/二/三/g$i; done && "
                  "echo hidden > .h && echo hidden > 一/.h && ln -s 一 linkdir && ln -s f1.bin linkfile && "
                  "mkfifo pipe && chmod 640 f2.bin"),
            0);
}

// The listing of a tree: every entry with its kind and mode, and the size
// of every file.
std::string listing(const std::string& folder) {
  return marloxtest::capture("cd '" + folder + "' && find . -type f -printf '%p %s %m\\n' -o -printf '%p %y %m\\n' | sort");
}

TEST(FolderOps, DirCopyMatchesCpWithoutWhatItLeavesOut) {
  TempDir d;
  generate(d, "src");
  auto ui = rt::make<rt::ScriptedHost>();
  rt::ScopedUiHost installed(ui);
  EXPECT_TRUE(marlox::dirCopy(d.name("src"), d.name("out/copy")));
  // cp -r, then without dot names, folder links and the pipe.
  ASSERT_EQ(shell("cd '" + d.path() + "' && cp -r src ref && find ref -name '.*' -prune -exec rm -rf {} + && "
                  "rm ref/linkdir ref/pipe && rm ref/linkfile && cp src/f1.bin ref/linkfile"),
            0);
  EXPECT_EQ(shell("diff -r '" + d.path() + "/ref' '" + d.path() + "/out/copy'"), 0);
  EXPECT_EQ(listing(d.path() + "/ref"), listing(d.path() + "/out/copy"));
  // Copying again replaces the files; backslashes and a trailing one work.
  d.write("src/f3.bin", "changed");
  EXPECT_TRUE(marlox::dirCopy(d.name("src\\"), d.name("out\\copy")));
  EXPECT_EQ(d.read("out/copy/f3.bin"), "changed");
  ui->checkAllAsked();
}

TEST(FolderOps, DirCopyRefusesATargetInsideTheSource) {
  TempDir d;
  generate(d, "src");
  ASSERT_EQ(shell("ln -s '" + d.path() + "/src/b' '" + d.path() + "/into'"), 0);
  const std::string before = listing(d.path());
  for (const char* target : {"src", "src/", "src/b/new", "src/一/../b", "into/x", "./src/./b"}) {
    auto ui = rt::make<rt::ScriptedHost>();
    rt::ScopedUiHost installed(ui);
    std::u16string folder = marlox::folderWithBackslash(d.name(target));
    ui->expectMessageBox(
        u"程序运行时出现以下错误，如一直不能解决，请与开发者联系：\r\n\r\n目标路径[" + folder + u"]不能被建立。", 1);
    EXPECT_FALSE(marlox::dirCopy(d.name("src"), d.name(target))) << target;
    ui->checkAllAsked();
  }
  EXPECT_EQ(listing(d.path()), before);
}

TEST(FolderOps, DirCopyReportsATargetThatCannotBeMade) {
  TempDir d;
  d.write("file", "x");
  d.write("src/a", "a");
  auto ui = rt::make<rt::ScriptedHost>();
  rt::ScopedUiHost installed(ui);
  ui->expectMessageBox(u"程序运行时出现以下错误，如一直不能解决，请与开发者联系：\r\n\r\n目标路径[" + d.name("file/sub/") +
                           u"]不能被建立。",
                       1);
  EXPECT_FALSE(marlox::dirCopy(d.name("src"), d.name("file/sub")));
  EXPECT_EQ(ui->beeps(), 1);
  EXPECT_EQ(ui->asked()[0].title, u"Pelmora文本变换器 运行错误");
  ui->checkAllAsked();
}

TEST(FolderOps, RemoveDirMatchesRmWithoutDotNames) {
  TempDir d;
  ASSERT_EQ(shell("mkdir -p '" + d.path() + "/t/a/b/c' '" + d.path() + "/outside' && cd '" + d.path() +
                  "' && echo 1 > t/x && echo 2 > t/a/b/c/y && echo keep > outside/z && ln -s ../outside t/a/link && "
                  "ln -s ../../outside/z t/a/flink && mkfifo t/a/pipe"),
            0);
  EXPECT_TRUE(marlox::removeDir(d.name("t/")));  // a trailing separator is fine
  EXPECT_FALSE(d.exists("t"));
  EXPECT_EQ(d.read("outside/z"), "keep\n");  // links removed as links

  // A name starting with "." stays, and so does its folder.
  ASSERT_EQ(shell("mkdir -p '" + d.path() + "/h/sub' && echo s > '" + d.path() + "/h/sub/.secret' && echo v > '" +
                  d.path() + "/h/visible'"),
            0);
  EXPECT_FALSE(marlox::removeDir(d.name("h")));
  EXPECT_EQ(d.read("h/sub/.secret"), "s\n");
  EXPECT_FALSE(d.exists("h/visible"));

  // A read-only file stays.
  d.write("r/ro", "ro");
  ASSERT_EQ(shell("chmod a-w '" + d.path() + "/r/ro'"), 0);
  EXPECT_FALSE(marlox::removeDir(d.name("r")));
  EXPECT_EQ(d.read("r/ro"), "ro");
}

TEST(FolderOps, RemoveDirRefusesProtectedFoldersAndRemovesALinkAsALink) {
  TempDir d;
  d.write("home/keep", "k");
  d.write("target/keep", "k");
  ASSERT_EQ(shell("ln -s '" + d.path() + "/target' '" + d.path() + "/link'"), 0);
  std::string oldHome = getenv("HOME") ? getenv("HOME") : "";
  setenv("HOME", (d.path() + "/home").c_str(), 1);
  EXPECT_FALSE(marlox::removeDir(d.name("home")));
  EXPECT_FALSE(marlox::removeDir(d.name("home/.")));
  EXPECT_FALSE(marlox::removeDir(u""));  // the root of the file system
  setenv("HOME", oldHome.c_str(), 1);
  EXPECT_EQ(d.read("home/keep"), "k");
  EXPECT_TRUE(marlox::removeDir(d.name("link")));
  EXPECT_FALSE(d.exists("link"));
  EXPECT_EQ(d.read("target/keep"), "k");
  EXPECT_FALSE(marlox::removeDir(d.name("missing")));
}

TEST(FolderOps, MakePathMatchesMkdirP) {
  TempDir d;
  d.write("file", "x");
  ASSERT_EQ(shell("cd '" + d.path() + "' && mkdir -p ref/a/b/c ref/中文/d"), 0);
  EXPECT_TRUE(marlox::makePath(d.name("mine/a/b/c")));
  EXPECT_TRUE(marlox::makePath(d.name("mine\\中文\\d\\")));
  EXPECT_TRUE(marlox::makePath(d.name("mine/a")));  // all there: nothing made
  EXPECT_TRUE(marlox::makePath(u""));
  EXPECT_EQ(listing(d.path() + "/ref"), listing(d.path() + "/mine"));
  EXPECT_FALSE(marlox::makePath(d.name("file/below")));
}

}  // namespace
