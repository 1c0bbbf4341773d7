// The creatable classes of the engine library these sources are built
// into, as its class table lists them.  Each edition's library.cpp defines
// it; the engine creates its own classes through it without a trip through
// the registration store.
#pragma once

#include <span>
#include <string_view>

#include "rt/activation.h"

namespace engine {

std::span<const rt::ClassEntry> ownClasses();

// The entry whose ProgID equals `progId` without regard to case, or null.
const rt::ClassEntry* ownClass(std::u16string_view progId);

}  // namespace engine
