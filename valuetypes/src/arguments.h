// Reading the arguments a script hands over as one ScriptValue: nothing for
// no arguments, an argument list (FlagList) for several, else the value
// itself as the one argument.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace fennick {

// Item `i` (from 1) of a list, read for its value.
rt::Variant listItem(zorbel::ScriptValue& list, int32_t i);

// The argument values in call order; an object passes as its reference.
// A list with a negative count raises 450 naming `callName`.
std::vector<rt::Variant> argumentsOf(zorbel::ScriptValue* sv, std::u16string_view callName);

// The script value an index or argument variant holds (null for Nothing).
// Raises 424 for a plain value, 13 for an object that is no script value.
rt::Ref<zorbel::ScriptValue> scriptValueIn(const rt::Variant& v);

}  // namespace fennick
