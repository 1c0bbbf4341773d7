// Lookups in the registration stores, for activation.  (The public side of
// the stores is in rt/activation.h; the file format is described in
// registry.cpp.)
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "rt/object.h"

namespace rt::registry {

// One class as a store entry names it.
struct Entry {
  std::string progId;  // as registered (UTF-8)
  Guid clsid;
  std::string library;  // absolute path
  std::string file;     // the entry file it was read from
  std::string store;
};

// The entry of the first store that has one.  Missing stores are skipped;
// `searched` lists every store looked at, for the caller's error text.
// Raises 429 on an unreadable or malformed entry (naming the file), a store
// that is not a folder, or a ProgID that cannot name an entry.
std::optional<Entry> findByProgId(std::u16string_view progId, std::string& searched);
std::optional<Entry> findByClassId(const Guid& clsid, std::string& searched);

// `path` made absolute and normal ("\" read as "/", no trailing "/");
// "" when it cannot be.
std::string absolutePath(std::string_view path);

}  // namespace rt::registry
