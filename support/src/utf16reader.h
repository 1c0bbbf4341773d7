// Line reading from UTF-16 (little-endian, with byte-order mark) files, shared
// by UnicodeFile and UDLFile.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "filebuffer.h"

namespace jespin {

class Utf16Reader {
 public:
  Utf16Reader() = default;
  Utf16Reader(const Utf16Reader&) = delete;
  Utf16Reader& operator=(const Utf16Reader&) = delete;

  // Opens `fn` after closing the file open before.  A missing file or one
  // without the mark FF FE gives false with the reason in errorText(), and
  // then a missing file leaves the file open before as it was.
  bool open(std::u16string_view fn);
  // Closes the file; position and length stay.
  void close() { file_.close(); }
  bool isOpen() const { return file_.isOpen(); }
  // No whole 16-bit unit is left (a lone last byte is never read).
  bool atEnd() const { return position_ >= length_; }

  // The next line without its end (CR LF, CR or LF).  At the end, the text
  // collected so far.  Raises 52 when units are left but the file was closed,
  // 14 for a line longer than kMaxLineUnits (the next read goes on from there),
  // 57 when the file cannot be read.
  std::u16string readLine();

  // The reason of the last failure; set by failures only, never cleared.
  const std::u16string& errorText() const { return errorText_; }
  void setErrorText(std::u16string text) { errorText_ = std::move(text); }

 private:
  // A whole unit waits in the buffer, read into it when needed; false at the
  // length taken when the file was opened, or where the file ends sooner.
  bool haveUnit();
  // The unit `i` units into the buffer.
  char16_t unitAt(size_t i) const {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(file_.data()) + 2 * i;
    return static_cast<char16_t>(p[0] | (p[1] << 8));
  }
  void takeUnits(size_t n) {
    file_.take(2 * n);
    position_ += 2 * n;
  }

  FileBuffer file_;
  uint64_t length_ = 0;    // bytes of whole units, taken when opened
  uint64_t position_ = 0;  // byte offset of the next unit
  std::u16string errorText_;
};

}  // namespace jespin
