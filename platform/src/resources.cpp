// Lookups in a library's compiled-in resources.
#include "rt/resources.h"

#include <algorithm>

#include "rt/error.h"
#include "rt/text.h"

namespace rt {

namespace {

[[noreturn]] void notFound(std::u16string_view library, std::u16string_view what, int32_t id) {
  std::u16string detail(library);
  detail += u": ";
  detail += what;
  detail += u' ';
  detail += ascii(std::to_string(id));
  raise(err::ResourceNotFound, detail);
}

}  // namespace

bool Resources::tryString(int32_t id, std::u16string_view& out) const {
  auto it = std::lower_bound(strings_.begin(), strings_.end(), id,
                             [](const StringResource& r, int32_t key) { return r.id < key; });
  if (it == strings_.end() || it->id != id) return false;
  out = it->text;
  return true;
}

std::u16string_view Resources::string(int32_t id) const {
  std::u16string_view text;
  if (!tryString(id, text)) notFound(library_, u"string", id);
  return text;
}

std::span<const uint8_t> Resources::data(std::u16string_view type, int32_t id) const {
  // Few entries per library: a scan is enough.  Resource types are names,
  // compared without regard to case.
  for (const DataResource& d : data_)
    if (d.id == id && equalsNoCase(d.type, type)) return d.bytes;
  notFound(library_, type, id);
}

}  // namespace rt
