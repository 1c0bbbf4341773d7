#include "doubletext.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace nubrel {

std::string formatStreamDouble(double d) {
  if (std::isnan(d)) return "nan";
  if (std::isinf(d)) return d < 0 ? "-inf" : "inf";

  // The shortest round-trip digits, as d.ddde±x.
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific);
  std::string sci(buf, end);
  size_t e = sci.find('e');
  std::string sign = sci[0] == '-' ? "-" : "";
  std::string digits;
  for (size_t i = sign.size(); i < e; ++i)
    if (sci[i] != '.') digits.push_back(sci[i]);
  int exp = std::atoi(sci.c_str() + e + 1);

  // Plain form from 0.0001 up to 15 integer digits, as the runtime prints.
  if (exp >= -4 && exp < 15) {
    std::string out = sign;
    if (exp < 0) {
      out += "0." + std::string(static_cast<size_t>(-exp - 1), '0') + digits;
    } else if (digits.size() <= static_cast<size_t>(exp) + 1) {
      out += digits + std::string(static_cast<size_t>(exp) + 1 - digits.size(), '0');
    } else {
      out += digits.substr(0, static_cast<size_t>(exp) + 1) + "." +
             digits.substr(static_cast<size_t>(exp) + 1);
    }
    return out;
  }
  std::string out = sign + digits.substr(0, 1);
  if (digits.size() > 1) out += "." + digits.substr(1);
  std::string e10 = std::to_string(std::abs(exp));
  if (e10.size() < 2) e10.insert(0, "0");
  return out + (exp < 0 ? "E-" : "E+") + e10;
}

bool parseStreamDouble(std::u16string_view text, double& out) {
  std::string s;
  for (char16_t c : text) {
    if (c > 0x7F) return false;
    s.push_back(static_cast<char>(c));
  }
  size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  s = s.substr(first, s.find_last_not_of(' ') - first + 1);
  if (s.find('.') == std::string::npos) {
    size_t comma = s.find(',');
    if (comma != std::string::npos) s[comma] = '.';
  }
  const char* begin = s.data();
  if (begin[0] == '+' && s.size() > 1 && begin[1] != '-') ++begin;
  auto [end, ec] = std::from_chars(begin, s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size();
}

}  // namespace nubrel
