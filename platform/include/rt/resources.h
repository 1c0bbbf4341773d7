// Compiled-in resources: each library keeps its string tables (by id) and
// custom data as tables in its own code.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "rt/api.h"

namespace rt {

struct StringResource {
  int32_t id;
  std::u16string_view text;
};

struct DataResource {
  std::u16string_view type;  // "CUSTOM"
  int32_t id;
  std::span<const uint8_t> bytes;
};

// A library's resources.  The string table must be sorted by id.
class RT_API Resources {
 public:
  constexpr Resources(std::u16string_view library, std::span<const StringResource> strings,
                      std::span<const DataResource> data = {})
      : library_(library), strings_(strings), data_(data) {}

  // The string `id`; raises 326 (resource not found), naming the library
  // and the id, when there is none.
  std::u16string_view string(int32_t id) const;
  // True and the text when there is a string `id`.
  bool tryString(int32_t id, std::u16string_view& out) const;
  std::span<const uint8_t> data(std::u16string_view type, int32_t id) const;

 private:
  std::u16string_view library_;
  std::span<const StringResource> strings_;
  std::span<const DataResource> data_;
};

}  // namespace rt
