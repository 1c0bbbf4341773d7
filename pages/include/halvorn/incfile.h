// The include runner of the page library: finds a page named by an include
// and runs it on a given script host.  The page object uses one for every
// include; a host may use it to run a page on a host of its own.
#pragma once

#include <string>
#include <string_view>

#include "jespin/errinfo.h"
#include "jespin/values.h"
#include "kestrin/scripthost.h"
#include "rt/activation.h"
#include "rt/object.h"

namespace halvorn {

class IQelIncFile : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Halvorn.IQelIncFile");
  static constexpr rt::Guid clsid = rt::classIdOf("Halvorn.QelIncFile");

  // The folders searched after the base folder (held, not copied).
  virtual rt::Ref<jespin::IVValues> qelSearchPaths() = 0;
  virtual void setQelSearchPaths(jespin::IVValues* paths) = 0;
  virtual jespin::IErrInfo& error() = 0;
  virtual std::u16string qelBasePath() = 0;
  virtual void setQelBasePath(std::u16string_view path) = 0;
  // The include name; once found, the path it was found at.
  virtual std::u16string qelFileName() = 0;
  virtual void setQelFileName(std::u16string_view name) = 0;
  virtual rt::Ref<kestrin::IScriptHost> host() = 0;
  virtual void setHost(kestrin::IScriptHost* host) = 0;
  // The error's description, CR LF, and its full source.
  virtual std::u16string errString() = 0;
  // Looks for the page (`qelFn`, or the name set before): in the base
  // folder, then in each search folder (as the page or its compiled form).
  virtual bool incFile(std::u16string_view qelFn = {}) = 0;
  // Compiles the page found when needed and runs it on the host; failures
  // are recorded in error().
  virtual void execIncFile() = 0;
};

}  // namespace halvorn
