#pragma once

#include <string>

#include "jespin/udlfile.h"
#include "rt/dispatch.h"
#include "utf16reader.h"

namespace jespin {

class UDLFile final : public rt::Automation<UDLFile, IUDLFile> {
 public:
  static const rt::MemberTable<UDLFile>& members();

  std::u16string getConnString(std::u16string_view fn) override;
  std::u16string errString() override { return reader_.errorText(); }

 private:
  Utf16Reader reader_;
};

}  // namespace jespin
