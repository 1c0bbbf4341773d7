// Every kind of value written through each stream class and read back.
#include <bit>
#include <cmath>
#include <limits>

#include "testsupport.h"

namespace {

using namespace streamtest;
using nubrel::VStream;

enum class Type { Byte, Integer, Long, Double, Date, String, Bytes };

struct Item {
  Type type;
  rt::Variant value;
  // What a file gives back when its code page cannot hold the text (empty:
  // the value itself); in memory every text survives.
  rt::Variant fromFile = {};
};

void put(VStream& s, const Item& it) {
  const rt::Variant& v = it.value;
  switch (it.type) {
    case Type::Byte:
      return s.setVByte(v.byte());
    case Type::Integer:
      return s.setVInteger(v.integer());
    case Type::Long:
      return s.setVLong(v.longValue());
    case Type::Double:
      return s.setVDouble(v.dbl());
    case Type::Date:
      return s.setVDate(v.date());
    case Type::String:
      return s.setVString(v.text());
    case Type::Bytes:
      return s.setVBytes(v);
  }
}

std::string describe(const rt::Variant& v) {
  switch (v.type()) {
    case rt::VT::String:
      return "\"" + rt::toUtf8(v.text()) + "\"";
    case rt::VT::Double:
    case rt::VT::Date:
      return std::to_string(v.dbl());
    case rt::VT::ByteArray:
      return "bytes from " + std::to_string(v.bytes().lbound) + " x" +
             std::to_string(v.bytes().bytes.size());
    default:
      return std::to_string(v.longValue());
  }
}

// Reads the item back from a stream of kind k and compares.
void check(VStream& s, const Item& it, Kind k, const std::string& where) {
  bool inFile = k == Kind::Binary || k == Kind::TextFile;
  bool bounds = k == Kind::Binary;  // the text coding reads arrays from 0
  const rt::Variant& want = inFile && !it.fromFile.isEmpty() ? it.fromFile : it.value;
  SCOPED_TRACE(where + " " + describe(want));
  switch (it.type) {
    case Type::Byte:
      EXPECT_EQ(s.vByte(), want.byte());
      break;
    case Type::Integer:
      EXPECT_EQ(s.vInteger(), want.integer());
      break;
    case Type::Long:
      EXPECT_EQ(s.vLong(), want.longValue());
      break;
    case Type::Double: {
      double got = s.vDouble();
      if (std::isnan(want.dbl()))
        EXPECT_TRUE(std::isnan(got));
      else
        EXPECT_EQ(std::bit_cast<uint64_t>(got), std::bit_cast<uint64_t>(want.dbl())) << got;
      break;
    }
    case Type::Date:
      EXPECT_EQ(s.vDate().serial, want.date().serial);
      break;
    case Type::String:
      EXPECT_EQ(rt::toUtf8(s.vString()), rt::toUtf8(want.text()));
      break;
    case Type::Bytes: {
      rt::Variant got = s.vBytes();
      ASSERT_EQ(got.type(), rt::VT::ByteArray);
      EXPECT_EQ(got.bytes().bytes, want.bytes().bytes);
      EXPECT_EQ(got.bytes().lbound, bounds ? want.bytes().lbound : 0);
      break;
    }
  }
}

rt::ByteArray everyByte() {
  rt::ByteArray a{0, {}};
  for (int b = 0; b < 256; ++b) a.bytes.push_back(static_cast<uint8_t>(b));
  return a;
}

std::vector<Item> sample() {
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<Item> items = {
      {Type::Byte, uint8_t{0}},
      {Type::Byte, uint8_t{0x7F}},
      {Type::Byte, uint8_t{0x80}},
      {Type::Byte, uint8_t{0xB0}},
      {Type::Byte, uint8_t{0xFF}},
      {Type::Integer, int16_t{-32768}},
      {Type::Integer, int16_t{32767}},
      {Type::Integer, int16_t{-1}},
      {Type::Long, std::numeric_limits<int32_t>::min()},
      {Type::Long, std::numeric_limits<int32_t>::max()},
      {Type::Long, int32_t{0}},
      {Type::Double, 0.0},
      {Type::Double, -0.0},
      {Type::Double, 0.1},
      {Type::Double, 1.0 / 3.0},
      {Type::Double, 123456789012345678.0},
      {Type::Double, 1e-300},
      {Type::Double, 5e-324},
      {Type::Double, -1.7976931348623157e308},
      {Type::Double, 0.0001},
      {Type::Double, inf},
      {Type::Double, -inf},
      {Type::Double, std::nan("")},
      {Type::Date, rt::Date{36526.5}},
      {Type::Date, rt::Date{-657434.25}},
      {Type::Date, rt::Date{2958465.9999884}},
      {Type::String, u""},
      {Type::String, u"ObjectStream"},
      {Type::String, u"中文，混合 text"},
      {Type::String, std::u16string(u"nul\0inside\r\n", 12)},
      {Type::String, std::u16string(70000, u'字')},
      {Type::Bytes, rt::ByteArray{1, {1, 2, 3}}},
      {Type::Bytes, rt::ByteArray{-5, {0xFF}}},
      {Type::Bytes, rt::ByteArray{0, {}}},
      {Type::Bytes, everyByte()},
      {Type::Long, int32_t{42}},  // still in step at the end
  };
  // Outside the code page: a file under CP936 keeps one "?" per unit, and a
  // lone surrogate is no character in either.
  const bool gbk = rt::codePage() == rt::CodePage::Cp936;
  auto lossy = [&](std::u16string s, std::u16string inUtf8, std::u16string inGbk) {
    items.insert(items.end() - 1, Item{Type::String, s, gbk ? inGbk : inUtf8});
  };
  lossy(u"a\U0001F600b", u"a\U0001F600b", u"a??b");
  lossy(u"\u00C0\u00E9", u"\u00C0\u00E9", u"?\u00E9");
  lossy(std::u16string(1, char16_t(0xDC00)), u"\uFFFD", u"?");
  return items;
}

class RoundTrip : public StreamTest, public ::testing::WithParamInterface<rt::CodePage> {};

TEST_P(RoundTrip, EveryKindThroughEveryStream) {
  rt::setCodePage(GetParam());
  const std::vector<Item> items = sample();
  for (Kind k : kAllKinds) {
    auto w = writer(k);
    for (const Item& it : items) put(*w, it);
    auto r = reader(k, w);
    for (size_t i = 0; i < items.size(); ++i)
      check(*r, items[i], k, std::string(nameOf(k)) + " item " + std::to_string(i));
  }
}

INSTANTIATE_TEST_SUITE_P(CodePages, RoundTrip,
                         ::testing::Values(rt::CodePage::Utf8, rt::CodePage::Cp936),
                         [](const auto& info) {
                           return info.param == rt::CodePage::Utf8 ? "Utf8" : "Cp936";
                         });

TEST_F(StreamTest, EndFlagsAfterTheLastValue) {
  // Files: only a read past the end sets it.  Memory: reading the last
  // character does.  Events: the host answers.
  for (Kind k : kAllKinds) {
    SCOPED_TRACE(nameOf(k));
    auto w = writer(k);
    w->setVLong(5);
    auto r = reader(k, w);
    EXPECT_FALSE(r->eof());
    EXPECT_EQ(r->vLong(), 5);
    EXPECT_EQ(r->eof(), k != Kind::Binary && k != Kind::TextFile);
  }
}

}  // namespace
