// A script file's compiled form, "<script>.bin" beside it: a binary object
// stream of the compiler's records.
//
// The cache is current when its modification time equals the script's, to
// the nanosecond: a successful compile gives it the script's time, so a
// script put back with an older time (a copy that kept its times) is
// compiled again as surely as one edited since.  A compile that fails
// leaves whatever cache there was, never a part of a new one.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "application.h"
#include "jespin/textfile.h"
#include "kestrin/scriptcompile.h"
#include "nubrel/vstream.h"

namespace appiface {

class ScriptCache {
 public:
  enum State {
    Compile,  // the script is there; the cache is not, or is not current
    Current,  // the cache is current, or is there without its script
    Missing,  // neither is there
  };

  explicit ScriptCache(std::u16string_view script);

  // Looks at both files (only regular files count).
  State state();
  const std::u16string& name() const { return cache_; }
  // CompFile: compiles the script into the cache.  False with the failure
  // recorded in `app` (source "CompFile").
  bool compile(Application& app);

 private:
  // Compiles the lines of the open script into `stream`, the end record
  // too; false with the failure recorded.
  bool compileLines(Application& app, jespin::ITextFile& source, kestrin::IScriptCompile& compiler,
                    nubrel::VStream& stream);

  std::u16string script_;
  std::u16string cache_;
  struct timespec scriptTime_ {};
};

}  // namespace appiface
