#pragma once

#include <fcntl.h>

#include <string>

#include "filebuffer.h"
#include "jespin/textfile.h"
#include "rt/dispatch.h"

namespace jespin {

class TextFile final : public rt::Automation<TextFile, ITextFile> {
 public:
  static const rt::MemberTable<TextFile>& members();

  bool openWrit(std::u16string_view fn) override {
    return open(fn, O_WRONLY | O_CREAT | O_TRUNC, Mode::Write);
  }
  bool openAppend(std::u16string_view fn) override {
    return open(fn, O_WRONLY | O_CREAT | O_APPEND, Mode::Write);
  }
  bool openRead(std::u16string_view fn) override { return open(fn, O_RDONLY, Mode::Read); }
  void closeFile() override;
  std::u16string line() override;
  void setLine(std::u16string_view s) override;
  bool isEOF() override;

 private:
  enum class Mode { Closed, Read, Write };

  // `flags` as for open(2).
  bool open(std::u16string_view fn, int flags, Mode mode);
  // Raises the runtime's error when no file is open, or one open in the
  // other mode.
  void require(Mode mode) const;
  // Bytes wait in the buffer, read into it when it was empty; false at the
  // end of the file.
  bool haveBytes() { return file_.size() > 0 || file_.refill() > 0; }

  FileBuffer file_;  // closed, and written out, when the object goes
  Mode mode_ = Mode::Closed;
};

}  // namespace jespin
