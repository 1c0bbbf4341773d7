// Every component library exports its four entry points and nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> componentFiles() {
  std::ifstream in(ZUB_COMPONENT_LIST);
  std::vector<std::string> files;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) files.push_back(line);
  return files;
}

std::string shellQuoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// The names of the dynamic symbols a library defines (or, with `all`, also
// those it takes from other libraries).
std::set<std::string> exportedSymbols(const std::string& library, bool all = false) {
  std::string command = std::string(ZUB_NM) + (all ? " -D " : " -D --defined-only ") + shellQuoted(library);
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot run " << command;
    return {};
  }
  std::string output;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) output.append(buf, n);
  EXPECT_EQ(::pclose(pipe), 0) << command;
  std::set<std::string> names;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    size_t space = line.rfind(' ');
    names.insert(space == std::string::npos ? line : line.substr(space + 1));
  }
  return names;
}

TEST(Exports, ComponentsExportOnlyTheEntryPoints) {
  const std::set<std::string> entryPoints = {"DllCanUnloadNow", "DllGetClassObject",
                                             "DllRegisterServer", "DllUnregisterServer"};
  std::vector<std::string> files = componentFiles();
  ASSERT_FALSE(files.empty()) << "no components listed in " << ZUB_COMPONENT_LIST;
  for (const std::string& file : files) EXPECT_EQ(exportedSymbols(file), entryPoints) << file;
}

// No library uses a window toolkit: windows come through the runtime's hosts,
// so every library runs without a display.  Qt's symbols carry its version tag.
TEST(Exports, NoComponentUsesQt) {
  bool sawPacker = false;
  for (const std::string& file : componentFiles()) {
    sawPacker = sawPacker || file.find("libWistel") != std::string::npos;
    for (const std::string& name : exportedSymbols(file, true))
      EXPECT_EQ(name.find("@Qt_"), std::string::npos) << file << ": " << name;
  }
  EXPECT_TRUE(sawPacker) << "the packer is not among the components";
}

}  // namespace
