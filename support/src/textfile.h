#pragma once

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

  bool openWrit(std::u16string_view fn) override { return open(fn, "wbe", Mode::Write); }
  bool openAppend(std::u16string_view fn) override { return open(fn, "abe", Mode::Write); }
  bool openRead(std::u16string_view fn) override { return open(fn, "rbe", Mode::Read); }
  void closeFile() override;
  std::u16string line() override;
  void setLine(std::u16string_view s) override;
  bool isEOF() override;

 private:
  enum class Mode { Closed, Read, Write };

  bool open(std::u16string_view fn, const char* how, Mode mode);
  // The file open in `mode`, or the runtime's error for its absence.
  std::FILE* fileFor(Mode mode) const;

  std::FILE* file_ = nullptr;
  Mode mode_ = Mode::Closed;
};

}  // namespace jespin
