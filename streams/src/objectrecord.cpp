#include "objectrecord.h"

#include <string>

#include "rt/error.h"
#include "rt/stack.h"

namespace nubrel {

namespace {

// Records inside records are read recursively; stored data must not be able
// to nest them deep enough to exhaust the stack.
constexpr int kMaxNesting = 100;
int g_nesting = 0;

struct NestingGuard {
  NestingGuard() {
    if (g_nesting >= kMaxNesting) rt::raise(rt::err::OutOfStackSpace, u"对象流中的对象嵌套过深");
    rt::stack::check();  // a thread with a small stack meets this first
    ++g_nesting;
  }
  ~NestingGuard() { --g_nesting; }
};

}  // namespace

void writeObject(StreamEnable* obj, VStream& vs) {
  if (!obj) rt::raise(rt::err::ObjectNotSet);
  vs.setVString(obj->className());
  vs.setVLong(obj->ver());
  obj->streamIO(vs);
}

rt::Ref<StreamEnable> readObject(VStream& vs) {
  std::u16string name = vs.vString();
  return objectFromRecord(name, vs);
}

rt::Ref<StreamEnable> objectFromRecord(std::u16string_view className, VStream& vs) {
  NestingGuard guard;
  if (className.empty()) rt::raise(rt::err::CannotCreateObject, u"对象流中的类名为空");
  rt::Ref<rt::Object> created = rt::createObject(className);
  rt::Ref<StreamEnable> obj = rt::queryRef<StreamEnable>(created.get());
  if (!obj) rt::raise(rt::err::NoAutomation, std::u16string(className) + u" 不能从对象流中读出");
  obj->setVer(vs.vLong());
  obj->streamIO(vs);
  return obj;
}

}  // namespace nubrel
