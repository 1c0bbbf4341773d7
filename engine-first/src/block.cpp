#include "block.h"

#include <new>

#include "bodygeneral.h"
#include "core/steps.h"
#include "rt/stack.h"
#include "rt/uihost.h"
#include "runend.h"

namespace dovrel {

void Block::execute(zorbel::ScriptSpace& ss, Line& line) {
  error_.clear();
  try {
    if (!started_) {
      opened(line);
      firstLine(ss, line);
      started_ = true;
    } else if (!line.empty()) {
      nextLine(ss, line);
    }
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"ExecBody_Execute");
  } catch (const std::bad_alloc&) {
    error_.trapOutOfMemory(u"ExecBody_Execute");
  }
}

bool Block::closes(const Line& line) {
  if (line.first() == kind_.closer) {
    if (nesting_ == 0) {
      over_ = true;
      return true;
    }
    --nesting_;
  } else if (kind_.opens(line)) {
    ++nesting_;
  }
  return false;
}

bool Block::runBody(zorbel::ScriptSpace& ss, const Lines& lines) {
  engine::steps::take();  // every pass of a loop, an empty one too
  rt::stack::check();     // replays nest in the blocks that hold them
  BodyGeneral body(depth_);
  for (const rt::Ref<Line>& line : lines) {
    body.execute(ss, *line);
    if (body.error().haveErr()) body.error().raise();
    if (body.isExit()) {
      exitId_ = body.exitId();
      return false;
    }
  }
  body.requireClosed();
  return true;
}

bool yieldToHost() {
  if (runEnded()) return false;  // ended while a loop inside this one yielded
  rt::uiHost().yield();
  return !runEnded();
}

}  // namespace dovrel
