// Every component library exports its four entry points and nothing else,
// and every program and library searches for libraries in named folders.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
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

std::string outputOf(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot run " << command;
    return {};
  }
  std::string output;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) output.append(buf, n);
  EXPECT_EQ(::pclose(pipe), 0) << command;
  return output;
}

// The names of the dynamic symbols a library defines (or, with `all`, also
// those it takes from other libraries).
std::set<std::string> exportedSymbols(const std::string& library, bool all = false) {
  const std::string output =
      outputOf(std::string(ZUB_NM) + (all ? " -D " : " -D --defined-only ") + shellQuoted(library));
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

// Every program and library finds libraries beside itself and in named
// folders only: an empty or relative entry in its search path would load a
// library (libm.so.6, say) from the folder it is started in.
TEST(Exports, SearchPathsNameNoCurrentFolder) {
  size_t checked = 0;
  for (const char* folder : {ZUB_PROGRAMS, ZUB_LIBRARIES}) {
    for (const std::filesystem::directory_entry& e : std::filesystem::directory_iterator(folder)) {
      std::ifstream in(e.path(), std::ios::binary);
      char magic[4] = {};
      if (!e.is_regular_file() || !in.read(magic, 4) || std::string(magic, 4) != "\x7f" "ELF") continue;
      ++checked;
      std::istringstream lines(outputOf(std::string(ZUB_READELF) + " -d " + shellQuoted(e.path().string())));
      for (std::string line; std::getline(lines, line);) {
        if (line.find("(RUNPATH)") == std::string::npos && line.find("(RPATH)") == std::string::npos) continue;
        const size_t open = line.find('['), close = line.rfind(']');
        std::istringstream entries(line.substr(open + 1, close - open - 1) + ":");
        for (std::string entry; std::getline(entries, entry, ':');)
          EXPECT_TRUE(entry.starts_with("/") || entry.starts_with("$ORIGIN")) << e.path() << ": " << line;
      }
    }
  }
  EXPECT_GT(checked, 10u);
}

}  // namespace
