// The format engine: Format's number, date and text sections and named
// formats, the FormatNumber family and FormatDateTime, in both locale
// profiles.
#include "rt/format.h"

#include <gtest/gtest.h>

#include "rt/convert.h"
#include "rt/testing.h"
#include "rt/text.h"

using namespace rt;
using rt::testing::errorOf;

namespace {

const LocaleProfile& en = profileOf(LocaleId::EnglishUS);
const LocaleProfile& zh = profileOf(LocaleId::ChinesePRC);

// Monday 31 January 2000, 15:04:05.
const Date kMonday{36556.0 + (15 * 3600 + 4 * 60 + 5) / 86400.0};

struct Case {
  Variant value;
  const char16_t* format;
  const char16_t* want;
};

template <size_t N>
void check(const Case (&cases)[N], const LocaleProfile& loc) {
  for (const Case& c : cases) {
    std::u16string got;
    int32_t err = errorOf([&] { got = formatValue(c.value, c.format, 1, 1, loc); });
    EXPECT_EQ(err, 0) << toUtf8(c.format);
    EXPECT_EQ(toUtf8(got), toUtf8(c.want)) << toUtf8(c.format) << " " << toUtf8(loc.name);
  }
}

}  // namespace

TEST(Format, NumberPlaceholders) {
  const Case cases[] = {
      {Variant(2.5), u"0", u"3"},  // a half away from zero
      {Variant(3.5), u"0", u"4"},
      {Variant(-2.5), u"0", u"-3"},
      {Variant(1.005), u"0.00", u"1.01"},  // the digits the Double shows
      {Variant(1234.5), u"#,##0.00", u"1,234.50"},
      {Variant(int32_t{1234567}), u"#,##0", u"1,234,567"},
      {Variant(0.5), u"0%", u"50%"},
      {Variant(0.25), u"0.0%", u"25.0%"},
      {Variant(0.5), u"#.##", u".5"},
      {Variant(int16_t{5}), u"#.##", u"5."},
      {Variant(0.5), u"0.##", u"0.5"},
      {Variant(int16_t{0}), u"#", u""},
      {Variant(int16_t{5}), u"000", u"005"},
      {Variant(int16_t{5}), u"0##", u"005"},
      {Variant(int16_t{12345}), u"00", u"12345"},  // extra digits are all shown
      {Variant(int32_t{1234567}), u"000-0000", u"123-4567"},
      {Variant(1.5), u"0.0#", u"1.5"},
      {Variant(1234.5678), u"0.0#", u"1234.57"},
      {Variant(int32_t{1234567}), u"#,##0,", u"1,235"},  // scaled by a thousand
      {Variant(int32_t{123456789}), u"##0,,", u"123"},
      {Variant(12.5), u".00", u"12.50"},
      {Variant(1234.5), u"$#,##0.00", u"$1,234.50"},
      {Variant(-1234.5), u"$#,##0.00", u"-$1,234.50"},
      {Variant(int16_t{5}), u"\\$0", u"$5"},
      {Variant(int16_t{5}), u"\"Total: \"0", u"Total: 5"},
      {Variant(-0.001), u"0.00", u"-0.00"},
      {Variant(Currency{123456789}), u"#,##0.0000", u"12,345.6789"},
      {Variant(Decimal{12345678901234567890ull, 0, 2, false}), u"0.0", u"123456789012345678.9"},
      {Variant(true), u"0", u"-1"},
      {Variant(Date{36526.5}), u"0.00", u"36526.50"},
  };
  check(cases, en);
}

TEST(Format, Scientific) {
  const Case cases[] = {
      {Variant(12345.678), u"0.00E+00", u"1.23E+04"},
      {Variant(0.000123), u"0.00E-00", u"1.23E-04"},
      {Variant(12345.0), u"0.00E-00", u"1.23E04"},
      {Variant(12345.0), u"00.0e+0", u"12.3e+3"},
      {Variant(9.999), u"0.00E+00", u"1.00E+01"},
      {Variant(int16_t{0}), u"0.00E+00", u"0.00E+00"},
      {Variant(-1234.5), u"0.0E+0", u"-1.2E+3"},
      {Variant(1234.5), u"Scientific", u"1.23E+03"},
  };
  check(cases, en);
}

TEST(Format, Sections) {
  const Case cases[] = {
      {Variant(int16_t{-1}), u"0;(0)", u"(1)"},
      {Variant(int16_t{1}), u"0;(0)", u"1"},
      {Variant(int16_t{0}), u"0;(0);\\Z\\e\\r\\o", u"Zero"},
      {Variant(0.001), u"0.00;(0.00);\\Z\\e\\r\\o", u"0.00"},  // not zero itself
      {Variant(int16_t{-5}), u"0;;\\Z", u"-5"},  // an empty section: the positive one
      {Variant(Null{}), u"0;0;0;\\N\\u\\l\\l", u"Null"},
      {Variant(Null{}), u"0", u""},
      {Variant(u"-3"), u"0;<0>", u"<3>"},
      {Variant(int16_t{3}), u"0;(0);\"none\";", u"3"},
  };
  check(cases, en);
}

TEST(Format, TextPlaceholders) {
  const Case cases[] = {
      {Variant(u"abc"), u">", u"ABC"},
      {Variant(u"ABC"), u"<", u"abc"},
      {Variant(u"abc"), u"@@@@@", u"  abc"},
      {Variant(u"abc"), u"!@@@@@", u"abc  "},
      {Variant(u"abc"), u"&&&&&", u"abc"},
      {Variant(u"abcdef"), u"@@@", u"abcdef"},
      {Variant(u"abcdef"), u"!@@@", u"abcdef"},
      {Variant(u"abcdef"), u"(@@@)", u"(abcdef)"},
      {Variant(u"5551234"), u"@@@-@@@@", u"555-1234"},
      {Variant(u"abcdef"), u">!@@-@@", u"AB-CDEF"},
      {Variant(u""), u"@;\\E\\m\\p\\t\\y", u"Empty"},
      {Variant(Null{}), u"@;\\N\\o\\n\\e", u"None"},
      {Variant(int16_t{12}), u"@@@@", u"  12"},
      {Variant(u"0012"), u"@@@@@@", u"  0012"},  // text keeps its own form
      {Variant(u"abc"), u"0.00", u"abc"},        // not a number: as it is
      {Variant(u"abc"), u"yyyy", u"abc"},
      {Variant(u"abc"), u"", u"abc"},
  };
  check(cases, en);
}

TEST(Format, NamedFormats) {
  const Case english[] = {
      {Variant(1234.5), u"General Number", u"1234.5"},
      {Variant(1234.5), u"general number", u"1234.5"},
      {Variant(1234.5), u"Currency", u"$1,234.50"},
      {Variant(-1234.5), u"Currency", u"($1,234.50)"},
      {Variant(1234.567), u"Fixed", u"1234.57"},
      {Variant(-1234.567), u"Fixed", u"-1234.57"},
      {Variant(1234.567), u"Standard", u"1,234.57"},
      {Variant(0.1234), u"Percent", u"12.34%"},
      {Variant(int16_t{0}), u"Yes/No", u"No"},
      {Variant(int16_t{5}), u"Yes/No", u"Yes"},
      {Variant(true), u"Yes/No", u"Yes"},
      {Variant(u"True"), u"Yes/No", u"Yes"},
      {Variant(int16_t{-1}), u"True/False", u"True"},
      {Variant(int16_t{0}), u"True/False", u"False"},
      {Variant(int16_t{0}), u"On/Off", u"Off"},
      {Variant(int16_t{2}), u"On/Off", u"On"},
      {Variant(kMonday), u"General Date", u"1/31/2000 3:04:05 PM"},
      {Variant(kMonday), u"Long Date", u"Monday, January 31, 2000"},
      {Variant(kMonday), u"Medium Date", u"31-Jan-00"},
      {Variant(kMonday), u"Short Date", u"1/31/2000"},
      {Variant(kMonday), u"Long Time", u"3:04:05 PM"},
      {Variant(kMonday), u"Medium Time", u"03:04 PM"},
      {Variant(kMonday), u"Short Time", u"15:04"},
      {Variant(int32_t{36526}), u"Long Date", u"Saturday, January 1, 2000"},
      {Variant(u"abc"), u"Currency", u"abc"},
  };
  check(english, en);
  const Case chinese[] = {
      {Variant(1234.5), u"Currency", u"¥1,234.50"},
      {Variant(-1234.5), u"Currency", u"¥-1,234.50"},
      {Variant(kMonday), u"General Date", u"2000/1/31 15:04:05"},
      {Variant(kMonday), u"Long Date", u"2000年1月31日"},
      {Variant(kMonday), u"Short Date", u"2000/1/31"},
      {Variant(kMonday), u"Medium Date", u"31-1月-00"},
      {Variant(kMonday), u"Long Time", u"15:04:05"},
      {Variant(kMonday), u"Medium Time", u"03:04 下午"},
      {Variant(kMonday), u"Short Time", u"15:04"},
  };
  check(chinese, zh);
}

TEST(Format, DateTokens) {
  const Case english[] = {
      {Variant(kMonday), u"yyyy-mm-dd hh:nn:ss", u"2000-01-31 15:04:05"},
      {Variant(kMonday), u"YYYY-MM-DD", u"2000-01-31"},
      {Variant(kMonday), u"d/m/yy", u"31/1/00"},
      {Variant(kMonday), u"dddd, mmmm d", u"Monday, January 31"},
      {Variant(kMonday), u"ddd mmm", u"Mon Jan"},
      {Variant(kMonday), u"ddddd", u"1/31/2000"},
      {Variant(kMonday), u"dddddd", u"Monday, January 31, 2000"},
      {Variant(kMonday), u"ttttt", u"3:04:05 PM"},
      {Variant(kMonday), u"c", u"1/31/2000 3:04:05 PM"},
      {Variant(kMonday), u"h:mm AM/PM", u"3:04 PM"},
      {Variant(kMonday), u"h:mm am/pm", u"3:04 pm"},
      {Variant(kMonday), u"h:mm A/P", u"3:04 P"},
      {Variant(kMonday), u"hh AMPM", u"03 PM"},
      {Variant(kMonday), u"h:m:s", u"15:4:5"},
      {Variant(kMonday), u"m", u"1"},  // no hour before it: the month
      {Variant(kMonday), u"q", u"1"},
      {Variant(kMonday), u"y", u"31"},  // day of the year
      {Variant(kMonday), u"w", u"2"},
      {Variant(kMonday), u"ww", u"6"},
      {Variant(kMonday), u"\\d\\a\\y d", u"day 31"},
      {Variant(kMonday), u"\"Year \"yyyy", u"Year 2000"},
      {Variant(int32_t{36526}), u"yyyy", u"2000"},
      {Variant(u"1/31/2000"), u"yyyy", u"2000"},
      {Variant(Date{0.75}), u"hh:nn", u"18:00"},
  };
  check(english, en);
  const Case chinese[] = {
      {Variant(kMonday), u"dddd", u"星期一"},
      {Variant(kMonday), u"mmmm", u"一月"},
      {Variant(kMonday), u"mmm", u"1月"},
      {Variant(kMonday), u"ddd", u"周一"},
      {Variant(kMonday), u"ddddd ttttt", u"2000/1/31 15:04:05"},
      {Variant(kMonday), u"AMPM h:nn", u"下午 3:04"},
      {Variant(u"2000/1/31"), u"yyyy-mm-dd", u"2000-01-31"},
  };
  check(chinese, zh);
}

TEST(Format, WeekRules) {
  struct WeekCase {
    Date d;
    int firstDay, firstWeek;
    const char16_t* format;
    const char16_t* want;
  } cases[] = {
      {kMonday, 1, 1, u"ww", u"6"},
      {kMonday, 1, 2, u"ww", u"5"},  // 1 January 2000 was a Saturday
      {kMonday, 1, 3, u"ww", u"5"},
      {kMonday, 2, 1, u"w", u"1"},
      {kMonday, 7, 1, u"w", u"3"},
      {Date{36526}, 1, 2, u"ww", u"52"},  // still the last week of 1999
      {Date{36526}, 1, 1, u"ww", u"1"},
  };
  for (const WeekCase& c : cases) {
    EXPECT_EQ(toUtf8(formatValue(Variant(c.d), c.format, c.firstDay, c.firstWeek, en)), toUtf8(c.want))
        << c.firstDay << " " << c.firstWeek;
  }
  EXPECT_EQ(weekdayOf(kMonday, 0, zh), 1);  // the locale's week starts on Monday
  EXPECT_EQ(weekdayOf(kMonday, 0, en), 2);
  EXPECT_EQ(weekOfYear(kMonday, 1, 1, en), 6);
}

TEST(Format, Failures) {
  EXPECT_EQ(errorOf([] { formatValue(Variant(int16_t{1}), u"0", 8, 1, en); }), 5);
  EXPECT_EQ(errorOf([] { formatValue(Variant(int16_t{1}), u"0", 1, 4, en); }), 5);
  EXPECT_EQ(errorOf([] { formatValue(Variant(1e10), u"yyyy", 1, 1, en); }), 6);
  EXPECT_EQ(errorOf([] { weekdayOf(kMonday, -1, en); }), 5);
}

TEST(FormatNumber, Styles) {
  struct StyleCase {
    Variant value;
    NumberStyle style;
    NumberOptions options;
    const char16_t* want;
  } cases[] = {
      {Variant(1234.5), NumberStyle::Number, {}, u"1,234.50"},
      {Variant(-1234.5), NumberStyle::Number, {}, u"-1,234.50"},
      {Variant(0.5), NumberStyle::Number, {0}, u"1"},
      {Variant(0.25), NumberStyle::Number, {1, 0}, u".3"},
      {Variant(0.25), NumberStyle::Number, {1, -1}, u"0.3"},
      {Variant(int16_t{-5}), NumberStyle::Number, {0, -2, -1}, u"(5)"},
      {Variant(int32_t{1234567}), NumberStyle::Number, {0, -2, -2, 0}, u"1234567"},
      {Variant(u"1234.5"), NumberStyle::Number, {3}, u"1,234.500"},
      {Variant(int16_t{5}), NumberStyle::Currency, {}, u"$5.00"},
      {Variant(int16_t{-5}), NumberStyle::Currency, {}, u"($5.00)"},
      {Variant(int16_t{-5}), NumberStyle::Currency, {-1, -2, 0}, u"-$5.00"},
      {Variant(0.5), NumberStyle::Percent, {}, u"50.00%"},
      {Variant(-0.5), NumberStyle::Percent, {}, u"-50.00%"},
      {Variant(-0.5), NumberStyle::Percent, {0, -2, -1}, u"(50%)"},
      {Variant(0.12345), NumberStyle::Percent, {1}, u"12.3%"},
      {Variant(0.0), NumberStyle::Percent, {}, u"0.00%"},
      {Variant(int16_t{0}), NumberStyle::Percent, {0}, u"0%"},
      {Variant(0.0), NumberStyle::Percent, {2, 0}, u".00%"},
      {Variant(0.00001), NumberStyle::Percent, {2}, u"0.00%"},
      {Variant(-0.001), NumberStyle::Number, {}, u"0.00"},
  };
  for (const StyleCase& c : cases)
    EXPECT_EQ(toUtf8(formatNumber(c.value, c.style, c.options, en)), toUtf8(c.want));
  EXPECT_EQ(toUtf8(formatNumber(Variant(-5.0), NumberStyle::Currency, {}, zh)), "¥-5.00");
  EXPECT_EQ(toUtf8(formatNumber(Variant(-5.0), NumberStyle::Currency, {-1, -2, -1}, zh)), "(¥5.00)");
  EXPECT_EQ(errorOf([] { formatNumber(Variant(1.0), NumberStyle::Number, {-2}, en); }), 5);
  EXPECT_EQ(errorOf([] { formatNumber(Variant(1.0), NumberStyle::Number, {100}, en); }), 5);
  EXPECT_EQ(errorOf([] { formatNumber(Variant(u"abc"), NumberStyle::Number, {}, en); }), 13);
  EXPECT_EQ(errorOf([] { formatNumber(Variant(Null{}), NumberStyle::Number, {}, en); }), 94);
}

TEST(FormatDateTime, Styles) {
  const char16_t* english[] = {u"1/31/2000 3:04:05 PM", u"Monday, January 31, 2000", u"1/31/2000",
                               u"3:04:05 PM", u"15:04"};
  const char16_t* chinese[] = {u"2000/1/31 15:04:05", u"2000年1月31日", u"2000/1/31", u"15:04:05",
                               u"15:04"};
  for (int style = 0; style <= 4; ++style) {
    EXPECT_EQ(toUtf8(formatDateTime(Variant(kMonday), style, en)), toUtf8(english[style]));
    EXPECT_EQ(toUtf8(formatDateTime(Variant(kMonday), style, zh)), toUtf8(chinese[style]));
  }
  EXPECT_EQ(toUtf8(formatDateTime(Variant(u"1/31/2000"), 0, en)), "1/31/2000");
  EXPECT_EQ(toUtf8(formatDateTime(Variant(int32_t{36526}), 2, en)), "1/1/2000");
  EXPECT_EQ(errorOf([] { formatDateTime(Variant(kMonday), 5, en); }), 5);
  EXPECT_EQ(errorOf([] { formatDateTime(Variant(u"abc"), 0, en); }), 13);
}
