// The first edition's executor contract.  The line dispatcher (BodyGeneral)
// and the block executors take a script one line at a time through
// execute(); a block executor stores the lines inside its statement and
// runs them when its closing line arrives.
//
// After each line the caller reads error() first, then isExit() and
// exitId(), then isOver().  execute never raises: its failures are in
// error().  An Exit travels outward as the keyword code of its target
// (Do, For, Function, Sub) until an executor of that kind absorbs it.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/errors.h"
#include "line.h"
#include "zorbel/zorbel.h"

namespace dovrel {

class ExecBody {
 public:
  virtual ~ExecBody() = default;
  ExecBody(const ExecBody&) = delete;
  ExecBody& operator=(const ExecBody&) = delete;

  // Takes one line in the space `ss`.
  virtual void execute(zorbel::ScriptSpace& ss, Line& line) = 0;
  // The statement has handled its closing line (or was complete on its
  // only line) and takes no more lines.
  virtual bool isOver() const = 0;
  // An Exit ended the statement without being absorbed by it.
  bool isExit() const { return exitId_ != 0; }
  int32_t exitId() const { return exitId_; }
  engine::ErrRecord& error() { return error_; }
  int32_t state() const { return 0; }

 protected:
  explicit ExecBody(std::u16string_view classId) : error_(classId) {}

  engine::ErrRecord error_;
  int32_t exitId_ = 0;
};

}  // namespace dovrel
