// The classes of the support library and its entry points.
#include "chrbits.h"
#include "errinfo.h"
#include "exclipboard.h"
#include "stackqueue.h"
#include "vvalue.h"
#include "vvalues.h"
#include "rt/library.h"

namespace {

template <class T>
rt::Ref<rt::Object> create() {
  return rt::make<T>();
}

const rt::ClassEntry kClasses[] = {
    {"Jespin.ErrInfo", jespin::IErrInfo::clsid, &create<jespin::ErrInfo>},
    {"Jespin.VValue", jespin::IVValue::clsid, &create<jespin::VValue>},
    {"Jespin.VValues", jespin::IVValues::clsid, &create<jespin::VValues>},
    {"Jespin.VStack", jespin::IVStack::clsid, &create<jespin::VStack>},
    {"Jespin.VQueue", jespin::IVQueue::clsid, &create<jespin::VQueue>},
    {"Jespin.ChrBits", jespin::IChrBits::clsid, &create<jespin::ChrBits>},
    {"Jespin.ExClipboard", jespin::IExClipboard::clsid, &create<jespin::ExClipboard>},
};

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
