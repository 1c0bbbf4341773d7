// Variant: the one value type of the system.
//
// A Variant is 16 bytes: a type tag and an 8-byte payload, with a Decimal
// using the spare bytes of the header as the automation VARIANT does.  Texts
// and byte arrays are shared, counted representations: copying a Variant is
// cheap, and a text with a single holder can be extended in place
// (`appendText`), which is what keeps `s = s & x` loops linear.
//
// The type numbers are those a script sees through VarType.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rt/api.h"
#include "rt/object.h"

namespace rt {

enum class VT : uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Boolean = 11,
  Decimal = 14,
  Byte = 17,
  ByteArray = 0x2000 | 17,  // an array of Byte, with its lower bound
};

// Currency: a 64-bit integer counting ten-thousandths.
struct Currency {
  int64_t raw = 0;
  static constexpr int64_t kScale = 10000;
  friend constexpr bool operator==(Currency, Currency) = default;
};

// Date: days since 30 December 1899; the fraction is the time of day.
// Before that day the fraction still counts forward from midnight, so
// -1.25 is 29 December 1899, 06:00.
struct Date {
  double serial = 0;
  friend constexpr bool operator==(Date, Date) = default;
};

// Decimal: a 96-bit unsigned magnitude with a power-of-ten scale 0..28 and a sign.
struct Decimal {
  uint64_t lo = 0;
  uint32_t hi = 0;
  uint8_t scale = 0;
  bool negative = false;
  friend constexpr bool operator==(const Decimal&, const Decimal&) = default;
};

struct ByteArray {
  int32_t lbound = 0;
  std::vector<uint8_t> bytes;
  // Computed in 64 bits: a lower bound near the top of the range is legal.
  int64_t ubound() const { return int64_t{lbound} + static_cast<int64_t>(bytes.size()) - 1; }
};

struct Null {};

namespace detail {
struct TextRep {
  uint32_t refs = 1;
  std::u16string text;
};
struct BytesRep {
  uint32_t refs = 1;
  ByteArray array;
};
}  // namespace detail

class RT_API Variant {
 public:
  Variant() noexcept {}
  Variant(Null) noexcept : vt_(VT::Null) {}
  Variant(int16_t v) noexcept : vt_(VT::Integer) { u_.i2 = v; }
  Variant(int32_t v) noexcept : vt_(VT::Long) { u_.i4 = v; }
  Variant(float v) noexcept : vt_(VT::Single) { u_.r4 = v; }
  Variant(double v) noexcept : vt_(VT::Double) { u_.r8 = v; }
  Variant(Currency v) noexcept : vt_(VT::Currency) { u_.cy = v.raw; }
  Variant(Date v) noexcept : vt_(VT::Date) { u_.r8 = v.serial; }
  Variant(bool v) noexcept : vt_(VT::Boolean) { u_.i2 = v ? -1 : 0; }
  Variant(uint8_t v) noexcept : vt_(VT::Byte) { u_.ui1 = v; }
  Variant(Decimal d) noexcept : vt_(VT::Decimal), dscale_(d.scale), dneg_(d.negative), dhi_(d.hi) {
    u_.dlo = d.lo;
  }
  Variant(std::u16string text) : vt_(VT::String) { u_.text = new detail::TextRep{1, std::move(text)}; }
  Variant(std::u16string_view text) : Variant(std::u16string(text)) {}
  Variant(const char16_t* text) : Variant(std::u16string(text)) {}
  Variant(ByteArray a) : vt_(VT::ByteArray) { u_.bytes = new detail::BytesRep{1, std::move(a)}; }
  // An object reference; nullptr is Nothing.
  Variant(Object* o) noexcept : vt_(VT::Object) {
    u_.obj = o;
    if (o) o->addRef();
  }
  Variant(std::nullptr_t) noexcept : vt_(VT::Object) { u_.obj = nullptr; }
  template <class T>
  Variant(const Ref<T>& o) noexcept : Variant(static_cast<Object*>(o.get())) {}

  // Guard against silent picks among the integer types.
  Variant(long) = delete;
  Variant(unsigned long) = delete;
  Variant(unsigned) = delete;
  Variant(char) = delete;
  Variant(const char*) = delete;

  Variant(const Variant& o) noexcept { copyFrom(o); }
  Variant(Variant&& o) noexcept { stealFrom(o); }
  Variant& operator=(const Variant& o) noexcept {
    if (this != &o) {
      Variant tmp(o);
      swap(tmp);
    }
    return *this;
  }
  Variant& operator=(Variant&& o) noexcept {
    if (this != &o) {
      clear();
      stealFrom(o);
    }
    return *this;
  }
  ~Variant() { clear(); }

  void swap(Variant& o) noexcept {
    Variant t;
    t.stealFrom(*this);
    stealFrom(o);
    o.stealFrom(t);
  }
  // The types below String, the commonest, are told apart by one compare.
  void clear() noexcept {
    if (vt_ >= VT::String && (vt_ <= VT::Object || vt_ == VT::ByteArray)) releasePayload();
    vt_ = VT::Empty;
  }

  VT type() const noexcept { return vt_; }
  bool isEmpty() const noexcept { return vt_ == VT::Empty; }
  bool isNull() const noexcept { return vt_ == VT::Null; }
  bool isText() const noexcept { return vt_ == VT::String; }
  bool isObject() const noexcept { return vt_ == VT::Object; }
  // Nothing: an object reference to no object.
  bool isNothing() const noexcept { return vt_ == VT::Object && !u_.obj; }

  // Raw payloads; the caller has checked the type.
  int16_t integer() const noexcept { return u_.i2; }
  int32_t longValue() const noexcept { return u_.i4; }
  float single() const noexcept { return u_.r4; }
  double dbl() const noexcept { return u_.r8; }
  Currency currency() const noexcept { return Currency{u_.cy}; }
  Date date() const noexcept { return Date{u_.r8}; }
  bool boolean() const noexcept { return u_.i2 != 0; }
  uint8_t byte() const noexcept { return u_.ui1; }
  Decimal decimal() const noexcept { return Decimal{u_.dlo, dhi_, dscale_, dneg_}; }
  const std::u16string& text() const noexcept { return u_.text->text; }
  Object* object() const noexcept { return u_.obj; }
  const ByteArray& bytes() const noexcept { return u_.bytes->array; }

  // A text that may be changed in place: unshared first when another holder
  // has it.  Only for String variants.
  std::u16string& mutableText();
  ByteArray& mutableBytes();
  // Appends to a String variant, in place when this is the only holder.
  // Raises error 14 past the longest text (strings.h).
  void appendText(std::u16string_view s);

 private:
  // The 16 bytes are moved as two words rather than field by field: a
  // copy is the commonest thing an evaluator does with a value.
  void bitsFrom(const Variant& o) noexcept { __builtin_memcpy(static_cast<void*>(this), &o, sizeof o); }
  void copyFrom(const Variant& o) noexcept {
    bitsFrom(o);
    if (vt_ == VT::String) ++u_.text->refs;
    else if (vt_ == VT::ByteArray) ++u_.bytes->refs;
    else if (vt_ == VT::Object && u_.obj) u_.obj->addRef();
  }
  void stealFrom(Variant& o) noexcept {
    bitsFrom(o);
    o.vt_ = VT::Empty;
  }
  void releasePayload() noexcept;

  VT vt_ = VT::Empty;
  uint8_t dscale_ = 0;  // Decimal only
  bool dneg_ = false;   // Decimal only
  uint32_t dhi_ = 0;    // Decimal only
  union {
    int16_t i2;
    int32_t i4;
    float r4;
    double r8;
    int64_t cy;
    uint8_t ui1;
    uint64_t dlo;
    detail::TextRep* text;
    detail::BytesRep* bytes;
    Object* obj;
  } u_{};
};

static_assert(sizeof(Variant) == 16);

// The name of a type as TypeName shows it for a plain value ("Integer",
// "String", "Nothing", "Byte()"...).  Objects answer with "Object" here; the
// dispatch layer knows class names.
RT_API std::u16string_view typeNameOf(VT vt);

}  // namespace rt
