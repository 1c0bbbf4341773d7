// The stack check ends a recursion with error 28 while room is left, on
// whatever stack the thread has.
#include "rt/stack.h"

#include <gtest/gtest.h>

#include "rt/error.h"
#include "rt/testing.h"

namespace {

// Goes down by about a kilobyte a level, checking at each, past any stack.
int descend(int level) {
  rt::stack::check();
  if (level > (1 << 20)) return 0;
  volatile char frame[1024];
  frame[0] = static_cast<char>(level);
  return descend(level + 1) + frame[0];
}

TEST(StackCheck, StopsARecursionWithoutEndOnEveryStackSize) {
  for (size_t kb : {128, 192, 1024, 8192}) {
    SCOPED_TRACE(kb);
    int number = 0;
    ASSERT_TRUE(rt::testing::onStackOf(kb << 10, [&] {
      EXPECT_TRUE(rt::stack::enough());
      try {
        descend(0);
      } catch (const rt::RuntimeError& e) {
        number = e.number();
      }
      EXPECT_TRUE(rt::stack::enough());  // room again once it has unwound
    }));
    EXPECT_EQ(number, rt::err::OutOfStackSpace);
  }
}

}  // namespace
