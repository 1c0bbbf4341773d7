#include "ownstack.h"

#include "rt/stack.h"

namespace zubrun {

int runOnOwnStack(size_t bytes, const std::function<int()>& work) {
  int result = 0;
  if (rt::stack::runOnNewStack(bytes, [&] { result = work(); })) return result;
  return work();  // too little memory for the stack: the checks still hold
}

}  // namespace zubrun
