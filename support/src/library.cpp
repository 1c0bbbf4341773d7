// The classes of the support library and its entry points.
#include "errinfo.h"
#include "rt/library.h"

namespace {

template <class T>
rt::Ref<rt::Object> create() {
  return rt::make<T>();
}

const rt::ClassEntry kClasses[] = {
    {"Jespin.ErrInfo", jespin::IErrInfo::clsid, &create<jespin::ErrInfo>},
};

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
