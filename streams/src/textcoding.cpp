#include "textcoding.h"

#include <algorithm>

#include "codepagetext.h"
#include "doubletext.h"
#include "objectrecord.h"
#include "padleft.h"
#include "rt/error.h"
#include "rt/text.h"
#include "values.h"

namespace nubrel {

namespace {

std::u16string hexText(uint32_t v, int32_t width) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string digits;
  do {
    digits.insert(digits.begin(), kDigits[v & 0xF]);
    v >>= 4;
  } while (v != 0);
  return padLeft(digits, width, u"0");
}

int hexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

}  // namespace

// Exactly `width` digits of either case; anything else, a short read
// included, is a type mismatch.
uint32_t TextCodedStream::takeHex(size_t width) {
  std::u16string s = takeChars(width);
  if (s.size() != width) rt::raise(rt::err::TypeMismatch);
  uint32_t v = 0;
  for (char16_t c : s) {
    int d = hexDigit(c);
    if (d < 0) rt::raise(rt::err::TypeMismatch);
    v = (v << 4) | static_cast<uint32_t>(d);
  }
  return v;
}

size_t TextCodedStream::takeCount() {
  int32_t n = vLong();
  if (auto failure = countFailure(n, charsLeftAtMost())) throw *failure;
  return static_cast<size_t>(n);
}

void TextCodedStream::putByteChar(uint8_t b) { putChars(std::u16string(1, charOfByte(b))); }
uint8_t TextCodedStream::takeByteChar() { return byteOfChar(takeChars(1)); }

void TextCodedStream::setVString(std::u16string_view s) {
  setVLong(storedCount(s.size()));
  putChars(s);
}

std::u16string TextCodedStream::vString() { return takeChars(takeCount()); }

void TextCodedStream::setVBytes(const rt::Variant& bytes) {
  const rt::ByteArray& a = byteArrayOf(bytes);
  setVLong(storedCount(a.bytes.size()));
  for (uint8_t b : a.bytes) putByteChar(b);
}

rt::Variant TextCodedStream::vBytes() {
  size_t n = takeCount();
  rt::ByteArray a;
  // The count bounds what is left only loosely for some streams: grow as the
  // bytes arrive rather than trusting it.
  a.bytes.reserve(std::min<size_t>(n, 64 * 1024));
  for (size_t i = 0; i < n; ++i) a.bytes.push_back(takeByteChar());
  return rt::Variant(std::move(a));
}

void TextCodedStream::setVInteger(int16_t v) { putChars(hexText(static_cast<uint16_t>(v), 4)); }
int16_t TextCodedStream::vInteger() { return static_cast<int16_t>(takeHex(4)); }
void TextCodedStream::setVLong(int32_t v) { putChars(hexText(static_cast<uint32_t>(v), 8)); }
int32_t TextCodedStream::vLong() { return static_cast<int32_t>(takeHex(8)); }

void TextCodedStream::setVDouble(double v) { setVString(rt::ascii(formatStreamDouble(v))); }

double TextCodedStream::vDouble() {
  double d = 0;
  if (!parseStreamDouble(vString(), d)) rt::raise(rt::err::TypeMismatch);
  return d;
}

void TextCodedStream::setVDate(rt::Date d) { setVDouble(d.serial); }
rt::Date TextCodedStream::vDate() { return dateFromSerial(vDouble()); }

void TextCodedStream::setVObject(StreamEnable* obj) { writeObject(obj, *this); }

rt::Ref<StreamEnable> TextCodedStream::vObject() { return readObject(*this); }

}  // namespace nubrel
