// Statement blocks: the executor groups a script's token lines into blocks
// while they are fed in, and runs the blocks afterwards, as often as wanted.
//
// A block is fed with addCode, one line at a time, in source order (the
// caller tests error() after each line and stops feeding on an error), then
// run with execute in a scope.  execute returns an exit code: 0 to go on
// with the next statement, or the keyword of an Exit statement's target,
// which travels outward until the block of that kind absorbs it.  Blocks
// record their failures in their own error records; nothing is raised out
// of a BodyGeneral.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/errors.h"
#include "core/expitems.h"
#include "core/tokencode.h"
#include "zorbel/zorbel.h"

namespace engine {

enum ExitCode : int32_t {
  ExitNone = 0,
  ExitDo = tok::Do,
  ExitFor = tok::For,
  ExitFunction = tok::Function,
  ExitSub = tok::Sub,
};

class ExecBody {
 public:
  virtual ~ExecBody() = default;
  ExecBody(const ExecBody&) = delete;
  ExecBody& operator=(const ExecBody&) = delete;

  // Takes one token line.  A block keeps what it needs: the caller reuses
  // the list, and a block may retype its tokens in place.
  virtual void addCode(ExpItems& eis) = 0;
  virtual int32_t execute(zorbel::ScriptSpace& ss) = 0;
  // The class's name; also the owner of its error record.
  std::u16string_view classId() const { return classId_; }
  // The block has seen its own closing line and takes no more lines.
  virtual bool isOver() const = 0;
  ErrRecord& error() { return error_; }
  int32_t state() const { return 0; }

 protected:
  explicit ExecBody(std::u16string_view classId) : classId_(classId), error_(classId) {}

  std::u16string_view classId_;
  ErrRecord error_;
};

}  // namespace engine
