// Compiled streams byte for byte: the text coding of a memory stream and
// the binary coding of a stream file, written out by hand from the record,
// token-list and token forms.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/scriptcompile.h"
#include "nubrel/filestreams.h"
#include "rt/activation.h"
#include "rt/text.h"
#include "testsupport.h"

using enginetest::utf8;

namespace {

std::u16string compiledText(std::u16string_view source) {
  auto compiler = rt::make<engine::ScriptCompile>();
  rt::Ref<nubrel::IMemStream> ms = enginetest::memStream();
  compiler->compile(source, *ms);
  EXPECT_FALSE(compiler->error().haveErr());
  return ms->strBuffer();
}

}  // namespace

TEST(Golden, MemoryStreams) {
  struct Case {
    const char16_t* source;
    const char16_t* stream;
  } cases[] = {
      {u"x = 1",
       u"00000001"                  // a line record
       u"00000000" u"00000001"      // index 0, line 1
       u"00000005"                  // five tokens
       u"00000000" u"00000001x"     // the name x
       u"02000000"                  // blank
       u"02FF0001"                  // =
       u"02000000"                  // blank
       u"03010000" u"00000001"      // the integer 1
       u"FFFFFFFF"},                // end
      {u"", u"FFFFFFFF"},
      {u"If s <> \"a\" Then",
       u"00000001" u"00000000" u"00000001" u"00000007"
       u"01000300"                  // If (keyword text is not stored)
       u"00000000" u"00000001s"
       u"02000000" u"02200006" u"02000000"
       u"03000000" u"00000001a"     // the string "a"
       u"01000301"                  // Then, which took the blank before it
       u"FFFFFFFF"},
      {u"#define PI = 3.14\r\n"
       u"Sub Hi(a)\r\n"
       u"Print a ' shows a\r\n"
       u"End Sub\r\n"
       u"r = 1.5",
       u"00000000" u"00000010define PI = 3.14"              // a directive record
       u"00000002"                                          // a function record
       u"00000002Hi" u"00000001" u"00000001a"               // name, parameters
       u"00000001"                                          // one body line
       u"00000000" u"00000003" u"00000003"
       u"00000000" u"00000005Print" u"02000000" u"00000000" u"00000001a"
       u"00000001" u"00000000" u"00000005" u"00000005"      // line 5
       u"00000000" u"00000001r" u"02000000" u"02FF0001" u"02000000"
       u"03020000" u"000000031.5"                           // a Double as its text
       u"FFFFFFFF"},
  };
  for (const Case& c : cases) EXPECT_EQ(utf8(compiledText(c.source)), utf8(c.stream)) << utf8(c.source);
}

TEST(Golden, BinaryStreamFile) {
  std::string tmpl = (std::filesystem::temp_directory_path() / "kestrin-XXXXXX").string();
  ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
  std::string file = tmpl + "/x.bin";

  rt::Ref<nubrel::IBinFileStream> bs =
      rt::queryRef<nubrel::IBinFileStream>(rt::createInstance(nubrel::IBinFileStream::clsid).get());
  ASSERT_TRUE(bs->openStream(rt::fromUtf8(file), nubrel::OutStream));
  auto compiler = rt::make<engine::ScriptCompile>();
  compiler->compile(u"x = 1", *bs);
  ASSERT_TRUE(bs->closeStream());

  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<uint8_t> want = {
      0x88, 0x66, 0x66, 0x88, 0x0C, 0x00, 0x00, 0x00,        // signature, word length
      'O', 'b', 'j', 'e', 'c', 't', 'S', 't', 'r', 'e', 'a', 'm',
      0x01, 0x00, 0x00, 0x00,                                // version
      0x01, 0x00, 0x00, 0x00,                                // a line record
      0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,        // index 0, line 1
      0x05, 0x00, 0x00, 0x00,                                // five tokens
      0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 'x',   // the name x
      0x00, 0x00, 0x00, 0x02,                                // blank
      0x01, 0x00, 0xFF, 0x02,                                // =
      0x00, 0x00, 0x00, 0x02,                                // blank
      0x00, 0x00, 0x01, 0x03, 0x01, 0x00, 0x00, 0x00,        // the integer 1
      0xFF, 0xFF, 0xFF, 0xFF,                                // end
  };
  EXPECT_EQ(bytes, want);
  std::filesystem::remove_all(tmpl);
}
