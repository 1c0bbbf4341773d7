// What running script files shares on either edition's host: reading a file
// (source, or a compiled script kept in an object-stream file), the files
// running now (the one zubrun was given and those it includes), where a
// failure happened, and the error report.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "nubrel/vstream.h"
#include "report.h"
#include "rt/error.h"

namespace zubrun {

class FileRunner {
 public:
  enum Status : int { Ok = 0, ScriptFailed = 1, FileProblem = 2 };

  // Where warnings go (standard error unless told).
  void setWarnings(std::FILE* to) { warnings_ = to; }

 protected:
  // A script file as read: compiled (a stream to run), or source text.
  struct Script {
    rt::Ref<nubrel::VStream> compiled;
    std::u16string source;
  };

  FileRunner() = default;
  ~FileRunner() = default;

  // How a path names itself in reports ("-" is "<stdin>").
  static std::string nameOf(const std::string& file);

  // Reads `file` ("-" is standard input); false when it cannot be read, the
  // reason in why_.  A
  // compiled file the stream refuses raises; source that is not valid in
  // the code page is read all the same, with a warning naming its first
  // bad line.
  bool read(const std::string& file, Script& out);

  // The file an include directive of the running file names; raises 28
  // beyond 32 includes in one another.
  std::string includedFile(const std::u16string& written);
  // Reads it, once it is the running file (Entered): raises what fails, a
  // file that is no regular file among them (a pipe or a device could keep
  // the run waiting for ever).
  void readIncluded(const std::string& path, Script& out);
  // The text an included file's failures start their source with.
  static std::u16string includeSource(const std::u16string& written) {
    return u"Include " + written + u"\r\n";
  }

  // The place of a failure, kept where it is first known: the innermost
  // file and line.
  void failedAt(std::string file, int32_t line);
  // The place line, then the error report (report.h).
  std::string reportOf(const rt::RuntimeError& e) const;

  // The running file, for as long as it lives.
  class Entered {
   public:
    Entered(FileRunner& r, std::string path) : files_(r.files_) { files_.push_back(std::move(path)); }
    ~Entered() { files_.pop_back(); }
    Entered(const Entered&) = delete;
    Entered& operator=(const Entered&) = delete;

   private:
    std::vector<std::string>& files_;
  };

  const std::string& runningFile() const { return files_.back(); }

  std::vector<std::string> files_;  // the file running and those including it
  Place where_;
  std::string why_;  // why the last file could not be read

 private:
  std::FILE* warnings_ = stderr;
};

}  // namespace zubrun
