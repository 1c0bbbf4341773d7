// Starting programs from a command line without a shell: the line is split
// into the program and its arguments (quotes group), and the program is
// found through PATH.  A detached start (the System library's Shell, the
// desktop program's editor) leaves no child behind for the caller to reap; a
// child start hands the caller a process to wait for.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rt/api.h"

namespace rt {

// Splits a command line into the program and its arguments (UTF-8).  Blanks
// and tabs separate; double quotes group, and are dropped ("" alone is an
// empty argument); a backslash is an ordinary character.  In the program
// name `\` becomes `/`.  Raises 5 for a line with a NUL character.
RT_API std::vector<std::string> splitCommandLine(std::u16string_view line);

// Both starts run args[0], found through PATH when it has no `/`, with the
// process's environment and standard input from /dev/null (the caller keeps
// its own input).  They raise 5 for an empty program name, 53 when the
// program is not found, 70 when it may not be run, 5 for any other failure.
//
// Detached: the caller does not wait, and the program is not its child.
// Returns the program's process id.
RT_API int32_t startDetached(std::vector<std::string> args);
// A child of the caller, who must reap it (waitpid).  It leads a process
// group of its own (its id the child's), so that the caller can end it
// together with what it started (kill of the negative id).
RT_API pid_t startChild(std::vector<std::string> args);

// startDetached on a split command line; raises 5 for an empty one.
RT_API int32_t startProgram(std::u16string_view commandLine);

}  // namespace rt
