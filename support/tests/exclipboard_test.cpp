#include "exclipboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rt/clipboard.h"
#include "rt/text.h"
#include "testing.h"

namespace {

using jespin::ExClipboard;
using Bytes = std::vector<uint8_t>;
using namespace testing_jespin;

// Each test works on a clipboard of its own.
class ExClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = rt::setClipboardHost(host); }
  void TearDown() override { rt::setClipboardHost(previous_); }

  // Puts a raw block, as another program would.
  void place(uint32_t format, Bytes block) {
    ASSERT_TRUE(host->open(0));
    host->setData(format, std::move(block));
    host->close();
  }
  Bytes blockUnder(uint32_t format) {
    Bytes out;
    EXPECT_TRUE(host->open(0));
    host->data(format, out);
    host->close();
    return out;
  }

  rt::Ref<rt::ClipboardHost> host = rt::newMemoryClipboard();
  rt::Ref<ExClipboard> clip = rt::make<ExClipboard>();

 private:
  rt::Ref<rt::ClipboardHost> previous_;
};

TEST_F(ExClipboardTest, RegistersPrivateFormats) {
  int32_t a = clip->registerFormat(u"Zub Text");
  EXPECT_GE(a, 0xC000);
  EXPECT_EQ(clip->registerFormat(u"Zub Text"), a);
  EXPECT_NE(clip->registerFormat(u"Other"), a);
  EXPECT_EQ(clip->registerFormat(u""), 0);
}

TEST_F(ExClipboardTest, TextRoundTrips) {
  int32_t f = clip->registerFormat(u"Zub Text");
  const std::u16string texts[] = {u"hello", u"", u"\u4E2D\u6587\u6587\u672C", u"line\r\nnext"};
  for (const std::u16string& t : texts) {
    clip->setDataString(0, f, t);
    EXPECT_EQ(clip->dataString(0, f), t) << rt::toUtf8(t);
    EXPECT_TRUE(clip->getFormat(0, f));
  }
}

TEST_F(ExClipboardTest, BlockHasRoomForTheCodedText) {
  int32_t f = clip->registerFormat(u"Zub Text");
  clip->setDataString(0, f, u"ab");
  EXPECT_EQ(blockUnder(f), (Bytes{'a', 'b', 0, 0, 0}));  // twice the length plus one
  clip->setDataString(0, f, u"\u4E2D");                  // three bytes in UTF-8
  EXPECT_EQ(blockUnder(f), (Bytes{0xE4, 0xB8, 0xAD, 0}));
}

TEST_F(ExClipboardTest, TextFollowsTheCodePage) {
  int32_t f = clip->registerFormat(u"Zub Text");
  rt::setCodePage(rt::CodePage::Cp936);
  clip->setDataString(0, f, u"\u4E2D\u6587");
  Bytes gbk = blockUnder(f);
  std::u16string back = clip->dataString(0, f);
  rt::setCodePage(rt::CodePage::Utf8);
  EXPECT_EQ(gbk, (Bytes{0xD6, 0xD0, 0xCE, 0xC4, 0}));
  EXPECT_EQ(back, u"\u4E2D\u6587");
}

TEST_F(ExClipboardTest, ReadingStopsAtTheBlockOrItsFirstZero) {
  place(0xC100, Bytes{'a', 'b', 'c'});  // no terminator
  EXPECT_EQ(clip->dataString(0, 0xC100), u"abc");
  place(0xC101, Bytes{'x', 0, ' ', ' ', 'y'});
  EXPECT_EQ(clip->dataString(0, 0xC101), u"x");
  place(0xC102, Bytes{});
  EXPECT_EQ(clip->dataString(0, 0xC102), u"");
}

TEST_F(ExClipboardTest, OtherFormatsStay) {
  int32_t a = clip->registerFormat(u"A"), b = clip->registerFormat(u"B");
  clip->setDataString(0, a, u"one");
  clip->setDataString(0, b, u"two");
  clip->setDataString(0, a, u"three");
  EXPECT_EQ(clip->dataString(0, a), u"three");
  EXPECT_EQ(clip->dataString(0, b), u"two");
}

TEST_F(ExClipboardTest, FormatsNobodyPlaced) {
  clip->setDataString(0, clip->registerFormat(u"A"), u"x");
  for (int32_t f : {0, -1, 1, 0xC0FF}) {
    EXPECT_FALSE(clip->getFormat(0, f)) << f;
    EXPECT_EQ(clip->dataString(0, f), u"") << f;
  }
}

TEST_F(ExClipboardTest, AClipboardHeldOpenElsewhereIsLeftAlone) {
  int32_t f = clip->registerFormat(u"A");
  clip->setDataString(0, f, u"kept");
  ASSERT_TRUE(host->open(0));
  EXPECT_FALSE(clip->getFormat(0, f));
  EXPECT_EQ(clip->dataString(0, f), u"");
  clip->setDataString(0, f, u"lost");
  host->close();
  EXPECT_EQ(clip->dataString(0, f), u"kept");
}

TEST_F(ExClipboardTest, LateBoundMembers) {
  rt::Object* o = clip.get();
  rt::Variant f = call(o, u"RegisterFormat", rt::Method, {text(u"Late")});
  call(o, u"DataString", rt::PropLet, {num(0), f, text(u"value")});
  EXPECT_EQ(callValue(o, rt::PropGet, {num(0), f}).text(), u"value");
  EXPECT_TRUE(call(o, u"GetFormat", rt::Method, {num(0), f}).boolean());
  EXPECT_EQ(errorOf([&] { call(o, u"DataString", rt::PropGet, {num(0)}); }), 450);
}

}  // namespace
