// Profile (INI) files: sections in square brackets holding key=value lines,
// read and written as the platform's private-profile functions do.
//
// Files are in the system code page, or in UTF-8 or UTF-16 (either byte
// order) after the byte order mark of that encoding; a file is written
// back in the encoding it was read in.  Section and key names match without
// regard to case (the first match counts); names and values are trimmed of
// blanks, and a value in matching single or double quotes loses them on
// reading.  Lines starting with ";" are comments.  Writing replaces a key's
// line where it stands, or adds the key at the end of its section, or the
// section at the end of the file; every other line is kept byte for byte.
// Readers accept CR LF, CR and LF; the file is rewritten with CR LF.  A
// file is read again only when it changed (inidoc.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jespin::ini {

// `file` is always a file-system name (see fsPath).  A file larger than
// kMaxProfileBytes (readlimits.h) raises error 7 from every function.

// The value of `key` in `section`, cut so that its code-page form and an
// ending zero fit in `size` bytes; nothing when the file, the section or the
// key is missing.
std::optional<std::u16string> readString(const std::string& file, std::u16string_view section,
                                         std::u16string_view key, size_t size);

// The key's value read as an integer: the leading number of the text
// (optional sign, decimal digits; 0 when it starts with none).  `def` when
// the file, the section or the key is missing or the value is empty.
int32_t readInt(const std::string& file, std::u16string_view section, std::u16string_view key,
                int32_t def);

// The lines of `section` as "key=value", in file order.  They fit with a zero
// after each and a final zero in `size` bytes: the line that does not fit
// whole is cut and ends the list.  Empty when the file or section is missing.
std::vector<std::u16string> readSection(const std::string& file, std::u16string_view section,
                                        size_t size);

enum class WriteResult {
  Ok,
  BadName,   // a section or key name that would break the file's lines
  BadValue,  // a value holding a line end
  Failed,    // the file could not be read or replaced
  TooLarge,  // the file would grow past kMaxProfileBytes (readlimits.h)
};

// Writes key=value into section, creating the file, the section or the key.
// A write that would make the file larger than a reader takes is refused,
// the file left as it was.
// Names may not hold CR, LF, "]" or "=" (nor may a key start with ";") and
// values may not hold CR or LF: such text would add lines of its own.
WriteResult writeString(const std::string& file, std::u16string_view section,
                        std::u16string_view key, std::u16string_view value);

// `s` cut so that its code-page form and an ending zero fit in `size` bytes,
// never inside a character.
std::u16string fitBuffer(std::u16string_view s, size_t size);

}  // namespace jespin::ini
