// Data-link files: the connection string of a UTF-16 file with an "[oledb]"
// section, as other libraries see it.
#pragma once

#include <string>
#include <string_view>

#include "rt/activation.h"
#include "rt/object.h"

namespace jespin {

class IUDLFile : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.IUDLFile");
  static constexpr rt::Guid clsid = rt::classIdOf("Jespin.UDLFile");

  // The first line of the section that is neither empty nor a ";" comment;
  // empty text on any failure, with the reason in errString().
  virtual std::u16string getConnString(std::u16string_view fn) = 0;
  // The reason of the last failure (kept after later successes).
  virtual std::u16string errString() = 0;
};

}  // namespace jespin
