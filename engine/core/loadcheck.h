// What a host could never load, found when a line is compiled: a line whose
// expression trees are over their limit (16), or whose blocks nest too
// deep (28), compiles into records that fail every time they are loaded.
//
// The lines are fed, as a host and a user function's first call feed them,
// to blocks that never run, with the script's own macros (#define) expanded
// as the host expands them.  Any other failure of feeding is left to the
// host, whose macros from elsewhere (an include, an earlier run) may make it
// go away; the lines after it are fed to a new block.
//
// Feeding costs a third of a compile, so a line is fed only when a bound
// read off its tokens cannot show it within both limits: no tree holds more
// nodes than its line has tokens, and no more blocks are open while a line
// is fed than were open before it plus those its keywords may open.  The
// lines taken while blocks may be open are kept, to be fed first when a
// line must be.  A line that uses no macro is read as it is.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/defines.h"
#include "core/errors.h"
#include "core/expitems.h"
#include "jespin/values.h"

namespace engine {

class BodyGeneral;

class LoadCheck {
 public:
  LoadCheck();
  ~LoadCheck();
  LoadCheck(const LoadCheck&) = delete;
  LoadCheck& operator=(const LoadCheck&) = delete;

  // A new script: no lines, no macros.
  void start();
  // A line of the script: a statement's text and the tokens it gives, the
  // text kept in case the line must be fed later.  False, with the failure
  // in `error` and its line in `failedLine`, for one over a limit (a line
  // taken earlier only when the native stack runs short).
  bool line(std::u16string text, const ExpItems& tokens, ErrRecord& error, int32_t& failedLine);
  // A directive (its text after the "#") ends the lines a host feeds to one
  // block; a define's macro is expanded in the lines after it.
  void directive(std::u16string_view text = {});
  // The body lines of a user function, with the macros defined so far;
  // false, with the failure in `error` and its line in `failedLine`, when
  // one is over a limit.
  bool function(const ItemsColl& lines, ErrRecord& error, int32_t& failedLine) const;

 private:
  // A line taken and not fed: its tokens, or the text they come from.
  struct Unfed {
    rt::Ref<ExpItems> tokens;
    std::u16string text;
    int32_t line;
  };

  // What is fed for a line taken.
  rt::Ref<ExpItems> toFeed(const Unfed& unfed) const;
  // The line with the macros expanded; null when it uses none, or when the
  // expansion fails (the host reports that when it reads the line).
  rt::Ref<ExpItems> expanded(const ExpItems& line) const;
  bool take(const ExpItems& line, Unfed unfed, ErrRecord& error, int32_t& failedLine);
  // Whether `line` stays within both limits by the bound; if so, the bound
  // takes it in.
  bool withinBound(const ExpItems& line);
  bool feed(ExpItems& line, ErrRecord& error);
  // A new block for the lines to come.
  void restart();

  rt::Ref<jespin::IVValues> defines_;  // made at the first define
  uint64_t nameLengths_ = 0;           // bit n: a macro's name is n long (63: or longer)
  DefineLookup findMacro_;
  std::unique_ptr<BodyGeneral> block_;
  bool fed_ = false;           // block_ has taken a line
  std::vector<Unfed> unfed_;   // taken after the lines block_ has, in order
  int32_t openBound_ = 0;      // the most blocks open after the lines taken
};

}  // namespace engine
