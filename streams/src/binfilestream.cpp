#include "binfilestream.h"

#include <bit>

#include "codepagetext.h"
#include "members.h"
#include "objectrecord.h"
#include "values.h"

namespace nubrel {

const rt::MemberTable<BinFileStream>& BinFileStream::members() {
  static const auto table = fileMembers(streamMembers<BinFileStream>(u"BinFileStream"));
  return table;
}

template <class U>
void BinFileStream::putUnsigned(U v) {
  char bytes[sizeof(U)];
  for (size_t i = 0; i < sizeof(U); ++i) bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  file_.write(std::string_view(bytes, sizeof bytes));
}

template <class U>
U BinFileStream::getUnsigned() {
  char bytes[sizeof(U)];
  if (!file_.read(bytes, sizeof bytes)) {
    recordReadFailure(rt::RuntimeError(rt::err::PastEndOfFile));
    return 0;
  }
  U v = 0;
  for (size_t i = 0; i < sizeof(U); ++i)
    v |= static_cast<U>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  return v;
}

bool BinFileStream::countFits(int64_t count) {
  if (auto failure = countFailure(count, file_.left())) {
    recordReadFailure(*failure);
    return false;
  }
  return true;
}

void BinFileStream::setVString(std::u16string_view s) {
  int32_t n = storedCount(s.size());
  std::string text = encodeUnits(s);
  setVLong(n);
  file_.write(text);
}

std::u16string BinFileStream::vString() { return decodeBytes(vStringBytes()); }

std::string BinFileStream::vStringBytes() {
  int32_t n = vLong();
  std::string bytes;
  // Every unit takes at least one byte, so the count cannot exceed the bytes left.
  if (!countFits(n)) return bytes;
  if (!readUnitBytes(file_, static_cast<size_t>(n), bytes))
    recordReadFailure(rt::RuntimeError(rt::err::PastEndOfFile));
  return bytes;
}

void BinFileStream::setVByte(uint8_t b) { putUnsigned<uint8_t>(b); }
uint8_t BinFileStream::vByte() { return getUnsigned<uint8_t>(); }

void BinFileStream::setVBytes(const rt::Variant& bytes) {
  const rt::ByteArray& a = byteArrayOf(bytes);
  storedCount(a.bytes.size());
  int32_t upper = upperBoundOf(a);
  setVLong(a.lbound);
  setVLong(upper);
  file_.write(std::string_view(reinterpret_cast<const char*>(a.bytes.data()), a.bytes.size()));
}

rt::Variant BinFileStream::vBytes() {
  int32_t lower = vLong();
  int32_t upper = vLong();
  rt::ByteArray a;
  // Bounds with nothing between them (upper = lower - 1) are an empty array.
  int64_t count = static_cast<int64_t>(upper) - lower + 1;
  if (eof() || !countFits(count)) return rt::Variant(std::move(a));
  a.lbound = lower;
  a.bytes.resize(static_cast<size_t>(count));
  if (!file_.read(reinterpret_cast<char*>(a.bytes.data()), a.bytes.size())) {
    recordReadFailure(rt::RuntimeError(rt::err::PastEndOfFile));
    return rt::Variant(rt::ByteArray{});
  }
  return rt::Variant(std::move(a));
}

void BinFileStream::setVInteger(int16_t v) { putUnsigned(static_cast<uint16_t>(v)); }
int16_t BinFileStream::vInteger() { return static_cast<int16_t>(getUnsigned<uint16_t>()); }
void BinFileStream::setVLong(int32_t v) { putUnsigned(static_cast<uint32_t>(v)); }
int32_t BinFileStream::vLong() { return static_cast<int32_t>(getUnsigned<uint32_t>()); }
void BinFileStream::setVDouble(double v) { putUnsigned(std::bit_cast<uint64_t>(v)); }
double BinFileStream::vDouble() { return std::bit_cast<double>(getUnsigned<uint64_t>()); }
void BinFileStream::setVDate(rt::Date d) { setVDouble(d.serial); }
rt::Date BinFileStream::vDate() { return dateFromSerial(vDouble()); }

void BinFileStream::setVObject(StreamEnable* obj) { writeObject(obj, *this); }

rt::Ref<StreamEnable> BinFileStream::vObject() {
  std::u16string name = vString();
  // A record cut short reads as Nothing, the failure recorded like any other.
  if (eof()) return nullptr;
  return objectFromRecord(name, *this);
}

}  // namespace nubrel
