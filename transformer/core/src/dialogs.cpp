#include "marlox/dialogs.h"

#include "marlox/folderops.h"

namespace marlox {

namespace {

template <class Ask>
std::u16string ask(Ask ask, std::u16string_view fileName, std::u16string_view filter) {
  try {
    return ask(std::u16string(fileName), filter.empty() ? allFilesFilter() : std::u16string(filter));
  } catch (...) {
    return {};
  }
}

}  // namespace

std::u16string showOpenDialog(DialogPort& dialogs, std::u16string_view fileName, std::u16string_view filter) {
  return ask([&](const std::u16string& f, const std::u16string& p) { return dialogs.openFile(f, p); },
             fileName, filter);
}

std::u16string showSaveDialog(DialogPort& dialogs, std::u16string_view fileName, std::u16string_view filter) {
  return ask([&](const std::u16string& f, const std::u16string& p) { return dialogs.saveFile(f, p); },
             fileName, filter);
}

}  // namespace marlox
