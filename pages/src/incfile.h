// QelIncFile: finds an included page and runs it on a host it is given.
#pragma once

#include <string>
#include <string_view>

#include "halvorn/incfile.h"
#include "pagefile.h"
#include "rt/dispatch.h"

namespace halvorn {

class QelIncFile final : public rt::Automation<QelIncFile, IQelIncFile> {
 public:
  static const rt::MemberTable<QelIncFile>& members();

  QelIncFile();

  rt::Ref<jespin::IVValues> qelSearchPaths() override { return searchPaths_; }
  void setQelSearchPaths(jespin::IVValues* paths) override { searchPaths_ = paths; }
  jespin::IErrInfo& error() override { return *error_; }
  std::u16string qelBasePath() override { return basePath_; }
  void setQelBasePath(std::u16string_view path) override { basePath_ = path; }
  std::u16string qelFileName() override { return fileName_; }
  void setQelFileName(std::u16string_view name) override { fileName_ = name; }
  rt::Ref<kestrin::IScriptHost> host() override { return host_; }
  void setHost(kestrin::IScriptHost* host) override { host_ = host; }
  std::u16string errString() override;
  bool incFile(std::u16string_view qelFn) override;
  void execIncFile() override;
  // Told when a compiled page found spoilt is made again.
  void setNotice(Notice notice) { notice_ = std::move(notice); }
  // Where the failure execIncFile recorded happened.
  const ErrorPlace& failedAt() const { return failedAt_; }

 private:
  // Where the name is found: as it is when absolute, in the base folder or
  // a search folder when relative; empty when nowhere.
  std::u16string find(std::u16string_view name);

  rt::Ref<kestrin::IScriptHost> host_;
  rt::Ref<jespin::IErrInfo> error_;
  std::u16string fileName_;
  std::u16string basePath_;
  rt::Ref<jespin::IVValues> searchPaths_;
  Notice notice_;
  ErrorPlace failedAt_;
};

}  // namespace halvorn
