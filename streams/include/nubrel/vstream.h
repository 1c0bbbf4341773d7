// The typed stream of the object-stream library, as other libraries see it.
//
// A producer writes a sequence of typed values through `VStream` and a
// consumer reads them back through the same interface, asking for the same
// types in the same order: the stream chooses the coding, the caller only
// knows the order.  "set" members append one value, the others read the next.
//
// An object that stores itself implements `StreamEnable`; a stream keeps it as
// an object record: its class name, its layout version, then whatever its
// `streamIO` writes.  Reading a record creates the class by that name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rt/activation.h"
#include "rt/object.h"
#include "rt/variant.h"

namespace nubrel {

// The direction a stream was opened or initialised for.  Any other value a
// caller passes is kept and reported as given.
enum StreamDir : int32_t { OutStream = 0, InStream = 1 };

// The class that publishes StreamDir: it has nothing but the two values,
// read by name ("OutStream", "InStream") through late binding.
class IStreamEnum : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Nubrel.IStreamEnum");
  static constexpr rt::Guid clsid = rt::classIdOf("Nubrel.StreamEnum");
};

class StreamEnable;

class VStream : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Nubrel.IVStream");
  // A class whose operations do nothing; real streams have their own IDs.
  static constexpr rt::Guid clsid = rt::classIdOf("Nubrel.VStream");

  virtual StreamDir dir() = 0;
  // End of input reached; each stream class has its own rule.
  virtual bool eof() = 0;

  virtual void setVString(std::u16string_view s) = 0;
  virtual std::u16string vString() = 0;
  virtual void setVByte(uint8_t b) = 0;
  virtual uint8_t vByte() = 0;
  // A byte array (rt::ByteArray, any lower bound); anything else is a type
  // mismatch.  Reading gives a Variant holding a new byte array.
  virtual void setVBytes(const rt::Variant& bytes) = 0;
  virtual rt::Variant vBytes() = 0;
  virtual void setVInteger(int16_t v) = 0;
  virtual int16_t vInteger() = 0;
  virtual void setVLong(int32_t v) = 0;
  virtual int32_t vLong() = 0;
  virtual void setVDouble(double v) = 0;
  virtual double vDouble() = 0;
  virtual void setVDate(rt::Date d) = 0;
  virtual rt::Date vDate() = 0;
  // Writes an object record; a null object raises 91.
  virtual void setVObject(StreamEnable* obj) = 0;
  // Reads an object record: creates the class it names, which must be
  // registered and implement StreamEnable (429 and 430 otherwise).
  virtual rt::Ref<StreamEnable> vObject() = 0;
};

class StreamEnable : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Nubrel.IStreamEnable");
  // A class whose operations do nothing.
  static constexpr rt::Guid clsid = rt::classIdOf("Nubrel.StreamEnable");

  // The version of the layout the object writes.
  virtual int32_t ver() = 0;
  // Before `streamIO` reads: the version the stored object was written with.
  virtual void setVer(int32_t v) = 0;
  // The ProgID under which the object's class can be created.
  virtual std::u16string className() = 0;
  // Writes the object's fields when `vs.dir()` is OutStream, otherwise reads
  // the same fields in the same order.
  virtual void streamIO(VStream& vs) = 0;
};

}  // namespace nubrel
