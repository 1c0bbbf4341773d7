#include "udlfile.h"

#include "rt/error.h"

namespace jespin {

const rt::MemberTable<UDLFile>& UDLFile::members() {
  static const auto table =
      rt::MemberTable<UDLFile>(u"UDLFile")
          .method(u"GetConnString", [](UDLFile& u, std::u16string fn) { return u.getConnString(fn); })
          .byDefault()
          .get(u"ErrString", &UDLFile::errString);
  return table;
}

std::u16string UDLFile::getConnString(std::u16string_view fn) {
  if (!reader_.open(fn)) return {};
  std::u16string result;
  bool inSection = false;
  try {
    while (!reader_.atEnd()) {
      std::u16string line = reader_.readLine();
      if (line.empty()) continue;
      if (!inSection) {
        // The header is matched as written: "[OLEDB]" is no section.
        inSection = line.starts_with(u"[oledb]");
        continue;
      }
      if (line[0] != u';') {
        result = std::move(line);
        break;
      }
    }
  } catch (const rt::RuntimeError& e) {
    // A file that cannot be read, or a line too long, is one more failure
    // that ErrString explains.
    reader_.close();
    reader_.setErrorText(e.description());
    return {};
  }
  reader_.close();
  if (result.empty()) reader_.setErrorText(u"Error File Format.");
  return result;
}

}  // namespace jespin
