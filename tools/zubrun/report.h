// The text zubrun prints on standard error for a failed script: first the
// place and the error in the form compilers use ("t.zub:5: text (11)"), then
// the error's number, source and description, one field to a line.  A
// source or description of several lines (CR LF, CR or LF) continues on
// indented lines, a run of repeated source lines once with its count
// (repeats.h).  The engine's script tests compare against the same text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "repeats.h"
#include "rt/text.h"

namespace zubrun {

// Text as UTF-8 for the terminal, a zero character shown as "\0": printed
// as it is, it would cut the text short.
inline std::string shownText(std::u16string_view text) {
  std::string s = rt::toUtf8(text);
  for (size_t at = s.find('\0'); at != std::string::npos; at = s.find('\0', at + 2))
    s.replace(at, 1, "\\0");
  return s;
}

// The lines of a field (CR LF, CR or LF between them).  Line ends at the
// very end (an inner error with no source of its own) are dropped.
inline std::vector<std::string> fieldLines(std::u16string_view text) {
  std::string s = shownText(text);
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

// A field of several lines continues on indented lines.
inline std::string fieldText(const std::vector<std::string>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\n  " : "") + lines[i];
  return out;
}
inline std::string fieldText(std::u16string_view text) { return fieldText(fieldLines(text)); }

// Object errors have large numbers, best read in hexadecimal.
inline bool isObjectError(int32_t number) { return number < 0 || number > 0xFFFF; }

inline std::string hexNumber(int32_t number) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "&H%08X", static_cast<uint32_t>(number));
  return hex;
}

// "Number: 11" or, for the large numbers of object errors,
// "Number: -2147220502 (&H800403EA)"; then "Source: ..." and
// "Description: ...".
inline std::string errorReport(int32_t number, std::u16string_view source,
                               std::u16string_view description) {
  std::string out = "Number: " + std::to_string(number);
  if (isObjectError(number)) out += " (" + hexNumber(number) + ")";
  out += "\nSource: " + fieldText(repeatsCounted(fieldLines(source))) + "\nDescription: " + fieldText(description) + "\n";
  return out;
}

// Where a failure happened: a file as it was named, and a line from 1 (0
// when not known).
struct Place {
  std::string file;
  int32_t line = 0;
};

// A first-edition host puts the line context "在执行第N行脚本时出现下列错误："
// and a line end before the description of a failure in a line: the
// number N, 0 when there is none; and the description after it.
inline int32_t contextLine(std::u16string_view description) {
  constexpr std::u16string_view kBefore = u"在执行第", kAfter = u"行脚本时出现下列错误：";
  if (!description.starts_with(kBefore)) return 0;
  int32_t line = 0;
  size_t i = kBefore.size();
  for (; i < description.size() && description[i] >= u'0' && description[i] <= u'9'; ++i) {
    const int32_t digit = description[i] - u'0';
    if (line > (INT32_MAX - digit) / 10) return 0;  // no line of a script
    line = line * 10 + digit;
  }
  return description.substr(i).starts_with(kAfter) ? line : 0;
}
inline std::u16string_view withoutContext(std::u16string_view description) {
  if (contextLine(description) == 0) return description;
  const size_t end = description.find_first_of(u"\r\n");
  if (end == description.npos) return {};
  return description.substr(description.compare(end, 2, u"\r\n") == 0 ? end + 2 : end + 1);
}

// "FILE:LINE: description (number)", or "FILE: ..." without a line: the
// first line of the description (after a line context), the number as
// errorReport shows it.
inline std::string placeLine(const Place& at, int32_t number, std::u16string_view description) {
  std::string text = fieldText(withoutContext(description));
  text = text.substr(0, text.find('\n'));
  std::string out = at.file;
  if (at.line > 0) out += ":" + std::to_string(at.line);
  out += ": " + text + " (" + (isObjectError(number) ? hexNumber(number) : std::to_string(number)) +
         ")\n";
  return out;
}

}  // namespace zubrun
