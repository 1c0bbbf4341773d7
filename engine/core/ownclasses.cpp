#include "core/ownclasses.h"

#include "rt/text.h"

namespace engine {

const rt::ClassEntry* ownClass(std::u16string_view progId) {
  for (const rt::ClassEntry& e : ownClasses())
    if (rt::equalsNoCase(rt::ascii(e.progId), progId)) return &e;
  return nullptr;
}

}  // namespace engine
