// Small text helpers that several libraries share: cutting a leading token
// off a text, cutting source text into lines, and padding a text to a width.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rt/api.h"

namespace rt {

// Position of the first `sep` in `s` at or after `from`, compared without
// regard to case; npos when there is none.  An empty `sep` is never found.
RT_API size_t findNoCase(std::u16string_view s, std::u16string_view sep, size_t from = 0);

// Cuts the text before the first `sep` (case-blind) off `rest` and returns
// it; `rest` keeps what follows the separator.  Without a separator the whole
// text is returned and `rest` is left empty.  An empty separator counts as
// not found, so a loop that splits until `rest` is empty always ends.
RT_API std::u16string_view splitHead(std::u16string_view& rest, std::u16string_view sep);
// The same on a text the caller owns.
RT_API std::u16string splitHead(std::u16string& s, std::u16string_view sep);

// The lines of source text `s`, cut at CR LF, a lone CR or a lone LF.  A
// line end at the very end adds no empty line; an empty text has no lines.
RT_API std::vector<std::u16string_view> splitLines(std::u16string_view s);

// The longest text a value holds: 2^31 - 1 units, the most a Long length
// can count.
inline constexpr size_t kLongestText = 0x7FFFFFFF;
// Raises error 14 when a text of `have` units cannot take `more` units more.
RT_API void ensureTextRoom(size_t have, size_t more);

// `s` with (width - length of s) copies of `fill` in front (padLeft) or
// behind (padRight).  The count is fixed by the length of `s`, so a fill of
// several characters gives a longer result; `s` is never cut.  A result
// longer than the longest text (2^31 - 1 units) raises error 14.
RT_API std::u16string padLeft(std::u16string_view s, int32_t width, std::u16string_view fill);
RT_API std::u16string padRight(std::u16string_view s, int32_t width, std::u16string_view fill);

}  // namespace rt
