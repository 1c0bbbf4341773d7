// A script's own Sub or Function: its definition as the compiler collects it
// line by line and stores it in the compiled stream.
//
// The compiler hands over the header line and then every body line; the
// closing line (End Sub or End Function, either one) completes the
// definition.  The stored form is the name, the parameter names and the body
// lines as token lists; nothing records whether it was a Sub or a Function.
// Running a definition belongs with the function's call, in its own source.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/defines.h"
#include "core/errors.h"
#include "core/expitems.h"
#include "nubrel/vstream.h"
#include "rt/object.h"

namespace engine {

class SvUserFun : public rt::Object {
 public:
  // What addLine reports.
  enum AddResult : int32_t { AddFailed = 0, LineTaken = 1, DefinitionComplete = 2 };

  SvUserFun() : error_(u"SvUserFun") {}

  // The first call parses the header ("Sub name(a, b)"; the first token is
  // not looked at); later calls store body lines (copies) until a closing
  // line.  AddFailed leaves the error (7 for a malformed header) recorded.
  int32_t addLine(const ExpItems& line);

  // The stored form.
  void writeStream(nubrel::VStream& vs) const;
  // Reads the stored form, expanding in each body line the macros that
  // `defines` knows now (none when it is empty).  A runaway expansion
  // raises its error.
  void readStream(nubrel::VStream& vs, const DefineLookup& defines = {});

  const std::u16string& name() const { return name_; }
  const std::vector<std::u16string>& params() const { return params_; }
  ItemsColl& lines() { return lines_; }
  ErrRecord& error() { return error_; }

 private:
  void firstLine(const ExpItems& line);
  void addParam(std::u16string name);

  std::u16string name_;
  std::vector<std::u16string> params_;
  ItemsColl lines_;
  bool headerDone_ = false;
  ErrRecord error_;
};

}  // namespace engine
