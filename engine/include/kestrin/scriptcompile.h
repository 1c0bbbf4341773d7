// The script compiler of the second-edition engine, as other libraries see
// it: script source text into a compiled-script stream.
//
// The stream is a sequence of records, each a Long kind and its body:
//   0  a directive line without its "#" (String)
//   1  one executable line as a token list
//   2  one Sub or Function definition
//  -1  the end; nothing follows
// Failures are recorded in `error()`, never raised; records written before
// a failing line stay written.
#pragma once

#include <cstdint>
#include <string_view>

#include "jespin/errinfo.h"
#include "nubrel/vstream.h"
#include "rt/activation.h"
#include "rt/object.h"

namespace kestrin {

class IScriptCompile : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Kestrin.IScriptCompile");
  static constexpr rt::Guid clsid = rt::classIdOf("Kestrin.ScriptCompile");

  // The number of the line compiled last.  Each compileLine counts one up,
  // unless a number was let in since the line before: then that number is
  // the new line's.  compile counts from 1.
  virtual int32_t curLineCode() = 0;
  virtual void setCurLineCode(int32_t line) = 0;
  virtual jespin::IErrInfo& error() = 0;

  // Compiles a whole text (lines end at CR LF, CR or LF), stops after the
  // first line with an error, and always writes the end record.
  virtual void compile(std::u16string_view s, nubrel::VStream& vs) = 0;
  // Compiles one line: comments and continuation lines ("... _") are taken
  // care of across calls, and the lines of a definition are collected until
  // it is complete.
  virtual void compileLine(std::u16string_view s, nubrel::VStream& vs) = 0;
  // Writes the end record.  A definition still open is an error (7): its
  // header line becomes curLineCode.
  virtual void compileEnd(nubrel::VStream& vs) = 0;

  // Reads a compiled-script stream to its end record as a host reads it,
  // running and binding nothing: false, with the failure in error(), for a
  // stream that is cut short, spoilt or no compiled script (321: a record
  // of no known kind, or anything after the end record).
  virtual bool checkStream(nubrel::VStream& vs) = 0;
};

}  // namespace kestrin
