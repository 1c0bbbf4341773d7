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

// The names of the dynamic symbols a library defines.
std::set<std::string> exportedSymbols(const std::string& library) {
  std::string command = std::string(ZUB_NM) + " -D --defined-only " + shellQuoted(library);
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

}  // namespace
