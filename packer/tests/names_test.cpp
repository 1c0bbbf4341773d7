// Names as messages and listings show them: no two names alike, and none
// that drives a terminal or turns a line around.
#include <gtest/gtest.h>

#include "names.h"
#include "rt/text.h"

namespace wistel::test {
namespace {

TEST(ShownName, BytesThatAreNoTextAndHiddenControlsAreShownApart) {
  using rt::Encoding;
  const struct {
    std::string bytes;
    Encoding e;
    std::u16string shown;
  } cases[] = {
      {"a\xFF", Encoding::Utf8, u"a\\xFF"},
      {"a\xFE", Encoding::Utf8, u"a\\xFE"},
      {"a\xEF\xBF\xBD", Encoding::Utf8, u"a\uFFFD"},  // the character U+FFFD itself
      {"\xE4\xB8", Encoding::Utf8, u"\\xE4\\xB8"},  // a character cut short
      {"\xC3" "A\xED\xA0\x80", Encoding::Utf8, u"\\xC3A\\xED\\xA0\\x80"},  // a surrogate encoded
      {"\xF0\x9F\x98\x80\xC2\x85", Encoding::Utf8, u"\U0001F600\\u0085"},
      {"rlo\xE2\x80\xAEtxt.exe", Encoding::Utf8, u"rlo\\u202Etxt.exe"},
      {"\xE2\x80\xAA\xE2\x81\xA6x\xE2\x81\xA9", Encoding::Utf8, u"\\u202A\\u2066x\\u2069"},
      {"\x1B[1m\x7F\r", Encoding::Utf8, u"\\x1B[1m\\x7F\\x0D"},
      {"\xD6\xD0\xCE\xC4", Encoding::Cp936, u"中文"},
      {"\xD6\xD0\xFF", Encoding::Cp936, u"中\\xFF"},
  };
  for (const auto& c : cases) {
    std::u16string text = textOfBytes(c.bytes, c.e);
    EXPECT_EQ(shownName(text), c.shown) << rt::toUtf8(c.shown);
    // Written out, a kept byte is U+FFFD, as decoding would have made it.
    EXPECT_EQ(rt::encode(text, c.e), rt::encode(rt::decode(c.bytes, c.e), c.e)) << rt::toUtf8(c.shown);
  }
}

}  // namespace
}  // namespace wistel::test
