// What sets the two editions' libraries apart where they share code: each
// library defines kEdition once (first/library.cpp, second/library.cpp).
#pragma once

#include <string_view>

#include "rt/object.h"

namespace appiface {

struct Edition {
  // The library's name, which is also its title: "Yarrick" or "Trevane".
  std::u16string_view library;
  // The engine's plain holder of one value, which carries "Ver".
  rt::Guid singleClsid;
  // Whether "SptFileName" is an attribute of Application (the second
  // edition) or a host command like any other name (the first).
  bool fileNameAttribute;
};

extern const Edition kEdition;

}  // namespace appiface
