// Damaged and hostile input: every failure is the documented refusal, a
// recorded read failure (binary) or a raised error (text coding); never a
// crash, a hang or a large allocation.
#include <functional>
#include <random>

#include "binfilestream.h"
#include "eventstream.h"
#include "filestream.h"
#include "memstream.h"
#include "testsupport.h"
#include "rt/testing.h"

namespace {

using rt::testing::errorOf;

using namespace streamtest;
using nubrel::BinFileStream;
using nubrel::FileStream;
using nubrel::MemStream;
using nubrel::VStream;

const std::u16string kNotObjectStream = u"文件不是对象流格式，打开操作不成功！";
const std::u16string kNewerVersion = u"该文件的版本比本正在运行的程序的版本高，打开操作不成功！";
const Bytes kBinHeader =
    concat({hex("88 66 66 88 0C 00 00 00"), ascii("ObjectStream"), hex("01 00 00 00")});
const Bytes kTextHeader = ascii("FFFFFFFF0000000CObjectStream00000001");

// One value of each kind: how it is written, and whether reading gives it back.
struct Step {
  std::function<void(VStream&)> write;
  std::function<bool(VStream&)> readsBack;
};

std::vector<Step> steps() {
  return {
      {[](VStream& s) { s.setVLong(-7); }, [](VStream& s) { return s.vLong() == -7; }},
      {[](VStream& s) { s.setVString(u"中a"); }, [](VStream& s) { return s.vString() == u"中a"; }},
      {[](VStream& s) { s.setVInteger(300); }, [](VStream& s) { return s.vInteger() == 300; }},
      {[](VStream& s) { s.setVByte(0xC8); }, [](VStream& s) { return s.vByte() == 0xC8; }},
      {[](VStream& s) { s.setVDouble(2.5); }, [](VStream& s) { return s.vDouble() == 2.5; }},
      {[](VStream& s) { s.setVDate(rt::Date{40000.25}); },
       [](VStream& s) { return s.vDate().serial == 40000.25; }},
      {[](VStream& s) {
         s.setVBytes(rt::ByteArray{2, {9, 8, 7}});
       },
       [](VStream& s) {
         return s.vBytes().bytes().bytes == std::vector<uint8_t>{9, 8, 7};
       }},
      {[](VStream& s) { s.setVString(u""); }, [](VStream& s) { return s.vString().empty(); }},
  };
}

class Hostile : public StreamTest {
 protected:
  rt::Ref<nubrel::IStreamFile> fileStream(Kind k) {
    if (k == Kind::Binary) return rt::make<BinFileStream>();
    return rt::make<FileStream>();
  }
  // The file of the first n steps, and its size.
  Bytes sampleFile(Kind k, size_t n) {
    auto s = fileStream(k);
    EXPECT_TRUE(s->openStream(path("sample"), nubrel::OutStream));
    auto all = steps();
    for (size_t i = 0; i < n; ++i) all[i].write(*s);
    s->closeStream();
    return readFile("sample");
  }
};

TEST_F(Hostile, TruncatedAtEveryOffset) {
  for (rt::CodePage cp : {rt::CodePage::Utf8, rt::CodePage::Cp936}) {
    rt::setCodePage(cp);
    for (Kind k : {Kind::Binary, Kind::TextFile}) {
      const size_t n = steps().size();
      std::vector<size_t> ends;
      for (size_t i = 0; i <= n; ++i) ends.push_back(sampleFile(k, i).size());
      const Bytes full = sampleFile(k, n);
      const size_t header = ends[0];
      for (size_t cut = 0; cut < full.size(); ++cut) {
        SCOPED_TRACE(std::string(nameOf(k)) + " cut at " + std::to_string(cut));
        writeFile("cut", Bytes(full.begin(), full.begin() + static_cast<long>(cut)));
        auto s = fileStream(k);
        bool opened = s->openStream(path("cut"), nubrel::InStream);
        if (cut < header) {
          EXPECT_FALSE(opened);
          if (k == Kind::Binary)
            EXPECT_EQ(s->errInfo(), kNotObjectStream);
          else
            EXPECT_FALSE(s->errInfo().empty());
          EXPECT_FALSE(s->closeStream());
          continue;
        }
        ASSERT_TRUE(opened) << rt::toUtf8(s->errInfo());
        auto all = steps();
        size_t i = 0;
        for (; ends[i + 1] <= cut; ++i) EXPECT_TRUE(all[i].readsBack(*s)) << "step " << i;
        EXPECT_FALSE(s->eof());
        // From the value the cut runs through on: zeros and a recorded
        // failure from a binary file, a raised error from a text file.
        if (k == Kind::Binary) {
          for (; i < n; ++i) EXPECT_EQ(errorOf([&] { all[i].readsBack(*s); }), 0);
          EXPECT_TRUE(s->eof());
          EXPECT_FALSE(s->errInfo().empty());
        } else {
          EXPECT_NE(errorOf([&] { all[i].readsBack(*s); }), 0);
        }
      }
    }
  }
}

TEST_F(Hostile, BadCountsInBinaryFiles) {
  struct Case {
    const char* what;
    Bytes body;
    std::function<void(BinFileStream&)> read;
  };
  const Case cases[] = {
      {"text count -1", hex("FF FF FF FF 41 41"),
       [](BinFileStream& s) { EXPECT_EQ(s.vString(), u""); }},
      {"text count 2^31-1", hex("FF FF FF 7F 41 41"),
       [](BinFileStream& s) { EXPECT_EQ(s.vString(), u""); }},
      {"text longer than the file", hex("03 00 00 00 41 41"),
       [](BinFileStream& s) { EXPECT_EQ(s.vString(), u""); }},
      {"bytes 0 to 2^31-1", hex("00 00 00 00 FF FF FF 7F 01"),
       [](BinFileStream& s) { EXPECT_TRUE(s.vBytes().bytes().bytes.empty()); }},
      {"bytes -2^31 to 2^31-1", hex("00 00 00 80 FF FF FF 7F 01"),
       [](BinFileStream& s) { EXPECT_TRUE(s.vBytes().bytes().bytes.empty()); }},
      {"bytes 5 to 2", hex("05 00 00 00 02 00 00 00 01"),
       [](BinFileStream& s) { EXPECT_TRUE(s.vBytes().bytes().bytes.empty()); }},
      {"object with a huge class name", hex("00 00 00 70 41"),
       [](BinFileStream& s) { EXPECT_EQ(s.vObject(), nullptr); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeFile("bad", concat({kBinHeader, c.body}));
    auto s = rt::make<BinFileStream>();
    ASSERT_TRUE(s->openStream(path("bad"), nubrel::InStream));
    c.read(*s);
    EXPECT_TRUE(s->eof());
    EXPECT_FALSE(s->errInfo().empty());
    EXPECT_EQ(s->vLong(), 0);  // the stream stays at its end
  }
}

// A string as its stored bytes: what the code page cannot decode stays
// apart (vString makes every such byte U+FFFD), the next value is read as
// after vString, and a string cut short fails as it does there.
TEST_F(Hostile, StringBytesKeepWhatDoesNotDecode) {
  writeFile("s", concat({kBinHeader, hex("03 00 00 00 61 FF FE 07 00 00 00 02 00 00 00 E4 B8")}));
  auto s = rt::make<BinFileStream>();
  ASSERT_TRUE(s->openStream(path("s"), nubrel::InStream));
  EXPECT_EQ(s->vStringBytes(), "a\xFF\xFE");
  EXPECT_EQ(s->vLong(), 7);
  EXPECT_FALSE(s->eof());
  EXPECT_EQ(s->vStringBytes(), "");  // one character, cut short
  EXPECT_TRUE(s->eof());
}

// What one value may hold is capped whatever the file holds; the failure
// names the cap.
TEST_F(Hostile, CountsPastTheCapInBinaryFiles) {
  const Bytes cases[] = {hex("01 00 00 08"), hex("00 00 00 00 00 00 00 08")};
  for (const Bytes& body : cases) {
    writeFile("big", concat({kBinHeader, body, Bytes(64, 0x41)}));
    auto s = rt::make<BinFileStream>();
    ASSERT_TRUE(s->openStream(path("big"), nubrel::InStream));
    if (body.size() == 4) EXPECT_EQ(s->vString(), u"");
    else EXPECT_TRUE(s->vBytes().bytes().bytes.empty());
    EXPECT_TRUE(s->eof());
    EXPECT_EQ(rt::toUtf8(s->errInfo()),
              rt::toUtf8(rt::errorText(rt::err::OutOfMemory)) +
                  "：流中的长度 134217729 超过单个值的上限 134217728");
  }
}

TEST_F(Hostile, EmptyByteArrayKeepsItsBound) {
  writeFile("empty", concat({kBinHeader, hex("07 00 00 00 06 00 00 00")}));
  auto s = rt::make<BinFileStream>();
  ASSERT_TRUE(s->openStream(path("empty"), nubrel::InStream));
  rt::Variant v = s->vBytes();
  EXPECT_EQ(v.bytes().lbound, 7);
  EXPECT_TRUE(v.bytes().bytes.empty());
  EXPECT_FALSE(s->eof());
}

TEST_F(Hostile, BadCountsInTheTextCoding) {
  struct Case {
    const char* what;
    std::u16string body;
    std::function<void(VStream&)> read;
    int32_t error;
    int32_t fileError = 0;  // when a file differs: it raises 62 at its end
  };
  const Case cases[] = {
      {"text count -1", u"FFFFFFFFAA", [](VStream& s) { s.vString(); }, rt::err::InvalidCall},
      {"text count 2^31-1", u"7FFFFFFFAA", [](VStream& s) { s.vString(); }, rt::err::OutOfMemory},
      {"text count at the cap", u"08000000AA", [](VStream& s) { s.vString(); },
       rt::err::PastEndOfFile},
      {"text count past the cap", u"08000001AA", [](VStream& s) { s.vString(); },
       rt::err::OutOfMemory},
      {"bytes count 2^31-1", u"7FFFFFFFAA", [](VStream& s) { s.vBytes(); }, rt::err::OutOfMemory},
      {"bytes count -5", u"FFFFFFFBAA", [](VStream& s) { s.vBytes(); }, rt::err::InvalidCall},
      {"not hexadecimal", u"0000000G", [](VStream& s) { s.vLong(); }, rt::err::TypeMismatch},
      {"sign in a number", u"-0000001", [](VStream& s) { s.vLong(); }, rt::err::TypeMismatch},
      {"exhausted", u"", [](VStream& s) { s.vLong(); }, rt::err::TypeMismatch,
       rt::err::PastEndOfFile},
      {"short number", u"FFF", [](VStream& s) { s.vLong(); }, rt::err::TypeMismatch,
       rt::err::PastEndOfFile},
      {"no byte left", u"", [](VStream& s) { s.vByte(); }, rt::err::PastEndOfFile},
      {"not a number", u"00000003abc", [](VStream& s) { s.vDouble(); }, rt::err::TypeMismatch},
      {"date out of range", u"000000051E+10", [](VStream& s) { s.vDate(); }, rt::err::Overflow},
      {"date NaN", u"00000003nan", [](VStream& s) { s.vDate(); }, rt::err::Overflow},
      {"huge class name", u"7FFFFFFF", [](VStream& s) { s.vObject(); }, rt::err::OutOfMemory},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto m = rt::make<MemStream>();
    m->setStrBuffer(c.body);
    EXPECT_EQ(errorOf([&] { c.read(*m); }), c.error);

    writeFile("bad", concat({kTextHeader, ansi(c.body)}));
    auto f = rt::make<FileStream>();
    ASSERT_TRUE(f->openStream(path("bad"), nubrel::InStream));
    EXPECT_EQ(errorOf([&] { c.read(*f); }), c.fileError ? c.fileError : c.error);
  }
}

TEST_F(Hostile, ByteOfADoubleByteCharacter) {
  auto m = rt::make<MemStream>();
  m->setStrBuffer(u"中");
  EXPECT_EQ(errorOf([&] { m->vByte(); }), rt::err::Overflow);
}

TEST_F(Hostile, EventHostIsAskedInBoundedPieces) {
  // The host answers a huge count and then only a few characters: the stream
  // never prepares more than one part of spaces.
  auto host = rt::make<LoopbackHost>();
  host->text = u"08000000abc";
  auto e = rt::make<nubrel::EventStream>();
  e->advise(host);
  EXPECT_EQ(e->vString(), u"abc");
  ASSERT_EQ(host->reads.size(), 2u);
  EXPECT_EQ(host->reads[1], 65536);

  host->text = u"7FFFFFFFabc";  // past what one value may hold
  host->pos = 0;
  EXPECT_EQ(errorOf([&] { e->vString(); }), rt::err::OutOfMemory);

  host->text = u"FFFFFFFF";
  host->pos = 0;
  EXPECT_EQ(errorOf([&] { e->vString(); }), rt::err::InvalidCall);
}

TEST_F(Hostile, WrongHeaders) {
  struct Case {
    const char* what;
    Kind kind;
    Bytes file;
    bool accepted;
    std::u16string text;
  };
  const std::u16string mismatch = rt::errorText(rt::err::TypeMismatch);
  auto bin = [](const char* sig, const char* word, const char* version) {
    std::string w(word);
    return concat({hex(sig),
                   hex(std::string(1, "0123456789ABCDEF"[w.size() >> 4]) +
                       "0123456789ABCDEF"[w.size() & 15] + " 00 00 00"),
                   ascii(w), hex(version)});
  };
  const Case cases[] = {
      {"binary", Kind::Binary, kBinHeader, true, u""},
      {"binary, version 0", Kind::Binary, bin("88 66 66 88", "ObjectStream", "00 00 00 00"), true,
       u""},
      {"binary, version -1", Kind::Binary, bin("88 66 66 88", "ObjectStream", "FF FF FF FF"), true,
       u""},
      {"binary, version 2", Kind::Binary, bin("88 66 66 88", "ObjectStream", "02 00 00 00"), false,
       kNewerVersion},
      {"binary, signature", Kind::Binary, bin("88 66 66 89", "ObjectStream", "01 00 00 00"), false,
       kNotObjectStream},
      {"binary, word case", Kind::Binary, bin("88 66 66 88", "objectstream", "01 00 00 00"), false,
       kNotObjectStream},
      {"binary, other word", Kind::Binary, bin("88 66 66 88", "ObjectStreams", "01 00 00 00"),
       false, kNotObjectStream},
      {"binary, empty", Kind::Binary, {}, false, kNotObjectStream},
      {"binary, text header", Kind::Binary, kTextHeader, false, kNotObjectStream},
      {"text", Kind::TextFile, kTextHeader, true, u""},
      {"text, version 0", Kind::TextFile, ascii("FFFFFFFF0000000CObjectStream00000000"), true, u""},
      {"text, lower-case digits", Kind::TextFile, ascii("ffffffff0000000cObjectStream00000001"),
       true, u""},
      {"text, version 2", Kind::TextFile, ascii("FFFFFFFF0000000CObjectStream00000002"), false,
       kNewerVersion},
      {"text, signature", Kind::TextFile, ascii("FFFFFFFE0000000CObjectStream00000001"), false,
       kNotObjectStream},
      {"text, word case", Kind::TextFile, ascii("FFFFFFFF0000000CObjectSTREAM00000001"), false,
       kNotObjectStream},
      {"text, binary header", Kind::TextFile, kBinHeader, false, mismatch},
      {"text, empty", Kind::TextFile, {}, false, rt::errorText(rt::err::PastEndOfFile)},
      {"text, not hexadecimal", Kind::TextFile, ascii("FFFFFFFX0000"), false, mismatch},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeFile("h", c.file);
    auto s = fileStream(c.kind);
    EXPECT_EQ(s->openStream(path("h"), nubrel::InStream), c.accepted);
    EXPECT_EQ(rt::toUtf8(s->errInfo()), rt::toUtf8(c.text));
    EXPECT_EQ(s->dir(), nubrel::InStream);
    if (c.accepted) continue;
    // Nothing stays open: closing finds no file, values raise.
    EXPECT_FALSE(s->closeStream());
    EXPECT_EQ(errorOf([&] { s->vLong(); }), rt::err::BadFileName);
    EXPECT_EQ(errorOf([&] { s->setVLong(1); }), rt::err::BadFileName);
  }
}

TEST_F(Hostile, RandomBytesAfterAHeader) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 300; ++round) {
    rt::setCodePage(round % 2 ? rt::CodePage::Cp936 : rt::CodePage::Utf8);
    Kind k = round % 3 == 0 ? Kind::Binary : round % 3 == 1 ? Kind::TextFile : Kind::Memory;
    Bytes body(rng() % 64);
    // Hex digits now and then, so that counts and numbers are read too.
    for (uint8_t& b : body)
      b = rng() % 3 ? static_cast<uint8_t>("0123456789ABCDEF"[rng() % 16])
                    : static_cast<uint8_t>(rng());
    rt::Ref<VStream> s;
    if (k == Kind::Memory) {
      auto m = rt::make<MemStream>();
      m->setStrBuffer(rt::fromAnsi(std::string(body.begin(), body.end())));
      s = m;
    } else {
      writeFile("r", concat({k == Kind::Binary ? kBinHeader : kTextHeader, body}));
      auto f = fileStream(k);
      ASSERT_TRUE(f->openStream(path("r"), nubrel::InStream));
      s = f;
    }
    for (int i = 0; i < 12; ++i) {
      errorOf([&] {
        switch (rng() % 8) {
          case 0:
            s->vByte();
            break;
          case 1:
            s->vInteger();
            break;
          case 2:
            s->vLong();
            break;
          case 3:
            s->vDouble();
            break;
          case 4:
            s->vDate();
            break;
          case 5:
            s->vString();
            break;
          case 6:
            s->vBytes();
            break;
          case 7:
            s->eof();
            break;
        }
      });
    }
  }
}

TEST_F(Hostile, FilesThatAreNoFiles) {
  for (Kind k : {Kind::Binary, Kind::TextFile}) {
    SCOPED_TRACE(nameOf(k));
    auto s = fileStream(k);
    EXPECT_FALSE(s->openStream(path("missing"), nubrel::InStream));
    EXPECT_NE(s->errInfo().find(rt::errorText(rt::err::FileNotFound)), std::u16string::npos);
    EXPECT_FALSE(s->openStream(path(""), nubrel::InStream));  // the folder itself
    EXPECT_FALSE(s->errInfo().empty());
    EXPECT_FALSE(s->openStream(path(""), nubrel::OutStream));
    EXPECT_FALSE(s->openStream(path("no/such/folder/f"), nubrel::OutStream));
    EXPECT_NE(s->errInfo().find(rt::errorText(rt::err::PathNotFound)), std::u16string::npos);
    EXPECT_FALSE(s->openStream(u"", nubrel::InStream));
    EXPECT_FALSE(s->closeStream());
  }
}

}  // namespace
