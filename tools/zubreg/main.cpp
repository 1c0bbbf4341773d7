// zubreg: registers libraries into the registration store, as the platform's
// registration tool did, and lists or checks what the stores hold.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "rt/activation.h"
#include "rt/error.h"
#include "rt/text.h"

namespace {

constexpr const char* kUsage =
    "usage: zubreg [-u] [-s] LIBRARY...  register (-u: unregister) each library\n"
    "       zubreg --list                list every registered class\n"
    "       zubreg --check               create every registered class by ProgID\n"
    "       zubreg --help                print this usage\n"
    "\n"
    "  -s  silent: report failures only\n"
    "\n"
    "The stores are the entries of ZUB_REGISTRY (separated by \":\"), then the\n"
    "folder \"registry\" beside the runtime library; registration writes into\n"
    "the first.\n";

int usage(const char* problem) {
  std::fprintf(stderr, "zubreg: %s\n%s", problem, kUsage);
  return 2;
}

std::string resultText(int32_t r) {
  switch (r) {
    case rt::hr::CannotWrite:
      return "the registration store cannot be written";
    case rt::hr::Fail:
      return "the library's class table or path is invalid";
    default: {
      char buf[16];
      std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(r));
      return std::string("error ") + buf;
    }
  }
}

int registerAll(const std::vector<std::string>& libraries, bool unregister, bool silent) {
  std::vector<std::string> stores = rt::registryStores();
  const std::string store = stores.empty() ? std::string("(no store)") : stores.front();
  int status = 0;
  for (const std::string& library : libraries) {
    try {
      int32_t r = unregister ? rt::unregisterLibrary(library) : rt::registerLibrary(library);
      if (r == rt::hr::Ok) {
        if (!silent)
          std::printf("%s %s %s %s\n", unregister ? "unregistered" : "registered", library.c_str(),
                      unregister ? "from" : "into", store.c_str());
        continue;
      }
      std::fprintf(stderr, "zubreg: %s: %s failed: %s\n", library.c_str(),
                   unregister ? "DllUnregisterServer" : "DllRegisterServer", resultText(r).c_str());
    } catch (const std::exception& e) {
      std::fprintf(stderr, "zubreg: %s\n", e.what());
    }
    status = 1;
  }
  return status;
}

int list() {
  try {
    for (const rt::RegisteredClass& c : rt::listRegisteredClasses())
      std::printf("%s\t%s\t%s\t%s\n", c.progId.c_str(), c.clsid.toString().c_str(),
                  c.library.c_str(), c.store.c_str());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zubreg: %s\n", e.what());
    return 1;
  }
}

// Creates every registered class by its ProgID.
int check() {
  std::vector<rt::RegisteredClass> classes;
  try {
    classes = rt::listRegisteredClasses();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zubreg: %s\n", e.what());
    return 1;
  }
  int status = 0;
  for (const rt::RegisteredClass& c : classes) {
    try {
      rt::createObject(rt::fromUtf8(c.progId));
      std::printf("%s: ok\n", c.progId.c_str());
    } catch (const std::exception& e) {
      std::printf("%s: %s\n", c.progId.c_str(), e.what());
      status = 1;
    }
  }
  std::printf("%zu classes checked, %s\n", classes.size(), status ? "some failed" : "all created");
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty()) return usage("no library given");
  if (args[0] == "-h" || args[0] == "--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (args[0] == "--list" || args[0] == "--check") {
    if (args.size() != 1) return usage("--list and --check take no other arguments");
    return args[0] == "--list" ? list() : check();
  }
  bool unregister = false, silent = false, options = true;
  std::vector<std::string> libraries;
  for (std::string_view a : args) {
    if (options && a == "--")
      options = false;
    else if (options && a == "-u")
      unregister = true;
    else if (options && a == "-s")
      silent = true;
    else if (options && a.size() > 1 && a[0] == '-')
      return usage(("unknown option " + std::string(a)).c_str());
    else
      libraries.emplace_back(a);
  }
  if (libraries.empty()) return usage("no library given");
  return registerAll(libraries, unregister, silent);
}
