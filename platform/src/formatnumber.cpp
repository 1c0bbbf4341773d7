// Number sections of a format: digit placeholders 0 and #, the decimal
// point, grouping and scaling commas, percent, scientific notation, and
// literals anywhere among them.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "formatparts.h"
#include "rt/error.h"

namespace rt::fmt {
namespace {

constexpr int64_t kMaxPoint = 1 << 20;

struct Item {
  enum class Type : uint8_t { Text, Whole, Fraction, ExpDigit, Point, Exp };
  Type type;
  char16_t ch;  // Text: itself; digits: '0' or '#'; Exp: 'E' or 'e'
  char16_t sign = 0;  // Exp: '+' or '-'
};

struct Layout {
  std::vector<Item> items;
  int wholeSlots = 0;
  int firstWholeZero = -1;  // index of the first 0 among the whole slots
  int fractionSlots = 0;
  int expZeros = 0;
  bool grouping = false;
  bool scientific = false;
  int scale = 0;     // thousands to divide by
  int percents = 0;  // hundreds to multiply by
};

bool isDigitSlot(const Piece& p) { return !p.quoted && (p.ch == u'0' || p.ch == u'#'); }

// A comma's place: how many whole or fraction slots came before it.
struct Comma {
  bool inFraction;
  int slotsBefore;
};

Layout layoutOf(const Section& s) {
  Layout l;
  std::vector<Comma> commas;
  bool seenPoint = false;
  for (size_t i = 0; i < s.size(); ++i) {
    const Piece& p = s[i];
    using T = Item::Type;
    if (p.quoted) {
      l.items.push_back({T::Text, p.ch});
      continue;
    }
    switch (p.ch) {
      case u'0':
      case u'#':
        if (l.scientific) {
          l.items.push_back({T::ExpDigit, p.ch});
          if (p.ch == u'0') ++l.expZeros;
        } else if (seenPoint) {
          l.items.push_back({T::Fraction, p.ch});
          ++l.fractionSlots;
        } else {
          if (p.ch == u'0' && l.firstWholeZero < 0) l.firstWholeZero = l.wholeSlots;
          l.items.push_back({T::Whole, p.ch});
          ++l.wholeSlots;
        }
        break;
      case u'.':
        if (seenPoint || l.scientific) {
          l.items.push_back({T::Text, p.ch});
        } else {
          l.items.push_back({T::Point, p.ch});
          seenPoint = true;
        }
        break;
      case u',':
        if (!l.scientific) commas.push_back({seenPoint, seenPoint ? l.fractionSlots : l.wholeSlots});
        break;
      case u'%':
        l.items.push_back({T::Text, p.ch});
        ++l.percents;
        break;
      case u'E':
      case u'e':
        // E+ E- e+ e- start an exponent only when a digit slot follows.
        if (!l.scientific && i + 2 < s.size() && !s[i + 1].quoted &&
            (s[i + 1].ch == u'+' || s[i + 1].ch == u'-') && isDigitSlot(s[i + 2])) {
          l.items.push_back({T::Exp, p.ch, s[i + 1].ch});
          l.scientific = true;
          ++i;
        } else {
          l.items.push_back({T::Text, p.ch});
        }
        break;
      default: l.items.push_back({T::Text, p.ch}); break;
    }
  }
  // A comma with digit slots after it in the whole part groups; one after
  // the last slot of its part scales by a thousand.
  for (const Comma& c : commas) {
    if (!c.inFraction && c.slotsBefore < l.wholeSlots) l.grouping = true;
    else if (!(c.inFraction && c.slotsBefore < l.fractionSlots)) ++l.scale;
  }
  if (l.scientific) l.grouping = false;
  return l;
}

// Moves the point so that the mantissa has `wholeDigits` digits before it,
// rounds it to `decimals`, and returns the exponent.
int toScientific(DecNum& n, int wholeDigits, int decimals) {
  if (n.isZero()) return 0;
  int exponent = n.point - wholeDigits;
  n.point = wholeDigits;
  roundTo(n, decimals);
  if (n.point > wholeDigits) {  // 9.99 rounded up to 10.0
    exponent += n.point - wholeDigits;
    n.point = wholeDigits;
  }
  return exponent;
}

std::u16string exponentDigits(int exponent, int zeros) {
  std::string d = std::to_string(std::abs(exponent));
  size_t width = std::max(zeros, 1);
  if (d.size() < width) d.insert(0, width - d.size(), '0');
  return std::u16string(d.begin(), d.end());
}

}  // namespace

std::u16string formatNumberSection(DecNum n, const Section& s, bool withMinus,
                                   const LocaleProfile& loc) {
  Layout l = layoutOf(s);
  // Every % and scaling comma moves the point; a format full of them would
  // ask for more digits than any text holds.
  int64_t point = int64_t{n.point} + 2 * int64_t{l.percents} - 3 * int64_t{l.scale};
  if (n.isZero() || point < -kMaxPoint) {  // too small to show: zero, sign kept
    n.digits.clear();
    point = 0;
  }
  if (point > kMaxPoint) raise(err::Overflow);
  n.point = static_cast<int>(point);
  int exponent = 0;
  if (l.scientific) {
    int wholeZeros = l.firstWholeZero < 0 ? 0 : l.wholeSlots - l.firstWholeZero;
    int mantissaDigits = l.wholeSlots == 0 ? 0 : std::max(1, wholeZeros);
    exponent = toScientific(n, mantissaDigits, l.fractionSlots);
  } else {
    roundTo(n, l.fractionSlots);
  }

  std::string whole = wholeDigits(n);
  size_t minWhole = l.firstWholeZero < 0 ? 0 : static_cast<size_t>(l.wholeSlots - l.firstWholeZero);
  if (whole.size() < minWhole) whole.insert(0, minWhole - whole.size(), '0');
  std::string fraction = fractionDigits(n, l.fractionSlots);

  // Trailing # slots show nothing for trailing zeros.
  int lastFraction = -1, k = 0;
  for (const Item& it : l.items) {
    if (it.type != Item::Type::Fraction) continue;
    if (it.ch == u'0' || fraction[k] != '0') lastFraction = k;
    ++k;
  }

  std::u16string out;
  if (withMinus && n.negative) out.push_back(u'-');
  size_t length = whole.size();
  size_t groupSize = loc.groupSize > 0 ? static_cast<size_t>(loc.groupSize) : length + 1;
  auto putWhole = [&](size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
      out.push_back(static_cast<char16_t>(whole[i]));
      size_t rest = length - 1 - i;
      if (l.grouping && rest > 0 && rest % groupSize == 0) out.push_back(loc.groupSep);
    }
  };
  size_t slots = static_cast<size_t>(l.wholeSlots);
  int wholeSeen = 0, fractionSeen = 0;
  bool exponentDone = false;
  for (const Item& it : l.items) {
    switch (it.type) {
      case Item::Type::Text: out.push_back(it.ch); break;
      case Item::Type::Whole: {
        // Digits fill the slots from the right; the first slot takes any
        // digits beyond them.
        size_t fromRight = slots - 1 - wholeSeen;
        if (wholeSeen == 0 && length > slots) putWhole(0, length - slots);
        if (length > fromRight) putWhole(length - 1 - fromRight, length - fromRight);
        ++wholeSeen;
        break;
      }
      case Item::Type::Point:
        if (slots == 0) putWhole(0, length);
        out.push_back(loc.decimalSep);
        break;
      case Item::Type::Fraction:
        if (fractionSeen <= lastFraction) out.push_back(static_cast<char16_t>(fraction[fractionSeen]));
        ++fractionSeen;
        break;
      case Item::Type::Exp:
        out.push_back(it.ch);
        if (exponent < 0) out.push_back(u'-');
        else if (it.sign == u'+') out.push_back(u'+');
        break;
      case Item::Type::ExpDigit:
        if (!exponentDone) out += exponentDigits(exponent, l.expZeros);
        exponentDone = true;
        break;
    }
  }
  return out;
}

}  // namespace rt::fmt
