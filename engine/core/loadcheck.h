// What a host could never load, found when a line is compiled: a line whose
// expression trees are over their limit (16), or whose blocks nest too
// deep (28), compiles into records that fail every time they are loaded.
//
// The lines are fed, as a host and a user function's first call feed them,
// to blocks that never run.  Any other failure of feeding is left to the
// host, whose macros (#define) may make it go away; the lines after it are
// fed to a new block.
//
// Feeding costs a third of a compile, so a line is fed only when a bound
// read off its tokens cannot show it within both limits: no tree holds more
// nodes than its line has tokens, and no more blocks are open while a line
// is fed than were open before it plus those its keywords may open.  The
// lines taken while blocks may be open are kept, to be fed first when a
// line must be.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

  // A line of the script: a statement's text and the tokens it gives, the
  // text kept in case the line must be fed later.  False, with the failure
  // in `error` and its line in `failedLine`, for one over a limit (a line
  // taken earlier only when the native stack runs short).
  bool line(std::u16string text, const ExpItems& tokens, ErrRecord& error, int32_t& failedLine);
  // A directive ends the lines a host feeds to one block.
  void directive();
  // The body lines of a user function; false, with the failure in `error`
  // and its line in `failedLine`, when one is over a limit.
  static bool function(const ItemsColl& lines, ErrRecord& error, int32_t& failedLine);

 private:
  // A line taken and not fed: its tokens, or the text they come from.
  struct Unfed {
    rt::Ref<ExpItems> tokens;
    std::u16string text;
    int32_t line;
    rt::Ref<ExpItems> toFeed() const;
  };

  bool take(const ExpItems& line, Unfed unfed, ErrRecord& error, int32_t& failedLine);
  // Whether `line` stays within both limits by the bound; if so, the bound
  // takes it in.
  bool withinBound(const ExpItems& line);
  bool feed(ExpItems& line, ErrRecord& error);
  // A new block for the lines to come.
  void restart();

  std::unique_ptr<BodyGeneral> block_;
  bool fed_ = false;           // block_ has taken a line
  std::vector<Unfed> unfed_;   // taken after the lines block_ has, in order
  int32_t openBound_ = 0;      // the most blocks open after the lines taken
};

}  // namespace engine
