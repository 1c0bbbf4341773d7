#include "core/place.h"

#include <algorithm>
#include <vector>

namespace engine {

namespace {

// Names are few (the files of a program's scripts); the table only grows.
std::vector<std::u16string>& names() {
  static std::vector<std::u16string> table{std::u16string()};
  return table;
}

}  // namespace

int32_t sourceNumber(std::u16string_view name) {
  if (name.empty()) return 0;
  std::vector<std::u16string>& table = names();
  auto it = std::find(table.begin(), table.end(), name);
  if (it != table.end()) return static_cast<int32_t>(it - table.begin());
  if (table.size() >= kMaxSources) return 0;
  table.emplace_back(name);
  return static_cast<int32_t>(table.size() - 1);
}

std::u16string sourceName(int32_t number) {
  const std::vector<std::u16string>& table = names();
  return number > 0 && static_cast<size_t>(number) < table.size() ? table[number]
                                                                   : std::u16string();
}

}  // namespace engine
