// Whether a file made from another (a compiled script from its text) still
// stands for it: every compiled cache of the system asks this one rule.
#pragma once

#include <sys/stat.h>

#include <ctime>

namespace rt::fs {

inline bool earlier(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec != b.tv_sec ? a.tv_sec < b.tv_sec : a.tv_nsec < b.tv_nsec;
}

// When a file last changed: its text (mtime) or its entry (ctime), so that
// a copy put back with an older time, or a file renamed into place, counts
// as changed when it came.
inline struct timespec changeTime(const struct stat& st) {
  return earlier(st.st_mtim, st.st_ctim) ? st.st_ctim : st.st_mtim;
}

// Whether `made`, a file made from `source` (both statuses), was written
// strictly after `source` last changed.  Equal times are not after: a file
// system stamps times from a clock that moves in ticks (milliseconds, or a
// second or two on some), so a source rewritten within the tick its
// compiled form was made in has that form's very time, to the nanosecond.
// Such a file is made again, and a later one settles.
inline bool madeAfter(const struct stat& made, const struct stat& source) {
  return earlier(changeTime(source), made.st_mtim);
}

}  // namespace rt::fs
