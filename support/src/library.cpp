// The classes of the support library and its entry points.
#include "chrbits.h"
#include "errinfo.h"
#include "exclipboard.h"
#include "profile.h"
#include "stackqueue.h"
#include "textfile.h"
#include "udlfile.h"
#include "unicodefile.h"
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
    {"Jespin.TextFile", jespin::ITextFile::clsid, &create<jespin::TextFile>},
    {"Jespin.UnicodeFile", jespin::IUnicodeFile::clsid, &create<jespin::UnicodeFile>},
    {"Jespin.UDLFile", jespin::IUDLFile::clsid, &create<jespin::UDLFile>},
    {"Jespin.ProFile", jespin::IProFile::clsid, &create<jespin::ProFile>},
    {"Jespin.VValue", jespin::IVValue::clsid, &create<jespin::VValue>},
    {"Jespin.VValues", jespin::IVValues::clsid, &create<jespin::VValues>},
    {"Jespin.VStack", jespin::IVStack::clsid, &create<jespin::VStack>},
    {"Jespin.VQueue", jespin::IVQueue::clsid, &create<jespin::VQueue>},
    {"Jespin.ChrBits", jespin::IChrBits::clsid, &create<jespin::ChrBits>},
    {"Jespin.ExClipboard", jespin::IExClipboard::clsid, &create<jespin::ExClipboard>},
};

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
