// Decimal arithmetic: scale, rounding half to even at 28 digits, overflow.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "decimal.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/text.h"

using namespace rt;

namespace {

constexpr const char* kMax = "79228162514264337593543950335";  // 2^96 - 1

Decimal dec_(std::string_view s) {
  Decimal d;
  if (!dec::fromText(ascii(s), d)) throw std::invalid_argument(std::string(s));
  return d;
}

// The text of a result, or "error N".
std::string outcome(const std::function<Decimal()>& f) {
  try {
    return toUtf8(dec::toText(f()));
  } catch (const RuntimeError& e) {
    return "error " + std::to_string(e.number());
  }
}

}  // namespace

TEST(DecimalArith, Table) {
  using Op = Decimal (*)(const Decimal&, const Decimal&);
  struct Case {
    Op op;
    const char* a;
    const char* b;
    std::string expected;
  };
  const std::string max = kMax;
  const Case cases[] = {
      {dec::add, "0.1", "0.2", "0.3"},
      {dec::add, "1.5", "-2.25", "-0.75"},
      {dec::add, kMax, "0.4", max},
      {dec::add, kMax, "0.5", "error 6"},  // rounds up to 2^96
      {dec::add, kMax, "1", "error 6"},
      {dec::add, "-79228162514264337593543950335", "-0.4", "-" + max},
      {dec::add, "1", "0.0000000000000000000000000001", "1.0000000000000000000000000001"},
      // 29 digits do not fit with that scale: the last one is rounded off.
      {dec::add, "10", "0.0000000000000000000000000005", "10"},
      {dec::add, "10", "0.0000000000000000000000000015", "10.000000000000000000000000002"},
      {dec::sub, "1", "1.000", "0"},
      {dec::sub, "0.0000000000000000000000000001", "0.0000000000000000000000000002",
       "-0.0000000000000000000000000001"},
      {dec::sub, "-5", "-5", "0"},
      {dec::mul, "1.5", "-2.25", "-3.375"},
      {dec::mul, "-4", "-0.25", "1"},
      {dec::mul, "0.0000000000001", "0.0000000000000001", "0"},
      {dec::mul, "0.00000000000001", "0.000000000000015", "0.0000000000000000000000000002"},
      {dec::mul, "0.00000000000001", "0.000000000000025", "0.0000000000000000000000000002"},
      {dec::mul, "7922816251426433759354395033.5", "10", max},
      {dec::mul, "10000000000000000000000000000", "10", "error 6"},
      {dec::mul, "4294967296", "4294967296", "18446744073709551616"},
      {dec::div, "1", "3", "0.3333333333333333333333333333"},
      {dec::div, "2", "3", "0.6666666666666666666666666667"},
      {dec::div, "-2", "3", "-0.6666666666666666666666666667"},
      {dec::div, "1", "4", "0.25"},
      {dec::div, "100", "7", "14.285714285714285714285714286"},
      {dec::div, "-6", "3", "-2"},
      {dec::div, "0", "5", "0"},
      {dec::div, "1", "0", "error 11"},
      {dec::div, "1", "0.0000000000000000000000000001", "10000000000000000000000000000"},
      {dec::div, kMax, "0.1", "error 6"},
      {dec::div, kMax, "1", max},
      {dec::div, "0.0000000000000000000000000001", "3", "0"},
      {dec::div, "0.0000000000000000000000000002", "4", "0"},  // 0.5E-28, half to even
      {dec::div, "0.0000000000000000000000000003", "4", "0.0000000000000000000000000001"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(outcome([&] { return c.op(dec_(c.a), dec_(c.b)); }), c.expected) << c.a << " " << c.b;
}

TEST(DecimalArith, DivisionKeepsTheDividendsScale) {
  Decimal q = dec::div(dec_("2.50"), dec_("1"));
  EXPECT_EQ(q.scale, 2);
  EXPECT_EQ(dec::div(dec_("1"), dec_("4")).scale, 2);
}

TEST(DecimalArith, Text) {
  struct Case {
    const char* text;
    std::string expected;  // "none" when it does not read
  };
  const Case cases[] = {
      {"0", "0"},
      {"-0", "0"},
      {"+12.50", "12.5"},
      {"000123", "123"},
      {".5", "0.5"},
      {"5.", "5"},
      {"1E-29", "0"},
      {"1.5E-28", "0.0000000000000000000000000002"},
      {"2.5E-28", "0.0000000000000000000000000002"},
      {"1.23e5", "123000"},
      {"1e28", "10000000000000000000000000000"},
      {"1e29", "error 6"},
      {"1e-99999999999", "0"},
      {"79228162514264337593543950335", kMax},
      {"79228162514264337593543950336", "error 6"},
      {"79228162514264337593543950335.5", "error 6"},
      // One decimal would make the mantissa 2^96: the scale drops to 0.
      {"7922816251426433759354395033.55", "7922816251426433759354395034"},
      {"7922816251426433759354395032.55", "7922816251426433759354395032.6"},
      {"0.12345678901234567890123456789012345678901234567890", "0.1234567890123456789012345679"},
      {"", "none"},
      {".", "none"},
      {"1e", "none"},
      {"1,5", "none"},
      {" 1", "none"},
      {"abc", "none"},
  };
  for (const Case& c : cases) {
    std::string got;
    try {
      Decimal d;
      got = dec::fromText(ascii(c.text), d) ? toUtf8(dec::toText(d)) : "none";
    } catch (const RuntimeError& e) {
      got = "error " + std::to_string(e.number());
    }
    EXPECT_EQ(got, c.expected) << c.text;
  }
  EXPECT_EQ(dec::toText(dec_("-1.5"), u','), u"-1,5");
}

TEST(DecimalArith, CompareAndRound) {
  EXPECT_EQ(dec::compare(dec_("1.10"), dec_("1.1")), 0);
  EXPECT_EQ(dec::compare(dec_("-0"), dec_("0.000")), 0);
  EXPECT_EQ(dec::compare(dec_("-1"), dec_("0.5")), -1);
  EXPECT_EQ(dec::compare(dec_("-1"), dec_("-2")), 1);
  EXPECT_EQ(dec::compare(dec_("0.0000000000000000000000000001"), dec_("0")), 1);
  EXPECT_EQ(dec::compare(dec_(kMax), dec_("7922816251426433759354395033.5")), 1);

  struct Case {
    std::function<Decimal()> f;
    const char* expected;
  };
  const Case cases[] = {
      {[] { return dec::roundToInteger(dec_("2.5")); }, "2"},
      {[] { return dec::roundToInteger(dec_("3.5")); }, "4"},
      {[] { return dec::roundToInteger(dec_("-2.5")); }, "-2"},
      {[] { return dec::roundToInteger(dec_("-2.51")); }, "-3"},
      {[] { return dec::round(dec_("1.2345"), 3); }, "1.234"},
      {[] { return dec::round(dec_("1.2355"), 3); }, "1.236"},
      {[] { return dec::round(dec_("1.2"), 3); }, "1.2"},
      {[] { return dec::truncate(dec_("-3.7")); }, "-3"},
      {[] { return dec::floor(dec_("-3.2")); }, "-4"},
      {[] { return dec::floor(dec_("3.7")); }, "3"},
      {[] { return dec::negate(dec_("0")); }, "0"},
      {[] { return dec::negate(dec_("1.5")); }, "-1.5"},
  };
  for (const Case& c : cases) EXPECT_EQ(outcome(c.f), c.expected);
  EXPECT_FALSE(dec::negate(dec_("0")).negative);
}

TEST(DecimalArith, OtherTypes) {
  EXPECT_EQ(dec::toInt64(dec_("-9223372036854775808")), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(dec::toInt64(dec_("9223372036854775806.5")), 9223372036854775806);
  EXPECT_EQ(outcome([] { return dec::fromInt64(dec::toInt64(dec_("9223372036854775807.5"))); }),
            "error 6");
  EXPECT_EQ(dec::toText(dec::fromInt64(std::numeric_limits<int64_t>::min())), u"-9223372036854775808");
  EXPECT_EQ(dec::toCurrency(dec_("-922337203685477.5808")).raw, std::numeric_limits<int64_t>::min());
  EXPECT_EQ(dec::toCurrency(dec_("1.23455")).raw, 12346);
  EXPECT_EQ(dec::toCurrency(dec_("1.23445")).raw, 12344);
  EXPECT_EQ(outcome([] { return dec::fromCurrency(dec::toCurrency(dec_("922337203685477.58075"))); }),
            "error 6");
  EXPECT_EQ(dec::toText(dec::fromCurrency(Currency{12345})), u"1.2345");

  struct Case {
    double d;
    const char* expected;
  };
  const Case cases[] = {
      {0.1, "0.1"},
      {1.0 / 3, "0.333333333333333"},
      {-1e20, "-100000000000000000000"},
      {1e28, "10000000000000000000000000000"},
      {1e-30, "0"},
      {1e29, "error 6"},
      {std::numeric_limits<double>::infinity(), "error 6"},
      {std::nan(""), "error 6"},
  };
  for (const Case& c : cases) EXPECT_EQ(outcome([&] { return dec::fromDouble(c.d); }), c.expected) << c.d;
  EXPECT_EQ(dec::toDouble(dec_("0.1")), 0.1);
  EXPECT_EQ(dec::toDouble(dec_("-2.5")), -2.5);
  EXPECT_EQ(dec::toDouble(dec_(kMax)), 79228162514264337593543950335.0);
}

TEST(DecimalArith, Conversions) {
  Variant d(dec_("2.5"));
  EXPECT_EQ(toInteger(d), 2);
  EXPECT_EQ(toLong(Variant(dec_("3.5"))), 4);
  EXPECT_EQ(toText(d), u"2.5");
  EXPECT_EQ(toDouble(d), 2.5);
  EXPECT_EQ(toCurrency(d).raw, 25000);
  EXPECT_TRUE(toBool(d));
  EXPECT_FALSE(toBool(Variant(dec_("0.000"))));
  EXPECT_EQ(dec::toText(toDecimal(Variant(0.1f))), u"0.1");
  EXPECT_EQ(dec::toText(toDecimal(Variant(u"1,234.5"))), u"1234.5");
  EXPECT_EQ(dec::toText(toDecimal(Variant(u"0.1000000000000000000000000001"))),
            u"0.1000000000000000000000000001");
  EXPECT_EQ(toDate(Variant(dec_("36526.5"))).serial, 36526.5);
  struct Case {
    std::function<void()> f;
    int error;
  };
  const Case failures[] = {
      {[] { toInteger(Variant(dec_("32767.5"))); }, 6},
      {[] { toByte(Variant(dec_("-1"))); }, 6},
      {[] { toDecimal(Variant(u"&H10")); }, 6},
      {[] { toDecimal(Variant(u"1e30")); }, 6},
      {[] { toDecimal(Variant(u"x")); }, 13},
      {[] { toDecimal(Variant(Null{})); }, 94},
  };
  for (const Case& c : failures) {
    int got = 0;
    try {
      c.f();
    } catch (const RuntimeError& e) {
      got = e.number();
    }
    EXPECT_EQ(got, c.error);
  }
}
