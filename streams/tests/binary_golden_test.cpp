// The exact bytes of the binary file stream.
#include <functional>

#include "binfilestream.h"
#include "testobjects.h"
#include "testsupport.h"

namespace {

using namespace streamtest;
using nubrel::BinFileStream;

const Bytes kHeader =
    concat({hex("88 66 66 88 0C 00 00 00"), ascii("ObjectStream"), hex("01 00 00 00")});

class BinaryGolden : public StreamTest {
 protected:
  // The file a fresh stream writes with `write`.
  Bytes written(const std::function<void(BinFileStream&)>& write) {
    auto s = rt::make<BinFileStream>();
    EXPECT_TRUE(s->openStream(path("g.bin"), nubrel::OutStream)) << rt::toUtf8(s->errInfo());
    write(*s);
    EXPECT_TRUE(s->closeStream());
    return readFile("g.bin");
  }
};

TEST_F(BinaryGolden, HeaderAlone) {
  Bytes file = written([](BinFileStream&) {});
  EXPECT_EQ(file.size(), 24u);
  EXPECT_EQ(file, kHeader) << show(file);
}

TEST_F(BinaryGolden, EveryValueKind) {
  struct Case {
    const char* what;
    rt::CodePage cp;
    std::function<void(BinFileStream&)> write;
    Bytes after;
  };
  auto text = [](std::u16string s) { return [s](BinFileStream& b) { b.setVString(s); }; };
  const auto utf8 = rt::CodePage::Utf8, gbk = rt::CodePage::Cp936;
  const Case cases[] = {
      {"byte", utf8, [](BinFileStream& b) { b.setVByte(0xAB); }, hex("AB")},
      {"integer -1", utf8, [](BinFileStream& b) { b.setVInteger(-1); }, hex("FF FF")},
      {"integer", utf8, [](BinFileStream& b) { b.setVInteger(0x1234); }, hex("34 12")},
      {"long", utf8, [](BinFileStream& b) { b.setVLong(0x12345678); }, hex("78 56 34 12")},
      {"long -2", utf8, [](BinFileStream& b) { b.setVLong(-2); }, hex("FE FF FF FF")},
      {"double", utf8, [](BinFileStream& b) { b.setVDouble(1.5); }, hex("00 00 00 00 00 00 F8 3F")},
      {"date", utf8, [](BinFileStream& b) { b.setVDate(rt::Date{36526.5}); },
       hex("00 00 00 00 D0 D5 E1 40")},
      {"empty text", utf8, text(u""), hex("00 00 00 00")},
      {"ascii text", utf8, text(u"ab"), hex("02 00 00 00 61 62")},
      {"Chinese, UTF-8", utf8, text(u"中文"), hex("02 00 00 00 E4 B8 AD E6 96 87")},
      {"Chinese, CP936", gbk, text(u"中文"), hex("02 00 00 00 D6 D0 CE C4")},
      {"surrogate pair, UTF-8", utf8, text(u"a\U0001F600"), hex("03 00 00 00 61 F0 9F 98 80")},
      {"surrogate pair, CP936", gbk, text(u"a\U0001F600"), hex("03 00 00 00 61 3F 3F")},
      {"no GBK character", gbk, text(u"\u00C0"), hex("01 00 00 00 3F")},
      {"lone surrogate, UTF-8", utf8, text(std::u16string(1, char16_t(0xD800))),
       hex("01 00 00 00 EF BF BD")},
      {"bytes 1 to 3", utf8,
       [](BinFileStream& b) {
         b.setVBytes(rt::ByteArray{1, {10, 20, 30}});
       },
       hex("01 00 00 00 03 00 00 00 0A 14 1E")},
      {"empty bytes", utf8,
       [](BinFileStream& b) {
         b.setVBytes(rt::ByteArray{0, {}});
       },
       hex("00 00 00 00 FF FF FF FF")},
  };
  for (const Case& c : cases) {
    rt::setCodePage(c.cp);
    Bytes file = written(c.write);
    EXPECT_EQ(file, concat({kHeader, c.after})) << c.what << ": " << show(file);
  }
}

TEST_F(BinaryGolden, ObjectRecord) {
  auto p = rt::make<TestPoint>();
  p->x = 7;
  p->name = u"pt";
  Bytes file = written([&](BinFileStream& b) { b.setVObject(p.get()); });
  Bytes record = concat({hex("10 00 00 00"), ascii("NubrelTest.Point"), hex("02 00 00 00"),
                         hex("07 00 00 00"), hex("02 00 00 00"), ascii("pt"), hex("00")});
  EXPECT_EQ(file, concat({kHeader, record})) << show(file);
}

}  // namespace
