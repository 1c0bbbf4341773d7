// A page and its compiled form "<page>.bin" beside it: when to compile,
// compiling, and running the compiled page on a host.  The page object and
// the include runner do the same steps, each into its own error record.
#pragma once

#include <string>
#include <string_view>

#include "jespin/errinfo.h"
#include "kestrin/scripthost.h"

namespace halvorn {

enum class PageState {
  Compile,  // no compiled page, or the page is newer than it
  Run,      // the compiled page is current, or there is no page beside it
  Missing,  // neither exists
};
PageState pageState(std::u16string_view page);

std::u16string compiledName(std::u16string_view page);

// Compiles the page into "<page>.bin".  False with the reason in `rec`;
// then no "<page>.bin" is left, so nothing half made can run.
bool compilePage(std::u16string_view page, jespin::IErrInfo& rec);

// Runs "<page>.bin" on `host`; what fails is recorded in `rec` under
// "ExecIncFile".
void runCompiled(std::u16string_view page, kestrin::IScriptHost& host, jespin::IErrInfo& rec);

// Number -1, `description` and `source`: the library's own errors.
void setError(jespin::IErrInfo& rec, std::u16string_view description, std::u16string_view source);

}  // namespace halvorn
