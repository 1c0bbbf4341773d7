// The default program folder as data: generated from transformer/home/.
#pragma once

#include <cstddef>

namespace marlox::homedata {

struct File {
  const char* path;  // relative, "/" separated
  const unsigned char* bytes;
  size_t size;
};

extern const File kFiles[];
extern const size_t kFileCount;

}  // namespace marlox::homedata
