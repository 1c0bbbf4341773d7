#include "rt/clipboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rt/text.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(MemoryClipboard, RegistersFormatsByName) {
  auto cb = rt::newMemoryClipboard();
  uint32_t a = cb->registerFormat(u"Zub Lines");
  uint32_t b = cb->registerFormat(u"Other");
  EXPECT_EQ(a, 0xC000u);
  EXPECT_EQ(b, 0xC001u);
  EXPECT_EQ(cb->registerFormat(u"zub lines"), a);  // names are case-blind
  EXPECT_EQ(cb->registerFormat(u""), 0u);
  EXPECT_EQ(cb->registerFormat(std::u16string(256, u'n')), 0u);
  EXPECT_NE(cb->registerFormat(std::u16string(255, u'n')), 0u);
}

TEST(MemoryClipboard, RefusesNamesPastTheLastNumber) {
  auto cb = rt::newMemoryClipboard();
  uint32_t last = 0;
  for (int i = 0; i < 0x4000; ++i) last = cb->registerFormat(u"f" + rt::ascii(std::to_string(i)));
  EXPECT_EQ(last, 0xFFFFu);
  EXPECT_EQ(cb->registerFormat(u"one too many"), 0u);
  EXPECT_EQ(cb->registerFormat(u"F0"), 0xC000u);  // known names still answer
}

TEST(MemoryClipboard, HoldsBlocksWhileOpen) {
  auto cb = rt::newMemoryClipboard();
  Bytes out;
  EXPECT_FALSE(cb->setData(5, Bytes{1}));  // not open
  ASSERT_TRUE(cb->open(0));
  EXPECT_FALSE(cb->open(0));  // already open
  EXPECT_FALSE(cb->setData(0, Bytes{1}));
  EXPECT_TRUE(cb->setData(7, Bytes{7}));
  EXPECT_TRUE(cb->setData(3, Bytes{3}));
  EXPECT_TRUE(cb->setData(7, Bytes{7, 7}));  // replaces, keeps its place
  EXPECT_EQ(cb->nextFormat(0), 7u);
  EXPECT_EQ(cb->nextFormat(7), 3u);
  EXPECT_EQ(cb->nextFormat(3), 0u);
  EXPECT_EQ(cb->nextFormat(99), 0u);
  ASSERT_TRUE(cb->data(7, out));
  EXPECT_EQ(out, (Bytes{7, 7}));
  EXPECT_FALSE(cb->data(8, out));
  EXPECT_TRUE(cb->close());
  EXPECT_FALSE(cb->close());
  EXPECT_FALSE(cb->data(7, out));  // closed
  EXPECT_EQ(cb->nextFormat(0), 0u);
}

TEST(ClipboardHost, InstallAndRestore) {
  auto mine = rt::newMemoryClipboard();
  auto before = rt::setClipboardHost(mine);
  EXPECT_EQ(&rt::clipboardHost(), mine.get());
  auto back = rt::setClipboardHost(nullptr);
  EXPECT_EQ(back, mine);
  EXPECT_NE(&rt::clipboardHost(), mine.get());
  rt::setClipboardHost(before);
}

}  // namespace
