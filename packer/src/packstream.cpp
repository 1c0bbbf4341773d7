#include "packstream.h"

#include <sys/stat.h>

#include <string>

#include "names.h"
#include "packinfo.h"
#include "rt/error.h"
#include "rt/fspath.h"

namespace wistel {

rt::Ref<nubrel::IBinFileStream> newPackStream() {
  rt::Ref<nubrel::IBinFileStream> s = rt::queryRef<nubrel::IBinFileStream>(
      rt::createInstance(nubrel::IBinFileStream::clsid).get());
  if (!s) rt::raise(rt::err::NoAutomation, u"Nubrel.BinFileStream");
  return s;
}

rt::Ref<nubrel::IBinFileStream> openPack(std::u16string_view fn, PackInfo& info) {
  std::string path = rt::fs::nativePath(fn);
  struct stat st {};
  if (!rt::fs::statOf(path, st)) rt::raise(rt::err::FileNotFound, shownName(fn));
  info.setPackLen(st.st_size);
  rt::Ref<nubrel::IBinFileStream> s = newPackStream();
  // The stream names the file as it is, control characters and all.
  if (!s->openStream(fn, nubrel::InStream))
    rt::raiseWith(rt::err::PathFileAccess, shownName(s->errInfo()), {});
  try {
    info.readStream(*s);
  } catch (const rt::RuntimeError& e) {
    raiseDamaged(e.description());  // a header cut short
  }
  return s;
}

}  // namespace wistel
