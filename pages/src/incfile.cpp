#include "incfile.h"

#include <optional>

#include "modstr.h"
#include "names.h"
#include "pagefile.h"
#include "rt/convert.h"
#include "rt/error.h"

namespace halvorn {

const rt::MemberTable<QelIncFile>& QelIncFile::members() {
  using S = std::u16string;
  static const auto table =
      rt::MemberTable<QelIncFile>(u"QelIncFile")
          .get(u"QelSearchPaths", &QelIncFile::qelSearchPaths)
          .set(u"QelSearchPaths",
               [](QelIncFile& f, rt::Ref<jespin::IVValues> p) { f.setQelSearchPaths(p.get()); })
          .get(u"Error", [](QelIncFile& f) { return rt::Variant(static_cast<rt::Object*>(&f.error())); })
          .prop(u"QelBasePath", &QelIncFile::qelBasePath, [](QelIncFile& f, S p) { f.setQelBasePath(p); })
          .prop(u"QELFileName", &QelIncFile::qelFileName, [](QelIncFile& f, S n) { f.setQelFileName(n); })
          .get(u"Host", &QelIncFile::host)
          .set(u"Host", [](QelIncFile& f, rt::Ref<kestrin::IScriptHost> h) { f.setHost(h.get()); })
          .get(u"ErrString", &QelIncFile::errString)
          .method(u"IncFile",
                  [](QelIncFile& f, std::optional<S> fn) { return f.incFile(fn.value_or(S())); })
          .method(u"ExecIncFile", &QelIncFile::execIncFile);
  return table;
}

QelIncFile::QelIncFile() : error_(jespin::newErrInfo(u"Halvorn", u"QelIncFile")) {}

std::u16string QelIncFile::errString() { return error_->description() + u"\r\n" + error_->sourceFull(); }

std::u16string QelIncFile::find(std::u16string_view name) {
  auto here = [](const std::u16string& path) { return isFile(path) || isFile(compiledName(path)); };
  if (!isRelative(name)) return here(std::u16string(name)) ? std::u16string(name) : std::u16string();
  // With no base folder the name is taken from the current folder.
  std::u16string inBase = basePath_ + std::u16string(name);
  if (here(inBase)) return inBase;
  if (!searchPaths_) return {};
  for (int32_t i = 1, n = searchPaths_->count(); i <= n; ++i) {
    std::u16string path = rt::toText(searchPaths_->item(rt::Variant(i))->value()) + std::u16string(name);
    if (here(path)) return path;
  }
  return {};
}

bool QelIncFile::incFile(std::u16string_view qelFn) {
  error_->clear();
  if (!qelFn.empty()) fileName_ = qelFn;
  if (fileName_.empty()) {
    setError(*error_, u"没有指定脚本文件名。", u"IncFile");
    return false;
  }
  std::u16string found = find(fileName_);
  if (found.empty()) {
    setError(*error_, u"要包含的文件" + bracket(fileName_) + u"没有被发现。", u"IncFile");
    return false;
  }
  fileName_ = std::move(found);
  basePath_ = folderOf(fileName_);
  return true;
}

void QelIncFile::execIncFile() {
  error_->clear();
  failedAt_ = {};
  if (!host_) {
    error_->readError(rt::err::ObjectNotSet, u"", rt::errorText(rt::err::ObjectNotSet), u"ExecIncFile");
    failedAt_ = placeOf(*error_, fileName_);
    return;
  }
  rt::Ref<nubrel::IStreamFile> compiled;
  if (!readyToRun(fileName_, pageState(fileName_), *error_, failedAt_, notice_, compiled)) return;
  runCompiled(fileName_, compiled.get(), *host_, *error_, failedAt_);
}

}  // namespace halvorn
