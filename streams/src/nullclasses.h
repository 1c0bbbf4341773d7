// The two interfaces as creatable classes whose operations do nothing: reads
// give 0, False, empty text, an empty Variant or Nothing; writes are ignored.
#pragma once

#include <string>

#include "nubrel/vstream.h"
#include "rt/dispatch.h"

namespace nubrel {

class NullStream final : public rt::Automation<NullStream, VStream> {
 public:
  static const rt::MemberTable<NullStream>& members();

  StreamDir dir() override { return OutStream; }
  bool eof() override { return false; }
  void setVString(std::u16string_view) override {}
  std::u16string vString() override { return {}; }
  void setVByte(uint8_t) override {}
  uint8_t vByte() override { return 0; }
  void setVBytes(const rt::Variant&) override {}
  rt::Variant vBytes() override { return {}; }
  void setVInteger(int16_t) override {}
  int16_t vInteger() override { return 0; }
  void setVLong(int32_t) override {}
  int32_t vLong() override { return 0; }
  void setVDouble(double) override {}
  double vDouble() override { return 0; }
  void setVDate(rt::Date) override {}
  rt::Date vDate() override { return {}; }
  void setVObject(StreamEnable*) override {}
  rt::Ref<StreamEnable> vObject() override { return nullptr; }
};

class NullStreamEnable final : public rt::Automation<NullStreamEnable, StreamEnable> {
 public:
  static const rt::MemberTable<NullStreamEnable>& members();

  int32_t ver() override { return 0; }
  void setVer(int32_t) override {}
  std::u16string className() override { return {}; }
  void streamIO(VStream&) override {}
};

}  // namespace nubrel
