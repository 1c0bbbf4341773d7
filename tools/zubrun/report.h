// The text zubrun prints on standard error for a failed script: the error's
// number, source and description, one field to a line.  A source or
// description of several lines (CR LF, CR or LF) continues on indented
// lines.  The engine's script tests compare against the same text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "rt/text.h"

namespace zubrun {

// Line ends at the very end (an inner error with no source of its own) are
// dropped.
inline std::string fieldText(std::u16string_view text) {
  std::string out;
  std::string s = rt::toUtf8(text);
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      out += "\n  ";
    } else {
      out += c;
    }
  }
  return out;
}

// "Number: 11" or, for the large numbers of object errors,
// "Number: -2147220502 (&H800403EA)"; then "Source: ..." and
// "Description: ...".
inline std::string errorReport(int32_t number, std::u16string_view source,
                               std::u16string_view description) {
  std::string out = "Number: " + std::to_string(number);
  if (number < 0 || number > 0xFFFF) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08X", static_cast<uint32_t>(number));
    out += std::string(" (&H") + hex + ")";
  }
  out += "\nSource: " + fieldText(source) + "\nDescription: " + fieldText(description) + "\n";
  return out;
}

}  // namespace zubrun
