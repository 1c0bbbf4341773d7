// The exact characters of the text coding, and the bytes a FileStream keeps.
#include <functional>

#include "eventstream.h"
#include "filestream.h"
#include "memstream.h"
#include "testobjects.h"
#include "testsupport.h"

namespace {

using namespace streamtest;
using nubrel::FileStream;
using nubrel::MemStream;
using nubrel::VStream;

const std::u16string kTextHeader = u"FFFFFFFF0000000CObjectStream00000001";

class TextGolden : public StreamTest {
 protected:
  std::u16string memText(const std::function<void(VStream&)>& write) {
    auto m = rt::make<MemStream>();
    write(*m);
    return m->strBuffer();
  }
  Bytes fileBytes(const std::function<void(VStream&)>& write) {
    auto f = rt::make<FileStream>();
    EXPECT_TRUE(f->openStream(path("g.txt"), nubrel::OutStream)) << rt::toUtf8(f->errInfo());
    write(*f);
    EXPECT_TRUE(f->closeStream());
    return readFile("g.txt");
  }
};

TEST_F(TextGolden, FileHeaderAlone) {
  Bytes file = fileBytes([](VStream&) {});
  EXPECT_EQ(file.size(), 36u);
  EXPECT_EQ(file, ascii("FFFFFFFF0000000CObjectStream00000001"));
}

TEST_F(TextGolden, EveryValueKindInMemory) {
  struct Case {
    const char* what;
    std::function<void(VStream&)> write;
    std::u16string text;
  };
  const Case cases[] = {
      {"long, text, integer",
       [](VStream& s) {
         s.setVLong(12);
         s.setVString(u"ObjectStream");
         s.setVInteger(-1);
       },
       u"0000000C0000000CObjectStreamFFFF"},
      {"integer", [](VStream& s) { s.setVInteger(0x1A); }, u"001A"},
      {"long -1", [](VStream& s) { s.setVLong(-1); }, u"FFFFFFFF"},
      {"long", [](VStream& s) { s.setVLong(0x7FFFFFFF); }, u"7FFFFFFF"},
      {"empty text", [](VStream& s) { s.setVString(u""); }, u"00000000"},
      {"Chinese text", [](VStream& s) { s.setVString(u"中文"); }, u"00000002中文"},
      {"byte", [](VStream& s) { s.setVByte(0x41); }, u"A"},
      {"bytes",
       [](VStream& s) {
         s.setVBytes(rt::ByteArray{0, {10, 20, 30}});
       },
       u"00000003\x0A\x14\x1E"},
      {"bytes keep no bound",
       [](VStream& s) {
         s.setVBytes(rt::ByteArray{1, {65, 66, 67}});
       },
       u"00000003ABC"},
      {"double", [](VStream& s) { s.setVDouble(1.5); }, u"000000031.5"},
      {"double 0.1", [](VStream& s) { s.setVDouble(0.1); }, u"000000030.1"},
      {"double, 17 digits", [](VStream& s) { s.setVDouble(0.1 + 0.2); },
       u"000000130.30000000000000004"},
      {"double, large", [](VStream& s) { s.setVDouble(1.5e20); }, u"000000071.5E+20"},
      {"double, small", [](VStream& s) { s.setVDouble(-1e-5); }, u"00000006-1E-05"},
      {"double, integral", [](VStream& s) { s.setVDouble(100); }, u"00000003100"},
      {"date", [](VStream& s) { s.setVDate(rt::Date{36526.5}); }, u"0000000736526.5"},
  };
  for (const Case& c : cases) EXPECT_EQ(rt::toUtf8(memText(c.write)), rt::toUtf8(c.text)) << c.what;
}

TEST_F(TextGolden, ObjectRecordInMemory) {
  auto p = rt::make<TestPoint>();
  p->x = 255;
  p->name = u"pt";
  std::u16string text = memText([&](VStream& s) { s.setVObject(p.get()); });
  EXPECT_EQ(rt::toUtf8(text),
            std::string("00000010NubrelTest.Point00000002000000FF00000002pt") + '\0');
}

TEST_F(TextGolden, TextInFilesUnderBothCodePages) {
  struct Case {
    const char* what;
    rt::CodePage cp;
    std::function<void(VStream&)> write;
    Bytes after;
  };
  const auto utf8 = rt::CodePage::Utf8, gbk = rt::CodePage::Cp936;
  const Case cases[] = {
      {"Chinese, UTF-8", utf8, [](VStream& s) { s.setVString(u"中文"); },
       concat({ascii("00000002"), hex("E4 B8 AD E6 96 87")})},
      {"Chinese, CP936", gbk, [](VStream& s) { s.setVString(u"中文"); },
       concat({ascii("00000002"), hex("D6 D0 CE C4")})},
      {"empty text", gbk, [](VStream& s) { s.setVString(u""); }, ascii("00000000")},
      {"surrogate pair, CP936", gbk, [](VStream& s) { s.setVString(u"\U0001F600"); },
       ascii("00000002??")},
      {"byte 200, UTF-8", utf8, [](VStream& s) { s.setVByte(200); }, hex("C3 88")},
      {"byte 200, CP936", gbk, [](VStream& s) { s.setVByte(200); }, hex("C8")},
      {"byte 0x80, CP936", gbk, [](VStream& s) { s.setVByte(0x80); }, hex("80")},
      {"bytes, CP936", gbk,
       [](VStream& s) {
         s.setVBytes(rt::ByteArray{0, {0xB0, 0x41}});
       },
       concat({ascii("00000002"), hex("B0 41")})},
  };
  for (const Case& c : cases) {
    rt::setCodePage(c.cp);
    Bytes file = fileBytes(c.write);
    Bytes header(file.begin(), file.begin() + std::min<size_t>(36, file.size()));
    EXPECT_EQ(header, ascii("FFFFFFFF0000000CObjectStream00000001")) << c.what;
    EXPECT_EQ(Bytes(file.begin() + static_cast<long>(header.size()), file.end()), c.after)
        << c.what << ": " << show(file);
  }
}

TEST_F(TextGolden, ByteCharactersInMemory) {
  // The code page's character where it has one for the code, otherwise the
  // character of the same number.
  struct Case {
    rt::CodePage cp;
    uint8_t byte;
    char16_t ch;
  };
  const Case cases[] = {
      {rt::CodePage::Utf8, 0x41, u'A'},       {rt::CodePage::Utf8, 200, u'\u00C8'},
      {rt::CodePage::Utf8, 0xFF, u'\u00FF'},  {rt::CodePage::Cp936, 0x41, u'A'},
      {rt::CodePage::Cp936, 0x80, u'\u20AC'}, {rt::CodePage::Cp936, 0xB0, u'\u00B0'},
      {rt::CodePage::Cp936, 0xFF, u'\u00FF'},
  };
  for (const Case& c : cases) {
    rt::setCodePage(c.cp);
    auto m = rt::make<MemStream>();
    m->setVByte(c.byte);
    EXPECT_EQ(m->strBuffer(), std::u16string(1, c.ch)) << int(c.byte);
  }
}

TEST_F(TextGolden, EventStreamPieces) {
  auto host = rt::make<LoopbackHost>();
  auto e = rt::make<nubrel::EventStream>();
  e->advise(host);
  e->setVString(u"ab");
  e->setVString(u"");
  e->setVByte(0x41);
  e->setVInteger(2);
  e->setVLong(3);
  const std::vector<std::u16string> expected = {u"00000002", u"ab",   u"00000000", u"",
                                                u"A",        u"0002", u"00000003"};
  EXPECT_EQ(host->pieces, expected);
}

}  // namespace
