// A page and its compiled form "<page>.bin" beside it: when to compile,
// compiling, and running the compiled page on a host.  The page object and
// the include runner do the same steps, each into its own error record.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "halvorn/spage.h"
#include "jespin/errinfo.h"
#include "kestrin/scripthost.h"
#include "nubrel/filestreams.h"

namespace halvorn {

enum class PageState {
  Compile,  // no compiled page, or one not made after the page last changed
  Run,      // the compiled page is current, or there is no page beside it
  Missing,  // neither exists
};
PageState pageState(std::u16string_view page);

std::u16string compiledName(std::u16string_view page);

// The functions below record a failure in `rec` (the page object's or the
// include runner's error record) and where it happened in `at`.

// Compiles the page into "<page>.bin".  False when it cannot; then no
// "<page>.bin" is left, so nothing half made can run: the new file takes
// that name only once it is whole.  A symbolic link of that name is
// replaced, never written through.
bool compilePage(std::u16string_view page, jespin::IErrInfo& rec, ErrorPlace& at);

// What a run is told of a compiled page found spoilt and made again.
using Notice = std::function<void(std::u16string_view text)>;

// Makes "<page>.bin" ready to run (the page in `state`): compiled when it
// must be, then read whole and checked; one that is cut short, spoilt or no
// compiled page at all (made under another code page, say) is compiled
// again from the page when the page is there, `notice` told.  False when a
// compile fails.  Else `compiled` is the compiled page, to be read from its
// beginning: the bytes checked, never the file again.  It is null when the
// compiled page is not whole and there is no page to make it from: then
// nothing of it may run.
bool readyToRun(std::u16string_view page, PageState state, jespin::IErrInfo& rec, ErrorPlace& at,
                const Notice& notice, rt::Ref<nubrel::IStreamFile>& compiled);

// Runs the compiled page readyToRun gave on `host`, its failures reported
// at the page's lines; what fails is recorded under "ExecIncFile", a
// missing one as a compiled page that cannot be opened.
void runCompiled(std::u16string_view page, nubrel::IStreamFile* compiled, kestrin::IScriptHost& host,
                 jespin::IErrInfo& rec, ErrorPlace& at);

// Number -1, `description` and `source`: the library's own errors.
void setError(jespin::IErrInfo& rec, std::u16string_view description, std::u16string_view source);
// The place of a failure whose number and description `rec` holds.
ErrorPlace placeOf(jespin::IErrInfo& rec, std::u16string_view file, int32_t line = 0);

}  // namespace halvorn
