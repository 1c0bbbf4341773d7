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

// Each piece after ASCII runs of every length up to past two machine words,
// and before a short one, so that no fast path over ASCII runs can misjudge
// where a run ends.
std::string asciiRun(size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>('a' + i % 26));
  return s;
}

TEST(Text, Utf8PiecesAtEveryOffset) {
  struct Case {
    std::string bytes;
    std::u16string units;
  };
  const Case cases[] = {
      {"", u""},
      {"Z", u"Z"},
      {"\xC3\xA9", u"é"},
      {"\xE4\xB8\xAD\xE6\x96\x87", u"中文"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},               // a surrogate pair
      {"\x7F\xC2\x80", u"\x7F\x80"},                     // the edges of one byte and two
      {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", u"\uFFFF\U0010FFFF"},  // the largest of three and four
      {"\xFF", u"\uFFFD"},
      {"\x80\xBF", u"\uFFFD\uFFFD"},                      // continuation bytes alone
      {"\xE4\xB8" "a", u"\uFFFD\uFFFDa"},                 // cut short before ASCII
      {"\xF0\x9F\x98", u"\uFFFD\uFFFD\uFFFD"},
      {"\xC0\x80", u"\uFFFD\uFFFD"},                      // overlong NUL
      {"\xED\xB0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded low surrogate
      {"\xC3\xA9\xFF\xE4\xB8\xAD", u"é\uFFFD中"},
  };
  for (const Case& c : cases) {
    for (size_t before : {0, 1, 7, 8, 9, 15, 16, 17}) {
      for (size_t after : {0, 1, 9}) {
        std::string bytes = asciiRun(before) + c.bytes + asciiRun(after);
        std::u16string units = rt::ascii(asciiRun(before)) + c.units + rt::ascii(asciiRun(after));
        EXPECT_EQ(rt::fromUtf8(bytes), units) << c.bytes << " after " << before;
        // Bad bytes come back as the replacement's three bytes; good ones as they were.
        if (c.units.find(u'\uFFFD') == std::u16string::npos) {
          EXPECT_EQ(rt::toUtf8(units), bytes) << c.bytes << " after " << before;
        }
      }
    }
  }
}

TEST(Text, LoneSurrogatesBecomeReplacementsInUtf8) {
  struct Case {
    std::u16string units;
    std::string bytes;
  };
  const std::string r = "\xEF\xBF\xBD";
  const Case cases[] = {
      {u"\xD800", r},
      {u"\xDC00", r},
      {u"\xDBFF\xDBFF\xDFFF", r + "\xF4\x8F\xBF\xBF"},  // a high one, then a pair
      {u"\xDC00\xD800", r + r},                       // the wrong order is no pair
      {std::u16string{0xD83D, u'a'}, r + "a"},
  };
  for (const Case& c : cases) {
    for (size_t before : {0, 3, 8, 17}) {
      const std::string run = asciiRun(before);
      EXPECT_EQ(rt::toUtf8(rt::ascii(run) + c.units), run + c.bytes);
      EXPECT_EQ(rt::toUtf8(c.units + rt::ascii(run)), c.bytes + run);
    }
  }
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

// Named encodings do not depend on the system code page.
TEST(Text, NamedEncodings) {
  struct Case {
    rt::Encoding e;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {rt::Encoding::Utf8, "\xe4\xb8\xad\xf0\x9f\x98\x80", u"中\U0001F600"},
      {rt::Encoding::Utf16Le, std::string("\x2d\x4e\x3d\xd8\x00\xde" "a\0", 8), u"中\U0001F600a"},
      {rt::Encoding::Utf16Be, std::string("\x4e\x2d\xd8\x3d\xde\x00\0a", 8), u"中\U0001F600a"},
      {rt::Encoding::Cp936, "\xd6\xd0\xce\xc4" "a", u"中文a"},
      {rt::Encoding::Utf16Le, std::string("\x00\xd8", 2), u"\xD800"},  // a lone surrogate stays
  };
  for (rt::CodePage cp : {rt::CodePage::Utf8, rt::CodePage::Cp936}) {
    rt::setCodePage(cp);
    for (const Case& c : cases) {
      EXPECT_EQ(rt::decode(c.bytes, c.e), c.text);
      EXPECT_EQ(rt::encode(c.text, c.e), c.bytes);
    }
  }
  rt::setCodePage(rt::CodePage::Utf8);
  EXPECT_EQ(rt::ansiEncoding(), rt::Encoding::Utf8);
  // What does not convert back.
  EXPECT_EQ(rt::decode("a\xd6", rt::Encoding::Cp936), u"a\uFFFD");
  EXPECT_EQ(rt::decode("abc", rt::Encoding::Utf16Le), u"\u6261\uFFFD");
  EXPECT_EQ(rt::encode(u"\U0001F600", rt::Encoding::Cp936), "?");
  EXPECT_EQ(rt::encode(u"\xDC00", rt::Encoding::Utf8), "\xef\xbf\xbd");
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
  struct Case {
    std::u16string lower, upper;
  };
  const Case cases[] = {
      {u"", u""},
      {u"z", u"Z"},
      {u"中文", u"中文"},
      {u"\U00010428", u"\U00010400"},  // Deseret, outside the BMP
      {u"ｂ", u"Ｂ"},                   // full-width letters keep their width
      {u"ä中b\U00010429", u"Ä中B\U00010401"},
  };
  for (const Case& c : cases) {
    for (size_t before : {0, 1, 8, 17}) {
      const std::u16string lowerRun = rt::ascii(asciiRun(before));
      const std::u16string upperRun = rt::toUpper(lowerRun);
      EXPECT_EQ(rt::toUpper(lowerRun + c.lower + u"x"), upperRun + c.upper + u"X");
      EXPECT_EQ(rt::toLower(upperRun + c.upper + u"X"), lowerRun + c.lower + u"x");
    }
  }
  for (size_t before : {0, 1, 8, 17}) {
    const std::u16string lowerRun = rt::ascii(asciiRun(before));
    EXPECT_EQ(rt::foldCase(rt::toUpper(lowerRun) + u"Ä中Ｂ\U00010400X"), lowerRun + u"ä中b\U00010428x");
  }
  // Lone surrogates and characters without case pass through.
  const std::u16string odd{0xD800, u'1', 0xDC00, u'-', 0xDBFF};
  EXPECT_EQ(rt::toUpper(odd), odd);
  EXPECT_EQ(rt::toLower(odd), odd);
  EXPECT_EQ(rt::toUpper(std::u16string{u'a', 0xD800, u'b'}), (std::u16string{u'A', 0xD800, u'B'}));
}

// Every ASCII unit at every place of a run that is mapped several units at a
// time, against the plain rule for one unit.
TEST(Text, AsciiRunsMapLikeSingleUnits) {
  auto upper = [](char16_t u) { return u >= u'a' && u <= u'z' ? char16_t(u - 32) : u; };
  auto lower = [](char16_t u) { return u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u; };
  for (size_t at = 0; at < 9; ++at) {
    for (char16_t u = 0; u < 0x80; ++u) {
      std::u16string s = u"@AZaz[`{";  // the neighbours of both ranges
      s.push_back(u'm');
      s[at] = u;
      std::u16string up = s, low = s;
      for (char16_t& c : up) c = upper(c);
      for (char16_t& c : low) c = lower(c);
      ASSERT_EQ(rt::toUpper(s), up) << "unit " << int(u) << " at " << at;
      ASSERT_EQ(rt::toLower(s), low) << "unit " << int(u) << " at " << at;
      ASSERT_EQ(rt::foldCase(s), low) << "unit " << int(u) << " at " << at;
    }
  }
}

}  // namespace
