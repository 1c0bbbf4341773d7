// Packing a folder tree into one pack file and unpacking it, as other
// programs see it.  Progress and the password question go through the
// installed work host (rt/workhost.h), failures to the user through the UI
// host; the result says whether the run succeeded.
#pragma once

#include <string>
#include <string_view>

#include "rt/activation.h"
#include "rt/object.h"
#include "wistel/packinfo.h"

namespace wistel {

class IFilePack : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Wistel.IFilePack");
  static constexpr rt::Guid clsid = rt::classIdOf("Wistel.FilePack");

  virtual std::u16string fileName() = 0;
  virtual void setFileName(std::u16string_view fn) = 0;
  // The pack's header: set before packing, read after unpacking.
  virtual rt::Ref<IPackInfo> info() = 0;
  // Packs the folder `dirPath` into the pack file `smFn` (FileName when
  // empty; FileName becomes smFn otherwise).
  virtual bool startPack(std::u16string_view dirPath, std::u16string_view smFn = {}) = 0;
  // Unpacks the pack file `smFn` (likewise) into the folder `dirPath`.
  virtual bool startUnPack(std::u16string_view dirPath, std::u16string_view smFn = {}) = 0;
};

}  // namespace wistel
