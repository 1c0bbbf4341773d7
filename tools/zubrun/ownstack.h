// Running the script on a thread with a stack of its own size, so that the
// nesting the engine allows (its stack checks stop deeper nesting with
// error 28) holds whatever stack the shell gave the program.
#pragma once

#include <cstddef>
#include <functional>

namespace zubrun {

constexpr size_t kScriptStack = size_t{64} << 20;

// Runs `work` on a new thread with a stack of `bytes` and returns its
// result; on the calling thread when no such thread can be made.
int runOnOwnStack(size_t bytes, const std::function<int()>& work);

}  // namespace zubrun
