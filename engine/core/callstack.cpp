#include "core/callstack.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "rt/error.h"
#include "rt/stack.h"
#include "rt/text.h"

namespace engine {

namespace {

zorbel::ScriptSpace* active = nullptr;
int32_t calls = 0;

}  // namespace

ActiveSpace::ActiveSpace(zorbel::ScriptSpace* ss) : previous_(active) { active = ss; }
ActiveSpace::~ActiveSpace() { active = previous_; }
zorbel::ScriptSpace* ActiveSpace::current() { return active; }

CallDepth::CallDepth() {
  // One text for both limits: which one a deep recursion meets first
  // depends on the build.
  if (calls >= kMaxCallDepth || !rt::stack::enough())
    rt::raise(rt::err::OutOfStackSpace, u"函数调用嵌套过深（最多 " +
                                            rt::ascii(std::to_string(kMaxCallDepth)) + u" 层）");
  ++calls;
}

CallDepth::~CallDepth() { --calls; }

int32_t CallDepth::depth() { return calls; }

}  // namespace engine
