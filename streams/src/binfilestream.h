// The binary file stream: values little-endian, one after another, with no
// tags, padding or separators.
#pragma once

#include <cstdint>
#include <string>

#include "filestreambase.h"
#include "rt/dispatch.h"

namespace nubrel {

class BinFileStream final : public rt::Automation<BinFileStream, IBinFileStream>,
                            public FileStreamBase {
 public:
  static constexpr int32_t kSignature = static_cast<int32_t>(0x88666688);
  static const rt::MemberTable<BinFileStream>& members();

  BinFileStream() : FileStreamBase(kSignature) {}

  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<rt::Dispatch, IBinFileStream, IStreamFile, VStream>(this, iid);
  }

  void setVString(std::u16string_view s) override;
  std::u16string vString() override;
  std::string vStringBytes() override;
  void setVByte(uint8_t b) override;
  uint8_t vByte() override;
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

 private:
  template <class U>
  void putUnsigned(U v);
  // Zero when the file ends first (the failure is recorded).
  template <class U>
  U getUnsigned();
  // False, with the failure recorded, when `count` cannot be read.
  bool countFits(int64_t count);
};

}  // namespace nubrel
