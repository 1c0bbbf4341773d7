// The classes of the object-stream library and its entry points.
#include "rt/library.h"

#include "binfilestream.h"
#include "eventstream.h"
#include "filestream.h"
#include "memstream.h"
#include "nullclasses.h"
#include "streamenum.h"

namespace {

template <class T>
rt::Ref<rt::Object> create() {
  return rt::make<T>();
}

const rt::ClassEntry kClasses[] = {
    {"Nubrel.VStream", nubrel::VStream::clsid, &create<nubrel::NullStream>},
    {"Nubrel.StreamEnable", nubrel::StreamEnable::clsid, &create<nubrel::NullStreamEnable>},
    {"Nubrel.BinFileStream", nubrel::IBinFileStream::clsid, &create<nubrel::BinFileStream>},
    {"Nubrel.FileStream", nubrel::IFileStream::clsid, &create<nubrel::FileStream>},
    {"Nubrel.MemStream", nubrel::IMemStream::clsid, &create<nubrel::MemStream>},
    {"Nubrel.EventStream", nubrel::IEventStream::clsid, &create<nubrel::EventStream>},
    {"Nubrel.StreamEnum", nubrel::IStreamEnum::clsid, &create<nubrel::StreamEnum>},
};

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
