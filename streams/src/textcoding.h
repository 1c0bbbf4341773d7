// The text coding shared by FileStream, MemStream and EventStream: every value
// a run of characters, numbers as fixed-width upper-case hexadecimal, so that
// a whole stream is one string with no separators.
//
//   Integer  4 hex digits (two's complement)   Long  8 hex digits
//   String   the Long text of its length in UTF-16 units, then the text
//   Double   its text ("." and the fewest digits that read back) as a String
//   Date     its serial as a Double
//   Byte     one character (see charOfByte)
//   Bytes    the Long text of the element count, then one character each
//   Object   an object record in this coding
//
// Failures raise: 13 for digits that do not read, 5 and 62 for a count that
// is negative or longer than the data left, 62 for a byte with no character
// (and for any read past the end of a file).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "nubrel/vstream.h"

namespace nubrel {

class TextCodedStream : public virtual VStream {
 public:
  void setVString(std::u16string_view s) override;
  std::u16string vString() override;
  void setVByte(uint8_t b) override { putByteChar(b); }
  uint8_t vByte() override { return takeByteChar(); }
  void setVBytes(const rt::Variant& bytes) override;
  rt::Variant vBytes() override;
  void setVInteger(int16_t v) override;
  int16_t vInteger() override;
  void setVLong(int32_t v) override;
  int32_t vLong() override;
  void setVDouble(double v) override;
  double vDouble() override;
  void setVDate(rt::Date d) override;
  rt::Date vDate() override;
  void setVObject(StreamEnable* obj) override;
  rt::Ref<StreamEnable> vObject() override;

 protected:
  // The characters behind the coding.
  virtual void putChars(std::u16string_view s) = 0;
  // n characters; when the data ends first, fewer (or a raised error).
  virtual std::u16string takeChars(size_t n) = 0;
  // No fewer characters than are left, to check the counts read.
  virtual uint64_t charsLeftAtMost() = 0;
  // One byte as its character; a stream may keep bytes its own way.
  virtual void putByteChar(uint8_t b);
  virtual uint8_t takeByteChar();

 private:
  uint32_t takeHex(size_t width);
  size_t takeCount();
};

}  // namespace nubrel
