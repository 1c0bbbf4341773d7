// The page compiler of the page library, as hosts see it: page text into
// script lines, compiled by the engine's compiler into a stream.
//
// A page is text with script blocks: "<!!" opens a block, "!!>" closes it,
// a block on one line whose code starts with "=" outputs that expression,
// and a text line starting with "<!--#INCLUDE " names a page to run there.
// Text becomes OutPut and OutLine statements; code passes through.
#pragma once

#include <cstdint>
#include <string_view>

#include "jespin/errinfo.h"
#include "nubrel/vstream.h"
#include "rt/activation.h"
#include "rt/object.h"

namespace halvorn {

class IQelCompile : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Halvorn.IQelCompile");
  static constexpr rt::Guid clsid = rt::classIdOf("Halvorn.QelCompile");

  // Compiles into a new object-stream file `fn` (saved by closeStream).
  // False when it cannot be made; the stream open before stays then.
  virtual bool openOutStream(std::u16string_view fn) = 0;
  // Compiles into `vs` (a memory stream, for example).
  virtual void openMemStream(nubrel::VStream* vs) = 0;
  // Writes the end mark and lets go of the stream.  A file that cannot be
  // saved, or a definition left open, is recorded in error().
  virtual void closeStream() = 0;
  // Page lines separated by CR LF, CR or LF; stops at the first line that
  // does not compile.
  virtual void addCode(std::u16string_view s) = 0;
  // One page line.  Raises 91 before a stream is open.
  virtual void addCodeLine(std::u16string_view s) = 0;
  // The number of page lines handed in since the stream was opened; after
  // a compile error, the line that caused it.
  virtual int32_t curLineCode() = 0;
  // The engine compiler's record, where compile errors are kept.
  virtual jespin::IErrInfo& error() = 0;
};

}  // namespace halvorn
