// A self-streaming class for the tests: a Long, a text and an optional child
// of its own class, stored as layout version 2.
#pragma once

#include <string>

#include "members.h"
#include "nubrel/vstream.h"
#include "rt/dispatch.h"

namespace streamtest {

constexpr char16_t kPointProgId[] = u"NubrelTest.Point";

class TestPoint final : public rt::Automation<TestPoint, nubrel::StreamEnable> {
 public:
  static const rt::MemberTable<TestPoint>& members() {
    static const auto t = nubrel::streamEnableMembers<TestPoint>(u"TestPoint");
    return t;
  }

  int32_t ver() override { return 2; }
  void setVer(int32_t v) override { versionRead = v; }
  std::u16string className() override { return kPointProgId; }
  void streamIO(nubrel::VStream& vs) override {
    if (vs.dir() == nubrel::OutStream) {
      vs.setVLong(x);
      vs.setVString(name);
      vs.setVByte(child ? 1 : 0);
      if (child) vs.setVObject(child.get());
    } else {
      versionAtRead = versionRead;
      x = vs.vLong();
      name = vs.vString();
      if (vs.vByte() != 0) child = rt::queryRef<TestPoint>(vs.vObject().get());
    }
  }

  static constexpr rt::Iid iid = rt::guidOf("NubrelTest.TestPoint");
  void* query(const rt::Iid& id) noexcept override {
    return rt::queryAmong<rt::Dispatch, nubrel::StreamEnable, TestPoint>(this, id);
  }

  int32_t x = 0;
  std::u16string name;
  rt::Ref<TestPoint> child;
  int32_t versionRead = -1;
  int32_t versionAtRead = -1;  // what setVer had given when streamIO began reading
};

}  // namespace streamtest
