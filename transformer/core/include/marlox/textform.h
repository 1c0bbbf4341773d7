// How a text file's bytes hold its text: the encoding, its byte-order mark,
// the line end and whether the last line has one.  A document keeps the
// form it was read in and is saved in it, so an unchanged text saves byte
// for byte as it was read.
#pragma once

#include <string>
#include <string_view>

#include "rt/text.h"

namespace marlox {

struct TextForm {
  // A new text: the system code page, CR LF lines, a break after the last.
  rt::Encoding encoding = rt::ansiEncoding();
  bool mark = false;
  std::u16string lineEnd = u"\r\n";
  bool finalBreak = true;
};

// A file's text as the editor takes it ("\n" lines, no break after the
// last), and the form that writes it back.
struct ReadText {
  std::u16string text;
  TextForm form;
  // The form gives back the file byte for byte; false for bytes that no
  // encoding reads (binary data) or lines ended in more than one way.
  bool exact = true;
};

// UTF-8 or UTF-16 after a byte-order mark; else the system code page for
// ASCII; else UTF-8 when the bytes are valid UTF-8 (also when the end of
// the file cuts their last character short, unless all before it is ASCII
// and the system code page is CP936: only its bytes are lost, each read as
// a U+FFFD); else CP936 when they are valid there; else whichever
// of the two reads the most of them (the system code page when both read
// as much), so that a few bad bytes in a file lose only themselves.
ReadText readText(std::string_view bytes);

// Editor text in `form`.  `whole`, when given, tells whether every
// character could be written (CP936 writes "?" for one it lacks; a U+FFFD,
// standing for bytes no encoding read, counts as written as "?").
std::string writeText(std::u16string_view text, const TextForm& form, bool* whole = nullptr);

}  // namespace marlox
