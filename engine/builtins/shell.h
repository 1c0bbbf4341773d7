// Starting a program from a command line, as the System library's Shell
// does: no shell is involved, the caller does not wait, and no child is
// left behind for the caller to reap.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// Splits a command line into the program and its arguments (UTF-8).  Blanks
// and tabs separate; double quotes group, and are dropped ("" alone is an
// empty argument); a backslash is an ordinary character.  In the program
// name `\` becomes `/`.  Raises 5 for a line with a NUL character.
std::vector<std::string> splitCommandLine(std::u16string_view line);

// Starts the program of `commandLine`, found through PATH when its name has
// no `/`, with the process's environment and standard input from /dev/null
// (the script keeps its own input).  Returns its process id.  Raises 5 for
// an empty command line, 53 when the program is not found, 70 when it may
// not be run, 5 for any other failure to start.
int32_t startProgram(std::u16string_view commandLine);

}  // namespace engine
