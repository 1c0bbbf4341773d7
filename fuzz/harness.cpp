#include "harness.h"

#include <cstring>
#include <vector>

#include "builtins/svuserfun.h"
#include "core/expitems.h"
#include "rt/error.h"

namespace fuzz {

namespace {

class ByteStream final : public nubrel::VStream {
 public:
  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<nubrel::VStream>(this, iid);
  }
  nubrel::StreamDir dir() override { return nubrel::OutStream; }
  bool eof() override { return pos_ >= bytes_.size(); }
  void rewind() { pos_ = 0; }

  void setVString(std::u16string_view s) override {
    setVLong(static_cast<int32_t>(s.size()));
    put(s.data(), s.size() * 2);
  }
  std::u16string vString() override {
    int32_t n = vLong();
    if (n < 0 || static_cast<size_t>(n) * 2 > bytes_.size() - pos_)
      rt::raise(rt::err::PastEndOfFile);
    std::u16string s(static_cast<size_t>(n), u'\0');
    take(s.data(), s.size() * 2);
    return s;
  }
  void setVByte(uint8_t b) override { put(&b, 1); }
  uint8_t vByte() override { return get<uint8_t>(); }
  void setVBytes(const rt::Variant&) override { rt::raise(rt::err::NotSupported); }
  rt::Variant vBytes() override { rt::raise(rt::err::NotSupported); }
  void setVInteger(int16_t v) override { put(&v, sizeof v); }
  int16_t vInteger() override { return get<int16_t>(); }
  void setVLong(int32_t v) override { put(&v, sizeof v); }
  int32_t vLong() override { return get<int32_t>(); }
  void setVDouble(double v) override { put(&v, sizeof v); }
  double vDouble() override { return get<double>(); }
  void setVDate(rt::Date d) override { setVDouble(d.serial); }
  rt::Date vDate() override { return rt::Date{vDouble()}; }
  void setVObject(nubrel::StreamEnable*) override { rt::raise(rt::err::NotSupported); }
  rt::Ref<nubrel::StreamEnable> vObject() override { rt::raise(rt::err::NotSupported); }

 private:
  void put(const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }
  void take(void* p, size_t n) {
    if (n > bytes_.size() - pos_) rt::raise(rt::err::PastEndOfFile);
    std::memcpy(p, bytes_.data() + pos_, n);
    pos_ += n;
  }
  template <class T>
  T get() {
    T v;
    take(&v, sizeof v);
    return v;
  }

  std::vector<uint8_t> bytes_;
  size_t pos_ = 0;
};

}  // namespace

rt::Ref<nubrel::VStream> newByteStream() { return rt::make<ByteStream>(); }

void rewind(nubrel::VStream& vs) { static_cast<ByteStream&>(vs).rewind(); }

bool readsBack(nubrel::VStream& vs) {
  try {
    for (;;) {
      int32_t kind = vs.vLong();
      if (kind == 0) {
        vs.vString();
      } else if (kind == 1) {
        rt::make<engine::ExpItems>()->readStream(vs);
      } else if (kind == 2) {
        rt::make<engine::SvUserFun>()->readStream(vs);
      } else {
        return kind == -1 && vs.eof();
      }
    }
  } catch (const rt::RuntimeError&) {
    return false;
  }
}

}  // namespace fuzz
