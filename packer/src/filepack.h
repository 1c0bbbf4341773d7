// FilePack: packing a folder into a pack file and unpacking it, with the
// pack's header in Info.
#pragma once

#include <string>

#include "packinfo.h"
#include "rt/dispatch.h"
#include "wistel/filepack.h"

namespace wistel {

class FilePack final : public rt::Automation<FilePack, IFilePack> {
 public:
  static const rt::MemberTable<FilePack>& members();

  FilePack();

  std::u16string fileName() override { return fileName_; }
  void setFileName(std::u16string_view fn) override { fileName_ = fn; }
  rt::Ref<IPackInfo> info() override { return info_; }
  bool startPack(std::u16string_view dirPath, std::u16string_view smFn = {}) override;
  bool startUnPack(std::u16string_view dirPath, std::u16string_view smFn = {}) override;

 private:
  // smFn, which becomes FileName, or FileName when smFn is empty.
  std::u16string packFile(std::u16string_view smFn);

  std::u16string fileName_;
  rt::Ref<PackInfo> info_;
};

}  // namespace wistel
