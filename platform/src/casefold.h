// Tables of the simple Unicode case mappings (generated into casefold.cpp),
// sorted by code point.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rt::casemap {

struct CaseMap {
  uint32_t from;
  uint32_t to;
};

extern const CaseMap kFold[];
extern const size_t kFoldSize;
extern const CaseMap kUpper[];
extern const size_t kUpperSize;
extern const CaseMap kLower[];
extern const size_t kLowerSize;

}  // namespace rt::casemap
