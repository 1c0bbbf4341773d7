// The classes of the packer and its entry points.
#include "filepack.h"
#include "packinfo.h"
#include "rt/library.h"

namespace {

template <class T>
rt::Ref<rt::Object> create() {
  return rt::make<T>();
}

const rt::ClassEntry kClasses[] = {
    {"Wistel.PackInfo", wistel::IPackInfo::clsid, &create<wistel::PackInfo>},
    {"Wistel.FilePack", wistel::IFilePack::clsid, &create<wistel::FilePack>},
};

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
