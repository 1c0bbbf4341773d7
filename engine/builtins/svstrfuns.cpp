#include "builtins/svstrfuns.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "builtins/strconv.h"
#include "builtins/textsearch.h"
#include "builtins/valtext.h"
#include "core/strutil.h"
#include "rt/error.h"
#include "rt/format.h"
#include "rt/strings.h"
#include "rt/text.h"

namespace engine {

namespace {

using rt::Variant;

constexpr size_t npos = std::u16string_view::npos;

// A count or length a script passes: a negative one raises 5.
size_t countArg(const TextArgs& a, int32_t i) {
  int32_t n = a.toInt(i);
  if (n < 0) rt::raise(rt::err::InvalidCall);
  return static_cast<size_t>(n);
}

// A position from 1: below 1 raises 5.
size_t positionArg(const TextArgs& a, int32_t i) {
  int32_t n = a.toInt(i);
  if (n < 1) rt::raise(rt::err::InvalidCall);
  return static_cast<size_t>(n);
}

// Units of the first character: a surrogate pair is one character.
size_t firstCharLength(std::u16string_view s) {
  return s.size() >= 2 && s[0] >= 0xD800 && s[0] <= 0xDBFF && s[1] >= 0xDC00 && s[1] <= 0xDFFF ? 2 : 1;
}

// --- Characters and codes ---------------------------------------------------

// Chr(code): under a double-byte code page a negative code is the 16-bit
// code of a double-byte character; under UTF-8 codes are code points, and a
// negative one names none.
Variant chrFun(const TextArgs& a) {
  int32_t code = a.toInt(1);
  if (code < 0 && code >= -32768 && rt::codePage() == rt::CodePage::Cp936) code += 65536;
  std::u16string out;
  if (code < 0 || !rt::charFromAnsiCode(static_cast<uint32_t>(code), out)) rt::raise(rt::err::InvalidCall);
  return Variant(out);
}

// Asc(s): an Integer while the code fits one, else a Long.
Variant ascFun(const TextArgs& a) {
  const std::u16string& s = a.text(1);
  if (s.empty()) rt::raise(rt::err::InvalidCall);
  uint32_t code = rt::ansiCode(s);
  if (code <= 0x7FFF) return Variant(static_cast<int16_t>(code));
  return Variant(static_cast<int32_t>(code));
}

Variant lenFun(const TextArgs& a) { return Variant(static_cast<int32_t>(a.text(1).size())); }

// --- Comparing and searching ------------------------------------------------

Variant strCompFun(const TextArgs& a) {
  rt::CompareMode mode = a.count() >= 3 ? compareModeOf(a.toInt(3)) : rt::CompareMode::Binary;
  return Variant(static_cast<int16_t>(rt::compareText(a.text(1), a.text(2), mode)));
}

// InStr([start, ]s1, s2[, mode]).  With three arguments the first one, as
// the caller passed it, tells which form: a string is s1, anything else the
// start.
Variant inStrFun(const TextArgs& a) {
  constexpr rt::CompareMode blind = rt::CompareMode::Text;
  switch (a.count()) {
    case 2: return Variant(findFrom(a.text(1), a.text(2), 1, blind));
    case 3:
      if (a.isText(1))
        return Variant(findFrom(a.text(1), a.text(2), 1, compareModeOf(a.toInt(3))));
      return Variant(findFrom(a.text(2), a.text(3), a.toInt(1), blind));
    default: return Variant(findFrom(a.text(2), a.text(3), a.toInt(1), compareModeOf(a.toInt(4))));
  }
}

Variant inStrRevFun(const TextArgs& a) {
  int32_t start = a.count() >= 3 ? a.toInt(3) : -1;
  rt::CompareMode mode = a.count() >= 4 ? compareModeOf(a.toInt(4)) : rt::CompareMode::Text;
  return Variant(findBackFrom(a.text(1), a.text(2), start, mode));
}

// --- Cutting and joining ----------------------------------------------------

// StrHead(var, sep): the head, and the rest let back into the first argument.
Variant strHeadFun(const TextArgs& a) {
  std::u16string rest = a.text(1);
  std::u16string head = rt::splitHead(rest, a.text(2));
  letArgValue(*a.list(), 1, Variant(std::move(rest)));
  return Variant(std::move(head));
}

std::u16string_view fillArg(const TextArgs& a) {
  return a.count() >= 3 ? std::u16string_view(a.text(3)) : std::u16string_view(u" ");
}
Variant fullCharLFun(const TextArgs& a) { return Variant(rt::padLeft(a.text(1), a.toInt(2), fillArg(a))); }
Variant fullCharRFun(const TextArgs& a) { return Variant(rt::padRight(a.text(1), a.toInt(2), fillArg(a))); }

Variant midFun(const TextArgs& a) {
  std::u16string_view s = a.text(1);
  size_t start = positionArg(a, 2);
  size_t length = a.count() >= 3 ? countArg(a, 3) : npos;
  return Variant(start > s.size() ? std::u16string_view() : s.substr(start - 1, length));
}

Variant leftFun(const TextArgs& a) {
  std::u16string_view s = a.text(1);
  return Variant(s.substr(0, countArg(a, 2)));
}

Variant rightFun(const TextArgs& a) {
  std::u16string_view s = a.text(1);
  size_t n = std::min(countArg(a, 2), s.size());
  return Variant(s.substr(s.size() - n));
}

Variant trimFun(const TextArgs& a) {
  std::u16string_view s = a.text(1);
  size_t first = s.find_first_not_of(u' ');
  return Variant(first == npos ? std::u16string_view() : s.substr(first, s.find_last_not_of(u' ') - first + 1));
}

Variant lTrimFun(const TextArgs& a) {
  std::u16string_view s = a.text(1);
  size_t first = s.find_first_not_of(u' ');
  return Variant(first == npos ? std::u16string_view() : s.substr(first));
}

Variant rTrimFun(const TextArgs& a) {
  std::u16string_view s = a.text(1);
  return Variant(s.substr(0, s.find_last_not_of(u' ') + 1));  // npos + 1 is 0
}

Variant uCaseFun(const TextArgs& a) { return Variant(rt::toUpper(a.text(1))); }
Variant lCaseFun(const TextArgs& a) { return Variant(rt::toLower(a.text(1))); }

Variant replaceAllFun(const TextArgs& a) { return Variant(replaceNoCase(a.text(1), a.text(2), a.text(3))); }

// Replace(s, find, with[, start[, count[, mode]]]): the result begins at start.
Variant replaceFun(const TextArgs& a) {
  std::u16string_view s = a.text(1);
  size_t start = a.count() >= 4 ? positionArg(a, 4) : 1;
  int32_t count = a.count() >= 5 ? a.toInt(5) : -1;
  if (count < -1) rt::raise(rt::err::InvalidCall);
  rt::CompareMode mode = a.count() >= 6 ? compareModeOf(a.toInt(6)) : rt::CompareMode::Text;
  if (start > s.size()) return Variant(u"");
  return Variant(replaceText(s.substr(start - 1), a.text(2), a.text(3), count, mode == rt::CompareMode::Text));
}

Variant spaceFun(const TextArgs& a) { return Variant(std::u16string(countArg(a, 1), u' ')); }

// String(n, c): n copies of the first character of c.
Variant stringFun(const TextArgs& a) {
  size_t n = countArg(a, 1);
  std::u16string_view c = a.text(2);
  if (c.empty()) rt::raise(rt::err::InvalidCall);
  c = c.substr(0, firstCharLength(c));
  if (n > rt::kLongestText / c.size()) rt::raise(rt::err::OutOfStringSpace);
  std::u16string out;
  out.reserve(n * c.size());
  for (size_t i = 0; i < n; ++i) out += c;
  return Variant(std::move(out));
}

// The characters in reverse order; a surrogate pair stays one character.
Variant strReverseFun(const TextArgs& a) {
  std::u16string_view s = a.text(1);
  std::u16string out;
  out.reserve(s.size());
  for (size_t end = s.size(); end > 0;) {
    size_t n = end >= 2 && s[end - 1] >= 0xDC00 && s[end - 1] <= 0xDFFF && s[end - 2] >= 0xD800 &&
                       s[end - 2] <= 0xDBFF
                   ? 2
                   : 1;
    out.append(s.substr(end - n, n));
    end -= n;
  }
  return Variant(std::move(out));
}

Variant strConvFun(const TextArgs& a) {
  if (a.count() >= 3) a.toInt(3);  // the locale: checked, and the system's used
  return Variant(convertText(a.text(1), a.toInt(2)));
}

// --- Numbers ------------------------------------------------------------------

std::u16string radixText(uint32_t v, unsigned radix) {
  std::u16string out;
  do {
    out.insert(out.begin(), u"0123456789ABCDEF"[v % radix]);
    v /= radix;
  } while (v);
  return out;
}

Variant hexFun(const TextArgs& a) { return Variant(radixText(static_cast<uint32_t>(a.toInt(1)), 16)); }
Variant octFun(const TextArgs& a) { return Variant(radixText(static_cast<uint32_t>(a.toInt(1)), 8)); }
Variant valFun(const TextArgs& a) { return Variant(valOf(a.text(1))); }

// --- Formats ------------------------------------------------------------------

Variant formatFun(const TextArgs& a) {
  int32_t firstDay = a.count() >= 3 ? a.toInt(3) : 1;
  int32_t firstWeek = a.count() >= 4 ? a.toInt(4) : 1;
  return Variant(rt::formatValue(Variant(a.text(1)), a.text(2), firstDay, firstWeek));
}

// value[, digits[, leadingZero[, parentheses[, grouping]]]]
Variant formatStyled(const TextArgs& a, rt::NumberStyle style) {
  rt::NumberOptions o;
  if (a.count() >= 2) o.digits = a.toInt(2);
  if (a.count() >= 3) o.leadingZero = a.toInt(3);
  if (a.count() >= 4) o.parentheses = a.toInt(4);
  if (a.count() >= 5) o.grouping = a.toInt(5);
  return Variant(rt::formatNumber(Variant(a.text(1)), style, o));
}
Variant formatCurrencyFun(const TextArgs& a) { return formatStyled(a, rt::NumberStyle::Currency); }
Variant formatNumberFun(const TextArgs& a) { return formatStyled(a, rt::NumberStyle::Number); }
Variant formatPercentFun(const TextArgs& a) { return formatStyled(a, rt::NumberStyle::Percent); }

Variant formatDateTimeFun(const TextArgs& a) {
  return Variant(rt::formatDateTime(Variant(a.text(1)), a.count() >= 2 ? a.toInt(2) : 0));
}

// In the order the names are tested.
const TextFun kStrFuns[] = {
    {u"Chr", exactly(1), &chrFun},
    {u"Asc", exactly(1), &ascFun},
    {u"Len", exactly(1), &lenFun, OnBadCount::Zero},
    {u"StrComp", between(2, 3), &strCompFun},
    {u"InStr", between(2, 4), &inStrFun},
    {u"StrHead", exactly(2), &strHeadFun, OnBadCount::Empty, true},
    {u"FullCharL", atLeast(2), &fullCharLFun},
    {u"FullCharR", atLeast(2), &fullCharRFun},
    {u"Mid", between(2, 3), &midFun},
    {u"Trim", exactly(1), &trimFun},
    {u"LTrim", exactly(1), &lTrimFun},
    {u"RTrim", exactly(1), &rTrimFun},
    {u"UCase", exactly(1), &uCaseFun},
    {u"LCase", exactly(1), &lCaseFun},
    {u"ReplaceAll", exactly(3), &replaceAllFun},
    {u"Hex", exactly(1), &hexFun},
    {u"Oct", exactly(1), &octFun},
    {u"Val", exactly(1), &valFun},
    {u"Format", between(1, 4), &formatFun},
    {u"FormatCurrency", between(1, 5), &formatCurrencyFun},
    {u"FormatDateTime", between(1, 2), &formatDateTimeFun},
    {u"FormatNumber", between(1, 5), &formatNumberFun},
    {u"FormatPercent", between(1, 5), &formatPercentFun},
    {u"InStrRev", between(2, 4), &inStrRevFun},
    {u"Left", exactly(2), &leftFun},
    {u"Right", exactly(2), &rightFun},
    {u"Replace", between(3, 6), &replaceFun},
    {u"Space", exactly(1), &spaceFun},
    {u"StrConv", between(2, 3), &strConvFun},
    {u"String", exactly(2), &stringFun},
    {u"StrReverse", exactly(1), &strReverseFun},
};

}  // namespace

std::span<const TextFun> SvStrFuns::functions() { return kStrFuns; }

rt::Variant SvStrFuns::evalFun(const TextArgs& args) {
  try {
    return TextLibFun<SvStrFuns>::evalFun(args);
  } catch (const std::bad_alloc&) {
    rt::raise(rt::err::OutOfMemory);
  } catch (const std::length_error&) {
    rt::raise(rt::err::OutOfStringSpace);
  }
}

}  // namespace engine
