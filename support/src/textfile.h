#pragma once

#include <fcntl.h>

#include <cstdio>
#include <string>

#include "jespin/textfile.h"
#include "rt/dispatch.h"

namespace jespin {

class TextFile final : public rt::Automation<TextFile, ITextFile> {
 public:
  static const rt::MemberTable<TextFile>& members();

  TextFile() = default;
  ~TextFile() override;

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
  // The file open in `mode`, or the runtime's error for its absence.
  std::FILE* fileFor(Mode mode) const;

  std::FILE* file_ = nullptr;
  Mode mode_ = Mode::Closed;
};

}  // namespace jespin
