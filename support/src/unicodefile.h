#pragma once

#include <string>

#include "jespin/textfile.h"
#include "rt/dispatch.h"
#include "utf16reader.h"

namespace jespin {

class UnicodeFile final : public rt::Automation<UnicodeFile, IUnicodeFile> {
 public:
  static const rt::MemberTable<UnicodeFile>& members();

  // ITextFile comes through IUnicodeFile.
  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<rt::Dispatch, IUnicodeFile, ITextFile>(this, iid);
  }

  // The file is read-only: the writing members do nothing.
  bool openWrit(std::u16string_view) override { return false; }
  bool openAppend(std::u16string_view) override { return false; }
  bool openRead(std::u16string_view fn) override { return reader_.open(fn); }
  void closeFile() override { reader_.close(); }
  std::u16string line() override { return reader_.readLine(); }
  void setLine(std::u16string_view) override {}
  bool isEOF() override { return reader_.atEnd(); }

 private:
  Utf16Reader reader_;
};

}  // namespace jespin
