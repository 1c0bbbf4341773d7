// Running zubrun as a child process under limits, for the tests of what
// ends a run: its status or signal, what it wrote, and its peak memory.
#pragma once

#include <sys/resource.h>

#include <cstddef>
#include <string>

#include "rt/testing.h"

namespace zubruntest {

struct Limits {
  std::string edition = "2";  // of the engine zubrun runs the script on
  rlim_t stackBytes = 0;    // 0: as inherited
  rlim_t addressSpace = 0;  // 0: as inherited
  rlim_t fileSize = 0;      // 0: as inherited (ulimit -f, in bytes)
  // Where standard output goes: a file to write, or "" for a file the
  // outcome reads back; "pipe-closed" for a pipe nobody reads.
  std::string output;
};

struct Outcome {
  int status = -1;  // the exit status, -1 when a signal ended it
  int signal = 0;
  std::string out, err;
  long peakKb = 0;
};

// Runs zubrun on `script`, on the edition the limits name, with no input
// and only the build's registration.
Outcome runZubrun(const std::string& script, const Limits& limits = {});

// A temporary folder of its own for one test.
using rt::testing::TempDir;

// Whether this build runs under AddressSanitizer, which reserves more
// address space than any cap a test could set.
constexpr bool kSanitized =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

}  // namespace zubruntest
