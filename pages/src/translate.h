// The translation of page lines into script lines.  Text becomes OutPut and
// OutLine statements whose string literals hold it; code between "<!!" and
// "!!>" passes through; a one-line block whose code starts with "=" outputs
// its expression; an include line becomes an #Include directive.  Markers
// are found without regard to case (or width), inside quotes too.
//
// Each script line goes to a sink, in order, so the translation can be
// looked at without a compiler.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace halvorn {

using LineSink = std::function<void(std::u16string_view line)>;

// One page line.  `inBlock` says whether a block is open before the line
// and is left saying whether one is open after it.
void translateLine(std::u16string_view line, bool& inBlock, const LineSink& sink);

// The code of a block opened and closed on one line: nothing when empty,
// "OutPut expr" for "=expr" (after leading blanks), else the code itself.
void addInlineCode(std::u16string_view code, const LineSink& sink);

// Any text as a script string expression: "say " & Chr(34) & "hi" & Chr(34).
// A text of more double quotes than an expression can hold raises 16.
std::u16string quoteText(std::u16string_view text);

// The directive for an include line, given what follows its first 13
// characters: the name quoted after "=" (`file="a.page"`), or "" when the
// line holds none.
std::u16string includeDirective(std::u16string_view rest);

}  // namespace halvorn
