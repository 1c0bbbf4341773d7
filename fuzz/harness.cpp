#include "harness.h"

#include <cstring>
#include <vector>

#include "builtins/svuserfun.h"
#include "core/expitems.h"
#include "jespin/errinfo.h"
#include "rt/activation.h"
#include "rt/error.h"
#include "rt/text.h"

namespace fuzz {

namespace {

class ErrRecord final : public jespin::IErrInfo {
 public:
  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<jespin::IErrInfo>(this, iid);
  }
  void clear() override { number_ = 0, source_.clear(), description_.clear(); }
  void readSysErr(rt::Object*, std::u16string_view) override { rt::raise(rt::err::NotSupported); }
  void readError(int32_t n, std::u16string_view s, std::u16string_view d,
                 std::u16string_view fn) override {
    number_ = n;
    source_ = fn.empty() ? std::u16string(s) : std::u16string(fn) + u"\r\n" + std::u16string(s);
    description_ = d;
  }
  bool haveErr() const override { return number_ != 0; }
  int32_t number() const override { return number_; }
  void setNumber(int32_t n) override { number_ = n; }
  std::u16string description() const override { return description_; }
  void setDescription(std::u16string_view d) override { description_ = d; }
  std::u16string source() const override { return app_ + u"." + mod_ + u"." + source_; }
  void setSource(std::u16string_view s) override { source_ = s; }
  std::u16string sourceFull() const override { return source(); }
  std::u16string parentApp() const override { return app_; }
  void setParentApp(std::u16string_view s) override { app_ = s; }
  std::u16string parentMod() const override { return mod_; }
  void setParentMod(std::u16string_view s) override { mod_ = s; }

 private:
  int32_t number_ = 0;
  std::u16string source_, description_, app_, mod_;
};

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
    if (n < 0 || static_cast<size_t>(n) * 2 > bytes_.size() - pos_) rt::raise(rt::err::PastEndOfFile);
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

void installClasses() {
  rt::registerLocalClass(u"Jespin.ErrInfo", jespin::IErrInfo::clsid,
                         [] { return rt::Ref<rt::Object>(rt::make<ErrRecord>()); });
}

std::u16string inputText(const uint8_t* data, size_t size) {
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
    std::u16string s((size - 2) / 2, u'\0');
    std::memcpy(s.data(), data + 2, s.size() * 2);
    return s;
  }
  return rt::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
}

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
