// QelCompile: page lines translated (translate.h) and handed to the engine's
// compiler one script line at a time, each under the number of the page
// line it came from, so that compile errors name page lines.
#pragma once

#include <cstdint>
#include <string_view>

#include "halvorn/qelcompile.h"
#include "kestrin/scriptcompile.h"
#include "nubrel/filestreams.h"
#include "rt/dispatch.h"

namespace halvorn {

// Not final: g++ then inlines the release of a Ref<QelCompile> and warns,
// wrongly, of deleting through an offset pointer.
class QelCompile : public rt::Automation<QelCompile, IQelCompile> {
 public:
  static const rt::MemberTable<QelCompile>& members();

  QelCompile();

  bool openOutStream(std::u16string_view fn) override;
  // openOutStream for the compiled page, a file the system names itself: a
  // link there is replaced when the file is saved, never written through.
  bool createOutStream(std::u16string_view fn);
  void openMemStream(nubrel::VStream* vs) override;
  void closeStream() override;
  void addCode(std::u16string_view s) override;
  void addCodeLine(std::u16string_view s) override;
  int32_t curLineCode() override { return line_; }
  // The page line of the error the compiler recorded: for a function's
  // body, the line that failed rather than the closing line.
  int32_t errorLine() { return compiler_->curLineCode(); }
  jespin::IErrInfo& error() override { return compiler_->error(); }

  // Lets go of the target stream without the end mark: a file
  // openOutStream made is not saved, and the file it would have replaced
  // stays as it was.
  void discardStream();
  // False when the last closeStream could not save the file openOutStream
  // made (the record says why).
  bool saved() const { return saved_; }

 private:
  void target(rt::Ref<nubrel::VStream> vs);
  bool openFile(std::u16string_view fn, bool create);
  // Hands one script line of the current page line to the compiler.
  void compile(std::u16string_view scriptLine);

  rt::Ref<kestrin::IScriptCompile> compiler_;
  rt::Ref<nubrel::VStream> target_;
  // The target when openOutStream made it: closeStream saves it.
  rt::Ref<nubrel::IStreamFile> file_;
  bool inBlock_ = false;
  int32_t line_ = 0;
  // A page line whose script line failed hands over no more of them: the
  // next one would clear the compiler's record of the failure.
  bool lineFailed_ = false;
  bool saved_ = true;
};

}  // namespace halvorn
