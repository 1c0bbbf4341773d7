// The page compiler: page text through the engine's compiler into a stream,
// which a host then runs.
#include "qelcompile.h"

#include <gtest/gtest.h>

#include "pagetest.h"
#include "rt/error.h"
#include "rt/testing.h"

namespace {

using pagetest::newMemStream;
using pagetest::runStream;

struct Compiled {
  rt::Ref<halvorn::QelCompile> compiler = rt::make<halvorn::QelCompile>();
  rt::Ref<nubrel::IMemStream> stream = newMemStream();
  Compiled() { compiler->openMemStream(stream.get()); }
  // Closes the stream and runs it.
  std::u16string run(int32_t* error = nullptr) {
    compiler->closeStream();
    stream->setDir(nubrel::InStream);
    return runStream(*stream, error);
  }
};

// AddCode cuts at CR LF, a lone CR and a lone LF; a line end at the very
// end adds no line.
TEST(AddCode, CutsTheTextIntoPageLines) {
  struct Case {
    std::u16string text;
    int32_t lines;
    std::u16string output;
  };
  const Case cases[] = {
      {u"a\r\nb", 2, u"a\r\nb\r\n"},
      {u"x", 1, u"x\r\n"},
      {u"", 0, u""},
      {u"a\rb\nc", 3, u"a\r\nb\r\nc\r\n"},
      {u"a\r\n", 1, u"a\r\n"},
      {u"a\r\n\r\nb", 3, u"a\r\nb\r\n"},  // the empty line outputs nothing
      {u"<!!For i = 1 To 2!!>\n<!!=i!!>\n<!!Next!!>", 3, u"\r\n1\r\n\r\n2\r\n\r\n"},
  };
  for (const Case& c : cases) {
    Compiled page;
    page.compiler->addCode(c.text);
    EXPECT_EQ(page.compiler->curLineCode(), c.lines);
    EXPECT_EQ(page.run(), c.output);
  }
}

TEST(AddCode, StopsAtTheFirstLineThatDoesNotCompile) {
  Compiled page;
  page.compiler->addCode(u"a\r\n<!! s = \"open !!>\r\nb");
  EXPECT_TRUE(page.compiler->error().haveErr());
  EXPECT_EQ(page.compiler->curLineCode(), 2);
  EXPECT_EQ(page.run(), u"a\r\n");
}

// The text after a failing block would clear the compiler's record if it
// were compiled: the failure must stay visible after the page line.
TEST(AddCodeLine, KeepsTheFailureOfAnyScriptLineOfAPageLine) {
  Compiled page;
  page.compiler->addCodeLine(u"<!! s = \"open !!>tail");
  EXPECT_TRUE(page.compiler->error().haveErr());
  EXPECT_EQ(page.compiler->error().number(), static_cast<int32_t>(0x80040067));
  EXPECT_EQ(page.compiler->curLineCode(), 1);
  // A later line goes on.
  page.compiler->addCodeLine(u"next");
  EXPECT_FALSE(page.compiler->error().haveErr());
  EXPECT_EQ(page.compiler->curLineCode(), 2);
}

TEST(OpenOutStream, AFailedOpenKeepsThePreviousStream) {
  Compiled page;
  page.compiler->addCodeLine(u"one");
  EXPECT_FALSE(page.compiler->openOutStream(u"/no/such/folder/x.bin"));
  page.compiler->addCodeLine(u"two");
  EXPECT_EQ(page.compiler->curLineCode(), 2);
  EXPECT_EQ(page.run(), u"one\r\ntwo\r\n");
}

TEST(OpenOutStream, WritesACompiledPageFileOnClose) {
  pagetest::TempDir dir;
  rt::Ref<halvorn::QelCompile> compiler = rt::make<halvorn::QelCompile>();
  ASSERT_TRUE(compiler->openOutStream(dir.name("p.bin")));
  compiler->addCodeLine(u"Total: <!!=1 + 1!!>");
  compiler->closeStream();
  EXPECT_TRUE(compiler->saved());
  EXPECT_EQ(dir.read("p.bin").substr(0, 4), "\x88\x66\x66\x88");
  rt::Ref<nubrel::IStreamFile> file = rt::queryRef<nubrel::IStreamFile>(
      rt::createInstance(nubrel::IBinFileStream::clsid).get());
  ASSERT_TRUE(file->openStream(dir.name("p.bin"), nubrel::InStream));
  EXPECT_EQ(runStream(*file), u"Total: 2\r\n");
}

TEST(OpenMemStream, StartsAgainAtLineOneOutsideABlock) {
  Compiled page;
  page.compiler->addCodeLine(u"<!! x = 1");
  page.compiler->openMemStream(page.stream.get());
  page.compiler->addCodeLine(u"text");
  EXPECT_EQ(page.compiler->curLineCode(), 1);
}

TEST(CloseStream, ReportsADefinitionLeftOpenAtItsHeaderLine) {
  Compiled page;
  page.compiler->addCode(u"a\r\n<!!\r\nSub f()\r\nx = 1\r\n!!>\r\nb");
  EXPECT_FALSE(page.compiler->error().haveErr());
  page.compiler->closeStream();
  EXPECT_TRUE(page.compiler->error().haveErr());
  EXPECT_EQ(page.compiler->curLineCode(), 3);
}

TEST(AddCodeLine, NeedsAStream) {
  rt::Ref<halvorn::QelCompile> compiler = rt::make<halvorn::QelCompile>();
  EXPECT_EQ(rt::testing::errorOf([&] { compiler->addCodeLine(u"x"); }), rt::err::ObjectNotSet);
  compiler->closeStream();  // nothing open: nothing to do
  EXPECT_EQ(compiler->curLineCode(), 0);
}

}  // namespace
