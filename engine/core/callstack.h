// What the engine knows of the script code running now: the space the
// innermost running code works in, and how deeply user-function calls are
// nested.
//
// A user function read as a value (x = F) has no caller's space handed to
// it, so it runs with the space of the code that reads it.  Each call of a
// user function goes down the native stack by the whole evaluator and the
// blocks of its body; runaway recursion is stopped by a call limit, and by
// the check of the stack room left (rt/stack.h) that every recursion of the
// engine makes.
// Everything runs on one thread.
#pragma once

#include <cstdint>

#include "zorbel/zorbel.h"

namespace engine {

// The space code runs in for as long as it lives (hosts running a block,
// user functions running their body); the previous one comes back after.
class ActiveSpace {
 public:
  explicit ActiveSpace(zorbel::ScriptSpace* ss);
  ~ActiveSpace();
  ActiveSpace(const ActiveSpace&) = delete;
  ActiveSpace& operator=(const ActiveSpace&) = delete;

  // The innermost one, or null when no script code runs.
  static zorbel::ScriptSpace* current();

 private:
  zorbel::ScriptSpace* previous_;
};

// The most user-function calls nested in one another.
inline constexpr int32_t kMaxCallDepth = 1000;

// One user-function call for as long as it lives.  The constructor raises
// 28 (out of stack space) when the call would nest deeper than
// kMaxCallDepth or when the native stack is nearly used up.
class CallDepth {
 public:
  CallDepth();
  ~CallDepth();
  CallDepth(const CallDepth&) = delete;
  CallDepth& operator=(const CallDepth&) = delete;

  // The calls running now.
  static int32_t depth();
};

}  // namespace engine
