// Reading the files zubrun runs: script source, or a compiled script kept
// in an object-stream file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "nubrel/vstream.h"
#include "rt/object.h"

namespace zubrun {

// The most a script file may hold: a pipe or a device could feed one
// without end.
constexpr size_t kMaxScriptBytes = size_t{64} << 20;

// What names standard input as a script file.
inline constexpr std::string_view kStandardInput = "-";

// The bytes of a file (any file that reads as a stream of bytes, a pipe
// among them; "-" is standard input); false when it cannot be read, with
// the system's reason in `why` ("No such file or directory", "Is a
// directory").  Raises 7 when it holds more than kMaxScriptBytes.
bool readFile(const std::string& path, std::string& bytes, std::string* why = nullptr);

// Raises 75 unless `path` names a regular file (53 when nothing is
// there): a pipe or a device that an include directive names could keep
// the run waiting for ever, or feed it without end.
void requireRegularFile(const std::string& path);

// Script source as text: a UTF-8 or UTF-16 (little-endian) byte order mark
// is honoured; anything else is read through the system code page (UTF-8
// unless ZUB_CODEPAGE says otherwise).  A first line that starts with "#!"
// (the interpreter line of an executable script) is read as an empty line.
std::u16string scriptText(std::string_view bytes);

// The number of the first line of `bytes` that is not valid in the system
// code page (whose characters would be read as U+FFFD or "?"); 0 when all
// are.  Source with a byte order mark is not read through the code page.
int32_t firstBadLine(std::string_view bytes);

// Warns on `to`, once, when `bytes` (the file `path`) are not valid in the
// system code page: "TOOL: warning: PATH:LINE: not valid in the code page
// ...", naming the first line that is not.
void warnIfNotInCodePage(std::FILE* to, const char* tool, const std::string& path, std::string_view bytes);

// False, with a message on standard error from `tool`, when ZUB_CODEPAGE
// names no code page the system knows: it is refused before anything is
// read with it.
bool codePageKnown(const char* tool);

// When `bytes` begin as an object-stream file does (binary or text-coded),
// the file at `path` opened for reading as one; null otherwise.  A file
// that the stream refuses raises 75 with the stream's reason as its
// description.
rt::Ref<nubrel::VStream> openCompiled(const std::string& path, std::string_view bytes);

// Where an include directive's file is: the text without its surrounding
// quotes, "\" read as "/", and a relative path taken from the folder of the
// file that includes it.  A name no file can have raises 52.
std::string includedPath(std::u16string_view written, const std::string& includer);

}  // namespace zubrun
