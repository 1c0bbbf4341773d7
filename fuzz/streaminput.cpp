#include "streaminput.h"

#include <cmath>
#include <string>

#include "rt/activation.h"
#include "rt/error.h"
#include "targets.h"

namespace fuzz {

namespace {

constexpr std::string_view kEveryKind("\0\1\2\3\4\5\6\7", 8);
// Raised errors after which a stream is read no further.
constexpr int kMaxFailures = 4;
constexpr char16_t kNodeProgId[] = u"Fuzz.Node";

class Node final : public nubrel::StreamEnable {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Fuzz.Node");
  void* query(const rt::Iid& id) noexcept override {
    return rt::queryAmong<nubrel::StreamEnable, Node>(this, id);
  }

  int32_t ver() override { return 1; }
  void setVer(int32_t) override {}
  std::u16string className() override { return kNodeProgId; }
  void streamIO(nubrel::VStream& vs) override {
    if (vs.dir() == nubrel::OutStream) {
      vs.setVLong(shape_);
      if (shape_ & 1) vs.setVString(text_);
      if (shape_ & 2) vs.setVBytes(bytes_);
      if (shape_ & 4) vs.setVObject(child_.get());
      return;
    }
    shape_ = vs.vLong();
    if (shape_ & 1) text_ = vs.vString();
    if (shape_ & 2) bytes_ = vs.vBytes();
    if (shape_ & 4) child_ = vs.vObject();
    // A record cut short (a binary stream reads Nothing) writes no child.
    if (!child_) shape_ &= ~4;
  }

  friend bool sameObject(nubrel::StreamEnable* a, nubrel::StreamEnable* b);

 private:
  int32_t shape_ = 0;
  std::u16string text_;
  rt::Variant bytes_{rt::ByteArray{}};
  rt::Ref<nubrel::StreamEnable> child_;
};

bool sameObject(nubrel::StreamEnable* a, nubrel::StreamEnable* b) {
  if (!a || !b) return a == b;
  if (a->className() != b->className()) return false;
  Node* x = rt::queryRef<Node>(a).get();
  Node* y = rt::queryRef<Node>(b).get();
  if (!x || !y) return !x && !y;
  return x->shape_ == y->shape_ && x->text_ == y->text_ &&
         x->bytes_.bytes().lbound == y->bytes_.bytes().lbound &&
         x->bytes_.bytes().bytes == y->bytes_.bytes().bytes &&
         sameObject(x->child_.get(), y->child_.get());
}

rt::Variant readOne(nubrel::VStream& vs, Kind k) {
  switch (k) {
    case Kind::String:
      return rt::Variant(vs.vString());
    case Kind::Byte:
      return rt::Variant(vs.vByte());
    case Kind::Bytes:
      return vs.vBytes();
    case Kind::Integer:
      return rt::Variant(vs.vInteger());
    case Kind::Long:
      return rt::Variant(vs.vLong());
    case Kind::Double:
      return rt::Variant(vs.vDouble());
    case Kind::Date:
      return rt::Variant(vs.vDate());
    case Kind::Object:
      return rt::Variant(vs.vObject());
  }
  return {};
}

void writeOne(nubrel::VStream& vs, const Value& v) {
  switch (v.kind) {
    case Kind::String:
      return vs.setVString(v.v.text());
    case Kind::Byte:
      return vs.setVByte(v.v.byte());
    case Kind::Bytes:
      return vs.setVBytes(v.v);
    case Kind::Integer:
      return vs.setVInteger(v.v.integer());
    case Kind::Long:
      return vs.setVLong(v.v.longValue());
    case Kind::Double:
      return vs.setVDouble(v.v.dbl());
    case Kind::Date:
      return vs.setVDate(v.v.date());
    case Kind::Object:
      return vs.setVObject(rt::queryRef<nubrel::StreamEnable>(v.v.object()).get());
  }
}

bool sameDouble(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

bool sameValue(const Value& a, const Value& b) {
  if (a.kind != b.kind || a.v.type() != b.v.type()) return false;
  switch (a.kind) {
    case Kind::String:
      return a.v.text() == b.v.text();
    case Kind::Byte:
      return a.v.byte() == b.v.byte();
    case Kind::Bytes:
      return a.v.bytes().lbound == b.v.bytes().lbound && a.v.bytes().bytes == b.v.bytes().bytes;
    case Kind::Integer:
      return a.v.integer() == b.v.integer();
    case Kind::Long:
      return a.v.longValue() == b.v.longValue();
    case Kind::Double:
      return sameDouble(a.v.dbl(), b.v.dbl());
    case Kind::Date:
      return sameDouble(a.v.date().serial, b.v.date().serial);
    case Kind::Object:
      return sameObject(rt::queryRef<nubrel::StreamEnable>(a.v.object()).get(),
                        rt::queryRef<nubrel::StreamEnable>(b.v.object()).get());
  }
  return false;
}

}  // namespace

StreamInput splitStreamInput(const uint8_t* data, size_t size) {
  StreamInput in;
  if (size == 0) return in;
  in.header = (data[0] & 0x80) != 0;
  in.cp936 = (data[0] & 0x40) != 0;
  std::string_view rest = asBytes(data + 1, size - 1);
  size_t ops = std::min<size_t>(data[0] & 0x1F, rest.size());
  in.ops = rest.substr(0, ops);
  in.data = rest.substr(ops);
  return in;
}

std::vector<Value> readValues(nubrel::VStream& vs, std::string_view ops, size_t most,
                              nubrel::IStreamFile* file) {
  if (ops.empty()) ops = kEveryKind;
  std::vector<Value> values;
  bool failed = false;
  int failures = 0;
  for (size_t i = 0; i < most && !vs.eof() && failures < kMaxFailures; ++i) {
    Kind k = static_cast<Kind>(ops[i % ops.size()] & 7);
    try {
      rt::Variant v = readOne(vs, k);
      if (file && !file->errInfo().empty()) failed = true;
      if (!failed) values.push_back({k, std::move(v)});
    } catch (const rt::RuntimeError&) {
      failed = true;
      ++failures;
    }
  }
  return values;
}

void writeValues(nubrel::VStream& vs, const std::vector<Value>& values) {
  for (const Value& v : values) writeOne(vs, v);
}

bool sameValues(const std::vector<Value>& a, const std::vector<Value>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (!sameValue(a[i], b[i])) return false;
  return true;
}

std::string opsOf(const std::vector<Value>& values) {
  std::string ops;
  for (const Value& v : values) ops.push_back(static_cast<char>(v.kind));
  return ops;
}

void registerNode() {
  rt::registerLocalClass(kNodeProgId, rt::classIdOf("Fuzz.Node"),
                         [] { return rt::Ref<rt::Object>(rt::make<Node>()); });
}

}  // namespace fuzz
