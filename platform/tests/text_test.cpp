#include <gtest/gtest.h>

#include "rt/text.h"

namespace {

TEST(Text, Utf8RoundTrip) {
  const std::u16string samples[] = {u"", u"abc", u"中文", u"\U0001F600 smile", u"é\u00A0ü", u"\r\n"};
  for (const auto& s : samples) EXPECT_EQ(rt::fromUtf8(rt::toUtf8(s)), s);
}

TEST(Text, BadUtf8BecomesReplacement) {
  struct Case {
    std::string in;
    std::u16string out;
  };
  const Case cases[] = {
      {"a\xff" "b", u"a\uFFFDb"},
      {"\xc0\xaf", u"\uFFFD\uFFFD"},        // overlong "/"
      {"\xed\xa0\x80", u"\uFFFD\uFFFD\uFFFD"},  // an encoded surrogate
      {"\xe4\xb8", u"\uFFFD\uFFFD"},        // cut short at the end
      {"\xf4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
  };
  for (const Case& c : cases) EXPECT_EQ(rt::fromUtf8(c.in), c.out) << c.in;
  EXPECT_EQ(rt::toUtf8(u"a\xD800z"), "a\xEF\xBF\xBDz");  // lone surrogate
}

TEST(Text, CodePageNames) {
  struct Case {
    const char* name;
    bool known;
    rt::CodePage cp;
  } cases[] = {
      {"UTF-8", true, rt::CodePage::Utf8},  {"utf8", true, rt::CodePage::Utf8},
      {"", true, rt::CodePage::Utf8},       {"CP936", true, rt::CodePage::Cp936},
      {"cp_936", true, rt::CodePage::Cp936}, {"gbk", true, rt::CodePage::Cp936},
      {"936", true, rt::CodePage::Cp936},   {"latin1", false, rt::CodePage::Utf8},
      {"UTF-16", false, rt::CodePage::Utf8},
  };
  for (const Case& c : cases) {
    rt::CodePage cp = rt::CodePage::Utf8;
    EXPECT_EQ(rt::codePageNamed(c.name, cp), c.known) << c.name;
    EXPECT_EQ(cp, c.cp) << c.name;
  }
}

TEST(Text, CodePageCp936) {
  rt::setCodePage(rt::CodePage::Cp936);
  EXPECT_EQ(rt::toAnsi(u"中文a"), "\xd6\xd0\xce\xc4" "a");
  EXPECT_EQ(rt::fromAnsi("\xd6\xd0\xce\xc4" "a"), u"中文a");
  EXPECT_EQ(rt::toAnsi(u"a\U0001F600b"), "a?b");       // not in the code page
  EXPECT_EQ(rt::fromAnsi("a\xd6"), u"a\uFFFD");         // a lead byte alone
  EXPECT_EQ(rt::ansiCode(u"中"), 0xD6D0u);
  EXPECT_EQ(rt::ansiCode(u"A"), 65u);
  std::u16string ch;
  EXPECT_TRUE(rt::charFromAnsiCode(0xD6D0, ch));
  EXPECT_EQ(ch, u"中");
  EXPECT_FALSE(rt::charFromAnsiCode(0xD6, ch));
  rt::setCodePage(rt::CodePage::Utf8);
  EXPECT_EQ(rt::toAnsi(u"中"), "\xe4\xb8\xad");
  EXPECT_EQ(rt::ansiCode(u"中"), 0x4E2Du);
  EXPECT_EQ(rt::ansiCode(u"\U0001F600"), 0x1F600u);
  EXPECT_TRUE(rt::charFromAnsiCode(0x1F600, ch));
  EXPECT_EQ(ch, u"\U0001F600");
  EXPECT_FALSE(rt::charFromAnsiCode(0xD800, ch));
  EXPECT_FALSE(rt::charFromAnsiCode(0x110000, ch));
}

TEST(Text, CaseBlindComparison) {
  struct Case {
    std::u16string a, b;
    bool equal;
  };
  const Case cases[] = {
      {u"Hello", u"hELLO", true},
      {u"ÄÖÜ", u"äöü", true},
      {u"ΣΑΣ", u"σας", true},          // final sigma folds with sigma
      {u"ＡＢＣ", u"abc", true},       // full-width letters
      {u"ｘ１", u"X1", true},
      {u"\u3000", u" ", true},
      {u"Straße", u"STRASSE", false},  // simple folding only
      {u"abc", u"abd", false},
      {u"abc", u"ab", false},
      {u"\U00010400", u"\U00010428", true},  // Deseret, outside the BMP
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rt::equalsNoCase(c.a, c.b), c.equal) << rt::toUtf8(c.a);
    EXPECT_EQ(rt::compareNoCase(c.a, c.b) == 0, c.equal);
    if (c.equal) {
      EXPECT_EQ(rt::hashNoCase(c.a), rt::hashNoCase(c.b));
    }
  }
  EXPECT_LT(rt::compareNoCase(u"a", u"B"), 0);
  EXPECT_GT(rt::compareNoCase(u"abc", u"AB"), 0);
  EXPECT_EQ(rt::foldCase(u"MiXeD 中"), u"mixed 中");
}

TEST(Text, UpperAndLower) {
  EXPECT_EQ(rt::toUpper(u"abc ä σ ß"), u"ABC Ä Σ ß");  // ß has no one-letter upper case
  EXPECT_EQ(rt::toLower(u"ABC Ä Σ İ"), u"abc ä σ İ");
}

}  // namespace
