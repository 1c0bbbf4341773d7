// The whole program under Xvfb, as a user runs it: transformer/tests/
// smoke.drive on a new program folder, while xdotool looks for the window.
#include <gtest/gtest.h>

#include <QImage>
#include <QSet>
#include <string>

#include "rig.h"

namespace {

using marloxtest::shell;

bool have(const char* program) { return shell(std::string("command -v ") + program + " >/dev/null 2>&1") == 0; }

// In the sanitizer build, leaks of the desktop's libraries are not the
// program's (lsan.supp).  Under Xvfb some are known only by a function of
// Qt's, which keeps no frame pointers: their stacks are taken the slow way.
constexpr const char* kXvfbLeaks =
    "LSAN_OPTIONS=suppressions='" MARLOX_LSAN_SUPPRESSIONS "':fast_unwind_on_malloc=0 ";

TEST(Smoke, TheProgramUnderXvfb) {
#ifndef MARLOX_REAL_APPLICATION
  GTEST_SKIP() << "the first-edition Application is not built";
#endif
  if (!have("xvfb-run") || !have("xdotool")) GTEST_SKIP() << "xvfb-run or xdotool is missing";
  marloxtest::TempDir tmp;
  const std::string command =
      "cd '" + tmp.path() + "' && " + kXvfbLeaks + "timeout 120 xvfb-run -a -s '-screen 0 1280x800x24' sh -c '"
      "\"$0\" --home \"$1/home\" --drive \"$2\" 2> \"$1/stderr\" & pid=$!; "
      "timeout 30 xdotool search --sync --name \"Pelmora文本变换器\" > \"$1/found\"; wait $pid' "
      "'" MARLOX_PROGRAM "' '" + tmp.path() + "' '" MARLOX_SMOKE_DRIVE "'";
  EXPECT_EQ(shell(command), 0) << tmp.read("stderr");
  EXPECT_FALSE(tmp.read("found").empty()) << "xdotool did not find the window";
  QImage shot(QString::fromStdString(tmp.path() + "/home/smoke.png"));
  ASSERT_FALSE(shot.isNull());
  EXPECT_EQ(shot.size(), QSize(1280, 800));
  QSet<QRgb> colours;
  for (int y = 0; y < shot.height(); y += 2)
    for (int x = 0; x < shot.width(); x += 2) colours.insert(shot.pixel(x, y));
  EXPECT_GT(colours.size(), 50);
  // The first start made the second script folder (the first-run event).
  EXPECT_TRUE(tmp.exists("home/我的脚本"));
  EXPECT_NE(tmp.read("home/Marlox.ini").find("2=" + tmp.path() + "/home/我的脚本|我的脚本"), std::string::npos);
}

// Files in CP936, UTF-16 and UTF-8 with its mark, opened and saved as they
// are, keep their bytes; binary data is not written without a Yes; a file
// that cannot be written (read-only: the program refuses it even as root)
// keeps its bytes behind the error box.
TEST(Drive, UnchangedFilesSaveByteForByte) {
  marloxtest::TempDir tmp;
  const std::string cp936 = "\xd6\xd0\xce\xc4\r\n\xb5\xda\xb6\xfe\xd0\xd0\r\n";
  const std::string utf16("\xff\xfe\x2d\x4e\x87\x65\n\0\x2c\x7b\x8c\x4e\x4c\x88", 14);
  const std::string utf8bom = "\xef\xbb\xbf中文\n第二行";
  const std::string binary("\x7f" "ELF\x02\x01\x01\0\0\0\xff\xfe\r\x80\n\xc3", 16);
  const std::string readonly = "old\r\n";
  tmp.write("cp936.txt", cp936);
  tmp.write("utf16.txt", utf16);
  tmp.write("utf8bom.txt", utf8bom);
  tmp.write("binary.bin", binary);
  tmp.write("readonly.txt", readonly);
  tmp.write("encodings.drive", marloxtest::TempDir::readFile(MARLOX_ENCODINGS_DRIVE));
  ASSERT_EQ(shell("chmod 444 '" + tmp.path() + "/readonly.txt'"), 0);
  const std::string command = "cd '" + tmp.path() + "' && LSAN_OPTIONS=suppressions='" MARLOX_LSAN_SUPPRESSIONS
                              "' QT_QPA_PLATFORM=offscreen timeout 120 '" MARLOX_PROGRAM
                              "' --home home --drive encodings.drive 2> stderr";
  EXPECT_EQ(shell(command), 0) << tmp.read("stderr");
  EXPECT_EQ(tmp.read("cp936.txt"), cp936);
  EXPECT_EQ(tmp.read("utf16.txt"), utf16);
  EXPECT_EQ(tmp.read("utf8bom.txt"), utf8bom);
  EXPECT_EQ(tmp.read("binary.bin"), binary);
  EXPECT_EQ(tmp.read("readonly.txt"), readonly);
}

// A file with two names saved: both hold the new text, still one file.  A
// CP936 file with three bad bytes opens with its Chinese, and a Yes at the
// save loses only those bytes.
TEST(Drive, SavesKeepLinksAndLoseOnlyBadBytes) {
  marloxtest::TempDir tmp;
  tmp.write("a.txt", "old\n");
  tmp.write("bad.txt", "\xd6\xd0\xff\xce\xc4\r\n\xb5\xda\xb6\xfe\x81\r\n\xd0\xd0\xff");
  tmp.write("files.drive", "open a.txt\ntype new \naction mmFiles_3\nopen bad.txt\n"
                           "expect-text 中\uFFFD文\\n第二\uFFFD\\n行\uFFFD\nanswer yes\naction mmFiles_3\nclose\n");
  const std::string command = "cd '" + tmp.path() + "' && ln a.txt b.txt && LSAN_OPTIONS=suppressions='" MARLOX_LSAN_SUPPRESSIONS
                              "' QT_QPA_PLATFORM=offscreen timeout 120 '" MARLOX_PROGRAM
                              "' --home home --drive files.drive 2> stderr && test a.txt -ef b.txt";
  EXPECT_EQ(shell(command), 0) << tmp.read("stderr");
  EXPECT_EQ(tmp.read("b.txt"), "new old\n");
  EXPECT_EQ(tmp.read("bad.txt"), "\xd6\xd0?\xce\xc4\r\n\xb5\xda\xb6\xfe?\r\n\xd0\xd0?");
}

// Runs the drive file `drive` of `tmp` on a file system mounted on "disk"
// by `mount`, in namespaces of the test's own, where "disk/a.txt" (8192
// "x", two pages) has a second name "disk/b.txt"; `before` runs just before
// the program.  When both names are still one file, "kept" is a copy of it.
// The shell's status.
int driveOnOwnMount(const marloxtest::TempDir& tmp, const std::string& mount, const std::string& before,
                    const std::string& drive) {
  return shell("cd '" + tmp.path() + "' && mkdir disk && LSAN_OPTIONS=suppressions='" MARLOX_LSAN_SUPPRESSIONS
               "' QT_QPA_PLATFORM=offscreen timeout 120 unshare -rm sh -c '" + mount + " disk && "
               "printf %8192s | tr \" \" x > disk/a.txt && ln disk/a.txt disk/b.txt && { " + before +
               " \"$0\" --home home --drive " + drive + " 2> stderr; } && test disk/a.txt -ef disk/b.txt && "
               "cp disk/b.txt kept' '" MARLOX_PROGRAM "'");
}

// On a full disk (a small tmpfs) the save of a file with two names fails
// with the box and leaves it byte for byte.
TEST(Drive, AFullDiskLeavesALinkedFileAsItWas) {
  if (shell("unshare -rm true 2>/dev/null") != 0) GTEST_SKIP() << "no namespace to mount a tmpfs in";
  marloxtest::TempDir tmp;
  tmp.write("full.drive", "open disk/a.txt\ntype !\nanswer ok\naction mmFiles_3\nanswer no\nclose\n");
  EXPECT_EQ(driveOnOwnMount(tmp, "mount -t tmpfs -o size=64k tmpfs", "cat /dev/zero > disk/fill 2>/dev/null;",
                            "full.drive"), 0)
      << tmp.read("stderr");
  EXPECT_EQ(tmp.read("kept"), std::string(8192, 'x'));  // one more byte needs a third page
}

// On ramfs, which allocates nothing ahead (as NFSv3 and many FUSE file
// systems), a file with two names saves shorter, then longer, by more than
// a page, and stays one file.
TEST(Drive, ALinkedFileSavesOnRamfs) {
  if (shell("unshare -rm true 2>/dev/null") != 0) GTEST_SKIP() << "no namespace to mount a ramfs in";
  marloxtest::TempDir tmp;
  const std::string grown(6000, 'g');
  tmp.write("ram.drive", "open disk/a.txt\nselect-all\ntype short\naction mmFiles_3\n"
                         "select-all\ntype " + grown + "\naction mmFiles_3\nclose\n");
  EXPECT_EQ(driveOnOwnMount(tmp, "mount -t ramfs ramfs", "", "ram.drive"), 0) << tmp.read("stderr");
  EXPECT_EQ(tmp.read("kept"), grown);
}

// A line far longer than the editor's pieces: keys typed where pieces meet
// and the save leave exactly the line breaks of the file and the one typed.
TEST(Drive, ALongLineSavesAsTyped) {
  marloxtest::TempDir tmp;
  std::string line;
  for (int i = 0; i < 3 * 8192 + 100; ++i) line += static_cast<char>('a' + i % 26);
  std::string want = "head\r\n" + line + "\r\nlast\r\n";
  tmp.write("long.txt", want);
  // Editor positions count "\n" for the file's "\r\n": one less than the
  // file's bytes in the second line.
  tmp.write("long.drive", "open long.txt\nselect 8197 0\ntype AB\nselect 16391 0\ntype C\\nD\n"
                          "select 8198 2\ntype E\naction mmFiles_3\nclose\n");
  want.insert(8198, "AB");
  want.insert(16392, "C\r\nD");
  want.replace(8199, 2, "E");
  const std::string command = "cd '" + tmp.path() + "' && LSAN_OPTIONS=suppressions='" MARLOX_LSAN_SUPPRESSIONS
                              "' QT_QPA_PLATFORM=offscreen timeout 120 '" MARLOX_PROGRAM
                              "' --home home --drive long.drive 2> stderr";
  EXPECT_EQ(shell(command), 0) << tmp.read("stderr");
  EXPECT_TRUE(tmp.read("long.txt") == want);
}

// Shift+Enter in a short line, at the end of a long line's piece and at the
// start of the next saves the file's own line break, as Enter does; so does
// Shift+Enter in a CP936 file (no question about characters it cannot
// hold); a line separator the file holds is saved as it was.
TEST(Drive, ShiftEnterSavesTheFilesOwnLineBreak) {
  marloxtest::TempDir tmp;
  std::string line;
  for (int i = 0; i < 3 * 8192 + 100; ++i) line += static_cast<char>('a' + i % 26);
  // The text as the editor holds it, before and after the keys.
  const std::string before = "head\n" + line + "\nlast\n";
  std::string after = before;
  after.insert(2, "\n");
  after.insert(16390, "\n");
  after.insert(8198, "\n");
  auto withBreaks = [](std::string text, const std::string& lineEnd) {
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += lineEnd.size())
      text.replace(at, 1, lineEnd);
    return text;
  };
  tmp.write("crlf.txt", withBreaks(before, "\r\n"));
  tmp.write("lf.txt", before);
  tmp.write("cp936.txt", "\xd6\xd0\xce\xc4\r\n");
  tmp.write("separator.txt", "a\xe2\x80\xa8" "b\n");
  std::string drive;
  for (const char* name : {"crlf.txt", "lf.txt"}) {
    // The second soft break from its end, the first from its start (the
    // arrows step over a soft break).
    drive += std::string("open ") + name + "\nselect 2 0\nkey Shift+Return\nselect 16390 0\nkey Shift+Return\n"
             "select 8198 0\nkey Right\nkey Left\nkey Shift+Return\naction mmFiles_3\n";
  }
  drive += "open cp936.txt\nselect 1 0\nkey Shift+Return\naction mmFiles_3\n"
           "open separator.txt\nselect 0 0\ntype x\naction mmFiles_3\nclose\n";
  tmp.write("keys.drive", drive);
  const std::string command = "cd '" + tmp.path() + "' && LSAN_OPTIONS=suppressions='" MARLOX_LSAN_SUPPRESSIONS
                              "' QT_QPA_PLATFORM=offscreen timeout 120 '" MARLOX_PROGRAM
                              "' --home home --drive keys.drive 2> stderr";
  EXPECT_EQ(shell(command), 0) << tmp.read("stderr");
  EXPECT_TRUE(tmp.read("crlf.txt") == withBreaks(after, "\r\n"));
  EXPECT_TRUE(tmp.read("lf.txt") == after);
  EXPECT_EQ(tmp.read("cp936.txt"), "\xd6\xd0\r\n\xce\xc4\r\n");
  EXPECT_EQ(tmp.read("separator.txt"), "xa\xe2\x80\xa8" "b\n");
}

// 文件 → 退出, or a drive's close, while a script started from the tree
// runs: the script stops at its next yield, whatever loop it is in, and
// runs no further line; a command it waits for is ended with what that
// started; the save question and the quit event come as usual, and the
// program ends with status 0.
TEST(Smoke, ExitWhileAScriptRunsStopsIt) {
#ifndef MARLOX_REAL_APPLICATION
  GTEST_SKIP() << "the first-edition Application is not built";
#endif
  if (!have("xvfb-run")) GTEST_SKIP() << "xvfb-run is missing";
  const std::string loop = "n = 0\nDo While 1 = 1\nn = n + 1\nLoop\n";
  struct Case {
    const char* name;
    std::string script;
    const char* exit;
  } cases[] = {
      {"loop", loop, "action mmExit"},
      {"for each", "Dim c As Collection\nc.Add 1\nFor Each a In c\nc.Add a\nNext\n", "action mmExit"},
      {"4000 x 4000",
       "Dim c As Collection\nFor i = 1 To 4000\nc.Add i\nNext\nFor Each a In c\nFor Each b In c\nNext\nNext\n",
       "action mmExit"},
      {"wait",
       "Application.ExecCmd \"sh -c \" & Chr(34) & \"trap '' TERM; sleep 60 & echo $! > started; echo $$ > child; "
       "wait\" & Chr(34)\n",
       "action mmExit"},
      {"drive close", loop, "close"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    marloxtest::TempDir tmp;
    const std::string home = tmp.path() + "/home";
    tmp.write("home/Marlox.ini", "[Main]\nIsFirstRun=0\n[Events]\nQuit=quit.zub\n[zubDirList]\n1=" + home + "/s\n");
    tmp.write("home/quit.zub", "Application.MDir Application.gSysPath & \"quit-ran\"\n");
    tmp.write("home/s/run.zub", c.script + "MkDir Application.gSysPath & \"after-ran\"\n");
    // The answer is the save question's: a box of the script would take
    // it and leave the question without one.
    tmp.write("exit.drive", std::string("type changed\nnode s/run.zub\nanswer no\naction tBar_exec\nwait 1000\n") +
                                c.exit + "\n");
    const std::string command = "cd '" + tmp.path() + "' && " + kXvfbLeaks +
                                "timeout 60 xvfb-run -a -s '-screen 0 1280x800x24' '" MARLOX_PROGRAM "' --home '" +
                                home + "' --drive exit.drive 2> stderr";
    EXPECT_EQ(shell(command), 0) << tmp.read("stderr");
    EXPECT_TRUE(tmp.exists("home/quit-ran"));
    EXPECT_FALSE(tmp.exists("home/after-ran"));
    if (std::string(c.name) != "wait") continue;
    for (const char* pidFile : {"child", "started"}) {
      std::string pid = tmp.read(pidFile);
      ASSERT_FALSE(pid.empty()) << pidFile;
      EXPECT_TRUE(marloxtest::processEnded(pid)) << pidFile << " still runs";
    }
  }
}

}  // namespace
