// The classes of the support library and its entry points.
#include "errinfo.h"
#include "profile.h"
#include "textfile.h"
#include "udlfile.h"
#include "unicodefile.h"
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
};

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
