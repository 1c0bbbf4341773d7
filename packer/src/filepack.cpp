#include "filepack.h"

#include <optional>

#include "unpack.h"
#include "writer.h"

namespace wistel {

const rt::MemberTable<FilePack>& FilePack::members() {
  using Opt = std::optional<std::u16string>;
  static const auto table =
      rt::MemberTable<FilePack>(u"FilePack")
          .prop(u"FileName", &FilePack::fileName,
                [](FilePack& p, std::u16string fn) { p.setFileName(fn); })
          .get(u"Info", [](FilePack& p) { return rt::Variant(p.info()); })
          .method(u"StartPack", [](FilePack& p, std::u16string dir, Opt fn) {
            return p.startPack(dir, fn.value_or(u""));
          })
          .method(u"StartUnPack", [](FilePack& p, std::u16string dir, Opt fn) {
            return p.startUnPack(dir, fn.value_or(u""));
          });
  return table;
}

FilePack::FilePack() : info_(rt::make<PackInfo>()) {}

std::u16string FilePack::packFile(std::u16string_view smFn) {
  if (!smFn.empty()) fileName_ = smFn;
  return fileName_;
}

bool FilePack::startPack(std::u16string_view dirPath, std::u16string_view smFn) {
  FileSource files;
  return writePack(*info_, dirPath, packFile(smFn), files);
}

bool FilePack::startUnPack(std::u16string_view dirPath, std::u16string_view smFn) {
  return unpack(*info_, dirPath, packFile(smFn));
}

}  // namespace wistel
