// Line reading from UTF-16 (little-endian, with byte-order mark) files, shared
// by UnicodeFile and UDLFile.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace jespin {

class Utf16Reader {
 public:
  Utf16Reader() = default;
  Utf16Reader(const Utf16Reader&) = delete;
  Utf16Reader& operator=(const Utf16Reader&) = delete;
  ~Utf16Reader() { close(); }

  // Opens `fn` after closing the file open before.  A missing file or one
  // without the mark FF FE gives false with the reason in errorText(), and
  // then a missing file leaves the file open before as it was.
  bool open(std::u16string_view fn);
  // Closes the file; position and length stay.
  void close();
  bool isOpen() const { return file_ != nullptr; }
  // No whole 16-bit unit is left (a lone last byte is never read).
  bool atEnd() const { return position_ >= length_; }

  // The next line without its end (CR LF, CR or LF).  At the end, the text
  // collected so far.  Raises 52 when units are left but the file was closed,
  // 14 for a line longer than kMaxLineUnits (the next read goes on from there).
  std::u16string readLine();

  // The reason of the last failure; set by failures only, never cleared.
  const std::u16string& errorText() const { return errorText_; }
  void setErrorText(std::u16string text) { errorText_ = std::move(text); }

 private:
  bool readUnit(char16_t& unit);
  // Unreads the unit read last.
  void stepBack();

  std::FILE* file_ = nullptr;
  uint64_t length_ = 0;    // bytes of whole units, taken when opened
  uint64_t position_ = 0;  // byte offset of the next unit
  std::u16string errorText_;
};

}  // namespace jespin
