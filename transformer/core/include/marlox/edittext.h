// Text crossing the editor's boundary.  The editor ends its lines with "\n"
// (and a selection read from it may separate them with U+2029); scripts and
// files see CR LF.
#pragma once

#include <string>
#include <string_view>

namespace marlox {

// Editor text as scripts and files see it: every "\n" and U+2029 becomes
// CR LF.
std::u16string toCrLf(std::u16string_view editorText);
// The same with `lineEnd` in place of CR LF.
std::u16string toLines(std::u16string_view editorText, std::u16string_view lineEnd);
// Text for the editor: CR LF and a lone CR become "\n".
std::u16string toEditor(std::u16string_view text);

}  // namespace marlox
