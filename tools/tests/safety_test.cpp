// zubrun under what a hostile script or a poor environment does to it: too
// little memory, a small stack, output that cannot be written, files that
// never end.  Every run, on either edition of the engine, ends with a
// report and a status, never a crash or a hang.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <string>

#include "process.h"

namespace {

using zubruntest::Limits;
using zubruntest::Outcome;
using zubruntest::runZubrun;
using zubruntest::TempDir;

std::string repeat(const std::string& s, int n) {
  std::string out;
  out.reserve(s.size() * static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

constexpr const char* kEditions[] = {"2", "1"};

Limits on(const char* edition) {
  Limits l;
  l.edition = edition;
  return l;
}
Limits addressSpace(rlim_t bytes, const char* edition) {
  Limits l = on(edition);
  l.addressSpace = bytes;
  return l;
}
Limits stack(rlim_t bytes, const char* edition) {
  Limits l = on(edition);
  l.stackBytes = bytes;
  return l;
}
Limits output(std::string to, const char* edition) {
  Limits l = on(edition);
  l.output = std::move(to);
  return l;
}

bool reports(const Outcome& o, const std::string& text) { return o.err.find(text) != std::string::npos; }

// --- Memory --------------------------------------------------------------

TEST(ZubrunSafety, MemoryRunningOutIsError7) {
  if (zubruntest::kSanitized) GTEST_SKIP() << "AddressSanitizer reserves more address space than the cap";
  TempDir dir;
  const rlim_t cap = rlim_t{512} << 20;
  struct Case {
    const char* what;
    std::string source;
  } cases[] = {
      {"a text too long", "s = String(300000000, \"a\")\r\nOutLine Len(s & s)\r\n"},
      {"compiling a line too long", "x = 1" + repeat(" + 1", 2500000) + "\r\n"},
  };
  for (const char* edition : kEditions) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + ", edition " + edition);
      Outcome o = runZubrun(dir.write("s.zub", c.source), addressSpace(cap, edition));
      EXPECT_EQ(o.status, 1) << o.err;
      EXPECT_TRUE(reports(o, "Number: 7\n")) << o.err;
    }
  }
}

// Each level of a one-line If passes the rest of the line on without
// copying it: 200,000 levels on one 2 MB line end at the block limit in
// memory that grows with the line only.
TEST(ZubrunSafety, NestingOnOneLongLineTakesLittleMemory) {
  TempDir dir;
  for (const char* edition : kEditions) {
    SCOPED_TRACE(std::string("edition ") + edition);
    Outcome o =
        runZubrun(dir.write("s.zub", repeat("If 1 Then ", 200000) + "OutLine 1\r\n"), on(edition));
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(reports(o, "语句块嵌套超过 256 层")) << o.err;
    // The sanitizer's shadow memory and red zones take about twice as much.
    EXPECT_LT(o.peakKb, (zubruntest::kSanitized ? 600 : 200) * 1024);
  }
}

// --- Stack ---------------------------------------------------------------

// The script runs on a stack of zubrun's own: nesting within the engine's
// limits runs whatever stack the shell gives (ulimit -s 192).
TEST(ZubrunSafety, DeepNestingRunsOnASmallShellStack) {
  TempDir dir;
  struct Case {
    const char* what;
    std::string source, output;
  } cases[] = {
      {"1000 minus signs", "x = " + repeat("-", 1000) + "1\r\nOutLine x\r\n", "1\n"},
      {"500 brackets", "x = " + repeat("(", 500) + "2" + repeat(")", 500) + "\r\nOutLine x\r\n", "2\n"},
      {"250 For", repeat("For i = 1 To 1\r\n", 250) + "OutLine 3\r\n" + repeat("Next\r\n", 250), "3\n"},
      {"250 If", repeat("If 1 Then\r\n", 250) + "OutLine 4\r\n" + repeat("End If\r\n", 250), "4\n"},
  };
  for (const char* edition : kEditions) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + ", edition " + edition);
      Outcome o = runZubrun(dir.write("s.zub", c.source), stack(rlim_t{192} << 10, edition));
      EXPECT_EQ(o.status, 0) << o.err << " signal " << o.signal;
      EXPECT_EQ(o.out, c.output);
    }
  }
}

// --- Files ---------------------------------------------------------------

// An include directive takes only a regular file: a pipe would wait for a
// writer for ever, a device could feed it without end.
TEST(ZubrunSafety, IncludeRefusesWhatIsNoRegularFile) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.at("fifo").c_str(), 0600), 0);
  for (const char* edition : kEditions) {
    for (const char* name : {"fifo", "/dev/zero", "."}) {
      SCOPED_TRACE(std::string(name) + ", edition " + edition);
      Outcome o = runZubrun(
          dir.write("s.zub", std::string("OutLine 1\r\n#include \"") + name + "\"\r\nOutLine 2\r\n"),
          on(edition));
      EXPECT_EQ(o.status, 1);
      EXPECT_EQ(o.out, "1\n");
      EXPECT_TRUE(reports(o, "Number: 75\n")) << o.err;
      EXPECT_TRUE(reports(o, "不是普通文件")) << o.err;
    }
  }
}

// --- Output --------------------------------------------------------------

TEST(ZubrunSafety, OutputThatCannotBeWrittenEndsTheRunWithAReport) {
  TempDir dir;
  struct Case {
    const char* what;
    std::string source;
  } cases[] = {
      {"a little output, written at the end", "OutLine 1\r\nOutLine 2\r\n"},
      {"much output, failing on the way",
       "For i = 1 To 100000\r\n  OutLine i\r\nNext\r\nx = CreateObject(\"NoSuch.Class\")\r\n"},
  };
  for (const char* edition : kEditions) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + ", edition " + edition);
      Outcome o = runZubrun(dir.write("s.zub", c.source), output("/dev/full", edition));
      EXPECT_EQ(o.status, 1);
      // The failed write is what is reported, not a later error of the script.
      EXPECT_TRUE(reports(o, "Number: 61\n")) << o.err;
      EXPECT_TRUE(reports(o, "不能写出到标准输出")) << o.err;
    }
  }
}

TEST(ZubrunSafety, AClosedPipeEndsTheRunQuietly) {
  TempDir dir;
  for (const char* edition : kEditions) {
    Outcome o = runZubrun(dir.write("s.zub", "Do While 1\r\n  OutLine \"y\"\r\nLoop\r\n"),
                          output("pipe-closed", edition));
    EXPECT_EQ(o.signal, SIGPIPE) << edition;
    EXPECT_EQ(o.err, "") << edition;
  }
}

}  // namespace
