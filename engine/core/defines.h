// Expansion of define macros in a token list.
//
// A macro is a name bound to a token list; a use of the name is replaced by
// copies of the macro's tokens (ExpItems::defReplace), and the search starts
// again so that macros inside a replacement are expanded too.  A macro that
// expands into itself would never end, so the expansion of one line is cut
// off after a bounded number of replacements.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "core/expitems.h"
#include "jespin/values.h"

namespace engine {

// The macro bound to a name, or null.
using DefineLookup = std::function<const ExpItems*(std::u16string_view name)>;

// Macros kept in a value list: key = the macro name (case ignored),
// value = its ExpItems.  The list must outlive the lookup.
DefineLookup definesOf(jespin::IVValues& defines);

// Whether a name token of `items` names a macro.
bool namesMacro(const ExpItems& items, const DefineLookup& find);

// One step: replaces the first name token (from position `from`, 1-based)
// that names a macro.  Returns the position replaced, or 0 when no token
// names a macro.
int32_t expandOnce(ExpItems& items, const DefineLookup& find, int32_t from = 1);

constexpr int32_t kMaxExpansions = 1000;   // replacements in one line
constexpr int32_t kMaxExpandedTokens = 20000;

// Expands every macro use.  False when the expansion did not end within the
// bounds above: error 1003 is then recorded in `items.error()` with Source
// "ExpandDefines".  Failures of defReplace itself are raised.
bool expandDefines(ExpItems& items, const DefineLookup& find);

}  // namespace engine
