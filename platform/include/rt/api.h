// Visibility of the runtime library's own symbols.
//
// Every library of the system is built with hidden visibility and exports only
// its four entry points.  The runtime library is the one place whose C++ API is
// shared by all of them, so what it declares must be visible: the error
// exception in particular, whose type information has to exist exactly once in
// the process for a `catch` in one library to match a `throw` in another.
#pragma once

#define RT_API __attribute__((visibility("default")))
