// What a host could never load, found when a line is compiled: a line whose
// expression trees are over their limit (16), or whose blocks nest too
// deep (28), compiles into records that fail every time they are loaded.
//
// The lines are fed, as a host and a user function's first call feed them,
// to blocks that never run.  Any other failure of feeding is left to the
// host, whose macros (#define) may make it go away; the lines after it are
// fed to a new block.
#pragma once

#include <cstdint>
#include <memory>

#include "core/errors.h"
#include "core/expitems.h"

namespace engine {

class BodyGeneral;

class LoadCheck {
 public:
  LoadCheck();
  ~LoadCheck();
  LoadCheck(const LoadCheck&) = delete;
  LoadCheck& operator=(const LoadCheck&) = delete;

  // Feeds a copy of a line of the script; false, with the failure in
  // `error`, for one over a limit.
  bool line(const ExpItems& line, ErrRecord& error);
  // A directive ends the lines a host feeds to one block.
  void directive();
  // The body lines of a user function; false, with the failure in `error`
  // and its line in `failedLine`, when one is over a limit.
  static bool function(const ItemsColl& lines, ErrRecord& error, int32_t& failedLine);

 private:
  std::unique_ptr<BodyGeneral> block_;
};

}  // namespace engine
