// Reading the files zubrun runs: script source, or a compiled script kept
// in an object-stream file.
#pragma once

#include <string>
#include <string_view>

#include "nubrel/vstream.h"
#include "rt/object.h"

namespace zubrun {

// The most a script file may hold: a pipe or a device could feed one
// without end.
constexpr size_t kMaxScriptBytes = size_t{64} << 20;

// The bytes of a file (any file that reads as a stream of bytes, a pipe
// among them); false when it cannot be read, a folder among others.  Raises
// 7 when it holds more than kMaxScriptBytes.
bool readFile(const std::string& path, std::string& bytes);

// Raises 75 unless `path` names a regular file (53 when nothing is
// there): a pipe or a device that an include directive names could keep
// the run waiting for ever, or feed it without end.
void requireRegularFile(const std::string& path);

// Script source as text: a UTF-8 or UTF-16 (little-endian) byte order mark
// is honoured; anything else is read through the system code page (UTF-8
// unless ZUB_CODEPAGE says otherwise).
std::u16string scriptText(std::string_view bytes);

// When `bytes` begin as an object-stream file does (binary or text-coded),
// the file at `path` opened for reading as one; null otherwise.  A file
// that the stream refuses raises 75 with the stream's reason as its
// description.
rt::Ref<nubrel::VStream> openCompiled(const std::string& path, std::string_view bytes);

// Where an include directive's file is: the text without its surrounding
// quotes, "\" read as "/", and a relative path taken from the folder of the
// file that includes it.
std::string includedPath(std::u16string_view written, const std::string& includer);

}  // namespace zubrun
