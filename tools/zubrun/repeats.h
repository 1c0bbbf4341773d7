// A failure's source lists the operations it passed through, one a line, and
// nested statements or calls repeat the same few operations level after
// level: a report shows such a run of lines once, with its count.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace zubrun {

// One level of nesting adds a handful of operations; longer groups are not
// looked for.
constexpr size_t kLongestRepeat = 16;

struct Repeat {
  size_t lines = 1;  // in the group
  size_t times = 1;  // in a row
};

// The group of lines starting at `at` that, repeated in a row, covers the
// most lines (the shortest such group on a tie); only a run that is longer
// than the group and its count line counts, a line twice stays as it is.
inline Repeat repeatAt(const std::vector<std::string>& lines, size_t at) {
  Repeat best;
  for (size_t n = 1; n <= kLongestRepeat && at + 2 * n <= lines.size(); ++n) {
    const auto group = lines.begin() + static_cast<std::ptrdiff_t>(at);
    size_t times = 1;
    while (at + (times + 1) * n <= lines.size() &&
           std::equal(group, group + static_cast<std::ptrdiff_t>(n),
                      group + static_cast<std::ptrdiff_t>(times * n)))
      ++times;
    if (n * times > n + 1 && n * times > best.lines * best.times) best = {n, times};
  }
  return best;
}

// The lines with each run of a repeated group written once, indented under
// "N times:".
inline std::vector<std::string> repeatsCounted(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (size_t at = 0; at < lines.size();) {
    const Repeat r = repeatAt(lines, at);
    if (r.times == 1) {
      out.push_back(lines[at++]);
      continue;
    }
    out.push_back(std::to_string(r.times) + " times:");
    for (size_t i = 0; i < r.lines; ++i) out.push_back("  " + lines[at + i]);
    at += r.lines * r.times;
  }
  return out;
}

}  // namespace zubrun
