// A script file's compiled form, "<script>.bin" beside it: a binary object
// stream of the compiler's records.
//
// The cache is current when it was written after the script last changed
// (rt/filetime.h): a script edited since, also within the clock tick the
// cache was made in, or put back with an older time (a copy that kept its
// times), is compiled again.  A compile that fails leaves whatever cache
// there was, never a part of a new one.
#pragma once

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
};

}  // namespace appiface
