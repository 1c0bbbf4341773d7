// Reading the files zubrun runs: script source, or a compiled script kept
// in an object-stream file.
#pragma once

#include <string>
#include <string_view>

#include "nubrel/vstream.h"
#include "rt/object.h"

namespace zubrun {

// A UTF-8 or UTF-16 (little-endian) byte order mark is honoured; anything
// else is read through the system code page (UTF-8 unless ZUB_CODEPAGE
// says otherwise).  False when the file cannot be read.
bool readScript(const std::string& path, std::u16string& text);

// A compiled script in an object-stream file (binary or text-coded, told
// by the file's header), opened for reading; null when the file is not one.
// A file that is one but cannot be opened raises 75 with the stream's
// reason as its description.
rt::Ref<nubrel::VStream> openCompiled(const std::string& path);

// Where an include directive's file is: the text without its surrounding
// quotes, "\" read as "/", and a relative path taken from the folder of the
// file that includes it.
std::string includedPath(std::u16string_view spec, const std::string& includer);

}  // namespace zubrun
