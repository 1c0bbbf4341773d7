// A file a page writes: its lines in the system code page, each ended by
// CR LF.  The lines go to a new file beside the target, which takes the
// target's place only once every output of the run is written whole and on
// disk: a run that ends early or a disk that fills up leaves the old files
// as they were.  Through a symbolic link the file it names is replaced (the
// output name is the user's, as a shell's redirection is).  A device, a
// pipe or a file held open (standard output named as a file) is written
// through, as it comes.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "rt/replacefile.h"

namespace halvorn {

class OutputFile {
 public:
  // False when the file cannot be written: no such folder, a folder or a
  // read-only file of that name.
  bool open(std::u16string_view name);
  const std::u16string& name() const { return name_; }
  // Raises 61 for a full disk, the runtime's file error otherwise; a file
  // that failed once is never put in place.
  void line(std::u16string_view text);
  // Writes what is left and puts it on disk; raises as line does.
  void finish();
  // Puts finished files in place of the old ones, in order; raises, naming
  // the first that cannot be, and puts none after it.
  static void placeAll(std::span<OutputFile* const> files);

 private:
  void flush();
  [[noreturn]] void fail(int errnum);

  rt::FileReplacement replacement_;
  std::u16string name_;
  std::string buffer_;
  int failed_ = 0;  // the errno of a write that failed
};

}  // namespace halvorn
