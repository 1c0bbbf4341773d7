#include "oracle.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "rt/convert.h"
#include "rt/locale.h"
#include "rt/text.h"

namespace oracle {

std::vector<Row> read(const std::string& name) {
  std::ifstream in(std::string(ZUB_TEST_DATA) + "/" + name);
  if (!in) throw std::runtime_error("cannot open " + name);
  std::vector<Row> rows;
  std::string line;
  int n = 0;
  while (std::getline(in, line)) {
    ++n;
    if (line.empty() || line[0] == '#') continue;
    Row r{n, {}};
    std::stringstream ss(line);
    std::string f;
    while (std::getline(ss, f, '\t')) r.fields.push_back(f);
    rows.push_back(std::move(r));
  }
  return rows;
}

namespace {

double number(std::string_view s) {
  double d = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
  if (ec != std::errc() || p != s.data() + s.size())
    throw std::invalid_argument("not a number: " + std::string(s));
  return d;
}

// "1.2346" as ten-thousandths, exactly.
int64_t currencyUnits(std::string_view s) {
  bool neg = !s.empty() && s[0] == '-';
  if (neg) s.remove_prefix(1);
  int64_t whole = 0, frac = 0;
  size_t dot = s.find('.');
  std::string_view w = s.substr(0, dot);
  std::from_chars(w.data(), w.data() + w.size(), whole);
  if (dot != std::string_view::npos) {
    std::string f(s.substr(dot + 1));
    f.resize(4, '0');
    std::from_chars(f.data(), f.data() + 4, frac);
  }
  int64_t v = whole * 10000 + frac;
  return neg ? -v : v;
}

}  // namespace

rt::Variant operand(std::string_view typed) {
  if (typed == "Empty") return rt::Variant();
  if (typed == "Null") return rt::Variant(rt::Null{});
  size_t sp = typed.find(' ');
  if (sp == std::string_view::npos) throw std::invalid_argument(std::string(typed));
  std::string_view type = typed.substr(0, sp), text = typed.substr(sp + 1);
  if (type == "String") {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
      throw std::invalid_argument(std::string(typed));
    return rt::Variant(rt::fromUtf8(text.substr(1, text.size() - 2)));
  }
  if (type == "Boolean") return rt::Variant(text == "True");
  if (type == "Integer") return rt::Variant(static_cast<int16_t>(number(text)));
  if (type == "Long") return rt::Variant(static_cast<int32_t>(number(text)));
  if (type == "Byte") return rt::Variant(static_cast<uint8_t>(number(text)));
  if (type == "Single") return rt::Variant(static_cast<float>(number(text)));
  if (type == "Double") return rt::Variant(number(text));
  if (type == "Date") return rt::Variant(rt::Date{number(text)});
  if (type == "Currency") return rt::Variant(rt::Currency{currencyUnits(text)});
  throw std::invalid_argument(std::string(typed));
}

std::string describe(const rt::Variant& v) {
  const rt::LocaleProfile& en = rt::profileOf(rt::LocaleId::EnglishUS);
  std::string type = rt::toUtf8(rt::typeNameOf(v.type()));
  switch (v.type()) {
    case rt::VT::Empty:
    case rt::VT::Null:
      return type;
    case rt::VT::String:
      return type + " \"" + rt::toUtf8(v.text()) + "\"";
    case rt::VT::Boolean:
      return type + (v.boolean() ? " True" : " False");
    case rt::VT::Integer:
      return type + " " + std::to_string(v.integer());
    case rt::VT::Long:
      return type + " " + std::to_string(v.longValue());
    case rt::VT::Byte:
      return type + " " + std::to_string(v.byte());
    case rt::VT::Single:
      return type + " " + rt::toUtf8(rt::formatSingle(v.single(), en));
    case rt::VT::Double:
      return type + " " + rt::toUtf8(rt::formatDouble(v.dbl(), en));
    case rt::VT::Currency:
      return type + " " + rt::toUtf8(rt::formatCurrency(v.currency(), en));
    case rt::VT::Date:
      return type + " " + rt::toUtf8(rt::formatDate(v.date(), en));
    case rt::VT::Decimal:
      return type + " " + rt::toUtf8(rt::formatDecimal(v.decimal(), en));
    default:
      return type;
  }
}

}  // namespace oracle
