// Names as messages and listings show them: no two names alike, and none
// that drives a terminal, turns a line around or hides a character; and a
// name that is no UTF-8 text still reaches its file.
#include "rt/filenames.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "rt/fspath.h"
#include "rt/testing.h"
#include "rt/text.h"

namespace {

using rt::Encoding;
using rt::fs::shownName;
using rt::fs::textOfBytes;

TEST(ShownName, BytesThatAreNoTextAndHiddenControlsAreShownApart) {
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

// Every format character and separator that would look like nothing, or
// like another name, is shown by its code; the visible ones stay.
TEST(ShownName, FormatCharactersAndSeparatorsAreShownByTheirCode) {
  const struct {
    std::u16string name;
    std::u16string shown;
  } cases[] = {
      {u"report\u200B.txt", u"report\\u200B.txt"},
      {u"\uFEFFa", u"\\uFEFFa"},
      {u"a\u2028b\u2029c", u"a\\u2028b\\u2029c"},
      {u"soft\u00ADhyphen", u"soft\\u00ADhyphen"},
      {u"\u061C\u180E\u2060\u2064\u206F\uFFF9", u"\\u061C\\u180E\\u2060\\u2064\\u206F\\uFFF9"},
      {u"\u0600\u06DD\u070F", u"\\u0600\\u06DD\\u070F"},
      {u"tag\U000E0001\U000E0041\U000E007F", u"tag\\U000E0001\\U000E0041\\U000E007F"},
      {u"\U0001D173\U000110BD", u"\\U0001D173\\U000110BD"},
      {u"\u0085\u009F", u"\\u0085\\u009F"},
      // Visible neighbours of the ranges stay as they are.
      {u"\u00A0\u00AE\u200A\u2030\u2065\uFEFE\uFFFC\U000E0000\U000E0080",
       u"\u00A0\u00AE\u200A\u2030\u2065\uFEFE\uFFFC\U000E0000\U000E0080"},
      {u"中文 名.page", u"中文 名.page"},
  };
  for (const auto& c : cases) EXPECT_EQ(shownName(c.name), c.shown) << rt::toUtf8(c.shown);
}

TEST(NameBytes, ANameThatIsNoTextReachesItsFile) {
  for (std::string bytes : {"plain.page", "a\xFF.page", "\xC3" "A\xED\xA0\x80", "\xE4\xB8", "\xF0\x9F\x98\x80\xFF"})
    EXPECT_EQ(rt::fs::bytesOfName(textOfBytes(bytes)), bytes) << bytes;
  // A pair's second half is no kept byte; U+FFFD stays the character.
  EXPECT_EQ(rt::fs::bytesOfName(u"\U00010080"), "\xF0\x90\x82\x80");
  EXPECT_EQ(rt::fs::bytesOfName(u"\uFFFD"), "\xEF\xBF\xBD");

  rt::testing::TempDir dir{"filenames"};
  const std::string folder = dir.path().string() + "/p\xFF";
  ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
  const std::string native = rt::fs::nativePath(textOfBytes(dir.path().string() + "\\p\xFF\\"));
  EXPECT_EQ(native, folder + "/");
  struct stat st {};
  EXPECT_TRUE(rt::fs::statOf(native, st));
}

}  // namespace
