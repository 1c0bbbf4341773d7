// A command ended by a signal (Ctrl+C, a kill, a closed terminal) leaves
// none of its temporary files behind, and ends as the signal would have
// ended it.
#pragma once

#include "rt/api.h"

namespace rt {

// From now on SIGINT, SIGTERM and SIGHUP remove every temporary file that
// createTempFile made (rt/replacefile.h) and that is not yet renamed or
// removed, then end the process by that same signal with its default
// action, so that a shell sees 128 plus its number.  A signal the process
// was started ignoring (SIGHUP under nohup) stays ignored.
//
// The files are listed by the one thread that does the work, with the three
// signals held on it meanwhile, so the signals must come to that thread: a
// thread that only waits for it holds them (as rt::stack::runOnNewStack's
// caller does).
RT_API void removeTempFilesOnSignal();

}  // namespace rt
