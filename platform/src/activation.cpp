// Creation by ProgID or class ID: the process's own classes first, then the
// registration stores.  A library once loaded stays loaded, and its class
// factories are kept: objects and factories from it must stay valid for the
// life of the process.
//
// A class found in the stores is remembered by class ID and by ProgID, so
// creating it again is a hash lookup and the factory's call, with no file
// read.  What is remembered is forgotten whenever this process registers or
// unregisters a library (the store entries it wrote may now say otherwise);
// another process's registrations are seen by classes not yet remembered.
#include "rt/activation.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <map>
#include <unordered_map>
#include <utility>

#include "registry.h"
#include "rt/error.h"
#include "rt/text.h"

namespace rt {

namespace {

using GetClassObjectFn = int32_t (*)(const Guid*, const Iid*, void**);
using ServerEntryFn = int32_t (*)();

// Every failure is a 429 naming what was asked for and why it failed.
[[noreturn]] void fail(std::u16string_view what, const std::string& reason) {
  raise(err::CannotCreateObject, std::u16string(what) + u": " + fromUtf8(reason));
}

std::string hexCode(int32_t code) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(code));
  return buf;
}

// --- Process-local classes ----------------------------------------------

struct LocalClass {
  Guid clsid;
  std::function<Ref<Object>()> create;
};

// By folded ProgID.
std::map<std::u16string, LocalClass>& localClasses() {
  static std::map<std::u16string, LocalClass> classes;
  return classes;
}

const LocalClass* localByProgId(std::u16string_view progId) {
  auto& classes = localClasses();
  auto it = classes.find(foldCase(progId));
  return it == classes.end() ? nullptr : &it->second;
}

const LocalClass* localByClassId(const Guid& clsid) {
  for (const auto& [name, c] : localClasses())
    if (c.clsid == clsid) return &c;
  return nullptr;
}

// --- Libraries and factories --------------------------------------------

std::map<std::string, void*>& loadedLibraries() {
  static std::map<std::string, void*> libraries;
  return libraries;
}

void* loadLibrary(const std::string& path, std::u16string_view what) {
  auto& libraries = loadedLibraries();
  if (auto it = libraries.find(path); it != libraries.end()) return it->second;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    fail(what, "the library " + path +
                   (errno == ENOENT ? std::string(" does not exist")
                                    : " cannot be read: " + std::string(std::strerror(errno))));
  }
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    fail(what, "the library " + path + " cannot be loaded: " + (why ? why : "unknown reason"));
  }
  libraries.emplace(path, handle);
  return handle;
}

// An entry point of the library itself: dlsym also searches the libraries
// it depends on, whose entry points must not stand in for its own.
template <class Fn>
Fn entryPoint(void* handle, const char* name, const std::string& path, std::u16string_view what) {
  void* sym = dlsym(handle, name);
  link_map* self = nullptr;
  Dl_info info{};
  if (!sym || dlinfo(handle, RTLD_DI_LINKMAP, &self) != 0 || !dladdr(sym, &info) || !self ||
      !info.dli_fname || std::strcmp(info.dli_fname, self->l_name) != 0)
    fail(what, "the library " + path + " has no entry point " + name);
  return reinterpret_cast<Fn>(sym);
}

std::map<std::pair<std::string, Guid>, Ref<ClassFactory>>& factories() {
  static std::map<std::pair<std::string, Guid>, Ref<ClassFactory>> cache;
  return cache;
}

Ref<ClassFactory> classFactory(const registry::Entry& e, std::u16string_view what) {
  auto key = std::make_pair(e.library, e.clsid);
  auto& cache = factories();
  if (auto it = cache.find(key); it != cache.end()) return it->second;

  void* handle = loadLibrary(e.library, what);
  auto getClassObject = entryPoint<GetClassObjectFn>(handle, "DllGetClassObject", e.library, what);
  const std::string cls = e.clsid.toString();
  void* out = nullptr;
  int32_t result;
  try {
    result = getClassObject(&e.clsid, &ClassFactory::iid, &out);
  } catch (const std::exception& x) {
    fail(what, "DllGetClassObject of " + e.library + " failed: " + x.what());
  }
  if (result == hr::ClassNotAvailable)
    fail(what,
         "the library " + e.library + " has no class " + cls + " (registered in " + e.file + ")");
  if (result != hr::Ok || !out)
    fail(what, "the library " + e.library + " gave no class factory for " + cls + " (" +
                   hexCode(result) + ")");
  Ref<ClassFactory> factory = Ref<ClassFactory>::adopt(static_cast<ClassFactory*>(out));
  cache.emplace(key, factory);
  return factory;
}

// --- Classes already found in the stores --------------------------------

struct GuidHash {
  size_t operator()(const Guid& g) const noexcept { return static_cast<size_t>(g.hi ^ g.lo); }
};

struct KnownClass {
  Guid clsid;
  Ref<ClassFactory> factory;
};

struct KnownClasses {
  std::unordered_map<Guid, Ref<ClassFactory>, GuidHash> byClassId;
  std::unordered_map<std::u16string, KnownClass> byProgId;  // folded
  // ZUB_REGISTRY as it was when they were found: other stores may name
  // other classes.
  std::optional<std::string> stores;
};

KnownClasses& knownClasses() {
  static KnownClasses known;
  const char* env = std::getenv("ZUB_REGISTRY");
  if (env ? !known.stores || *known.stores != env : known.stores.has_value()) {
    known.byClassId.clear();
    known.byProgId.clear();
    known.stores = env ? std::optional<std::string>(env) : std::nullopt;
  }
  return known;
}

// What a creation asked for: a ProgID, or else a class ID.  Its text is
// made only for a failure's description.
struct Asked {
  std::u16string_view progId;
  Guid clsid;
  std::u16string text() const {
    return progId.empty() ? ascii(clsid.toString()) : std::u16string(progId);
  }
};

// Runs a class's creation; whatever goes wrong in it becomes a 429.
template <class Create>
Ref<Object> instantiate(const Asked& asked, Create&& create) {
  Ref<Object> o;
  try {
    o = create();
  } catch (const RuntimeError& x) {
    fail(asked.text(), "the class factory failed: " + toUtf8(x.description()));
  } catch (const std::exception& x) {
    fail(asked.text(), std::string("the class factory failed: ") + x.what());
  }
  if (!o) fail(asked.text(), "the class factory returned no object");
  return o;
}

Ref<Object> createWith(const Ref<ClassFactory>& factory, const Asked& asked) {
  return instantiate(asked, [&] { return factory->createInstance(); });
}

// The factory of a store entry, remembered under its class ID (and under
// `progId` when the entry was found by one).
Ref<ClassFactory> knownFactory(const registry::Entry& e, std::u16string_view what,
                               std::u16string_view progId = {}) {
  Ref<ClassFactory> factory = classFactory(e, what);
  KnownClasses& known = knownClasses();
  known.byClassId[e.clsid] = factory;
  if (!progId.empty()) known.byProgId[foldCase(progId)] = KnownClass{e.clsid, factory};
  return factory;
}

[[noreturn]] void notRegistered(std::u16string_view what, std::string_view kind,
                                const std::string& searched) {
  fail(what, "no class is registered under this " + std::string(kind) +
                 " (stores searched: " + (searched.empty() ? std::string("none") : searched) + ")");
}

int32_t callServerEntry(const std::string& path, const char* name) {
  std::u16string what = fromUtf8(path);
  std::string file = registry::absolutePath(path);
  if (file.empty()) fail(what, "not a library path");
  return entryPoint<ServerEntryFn>(loadLibrary(file, what), name, file, what)();
}

class EntryFactory final : public ClassFactory {
 public:
  explicit EntryFactory(Ref<Object> (*create)()) : create_(create) {}
  void* query(const Iid& iid) noexcept override { return queryAmong<ClassFactory>(this, iid); }
  Ref<Object> createInstance() override { return create_ ? create_() : Ref<Object>(); }

 private:
  Ref<Object> (*create_)();
};

}  // namespace

Ref<Object> createObject(std::u16string_view progId) {
  const Asked asked{progId, {}};
  if (const LocalClass* c = localByProgId(progId)) return instantiate(asked, c->create);
  const auto& known = knownClasses().byProgId;
  if (auto it = known.find(foldCase(progId)); it != known.end())
    return createWith(it->second.factory, asked);
  std::string searched;
  std::optional<registry::Entry> e = registry::findByProgId(progId, searched);
  if (!e) notRegistered(progId, "ProgID", searched);
  return createWith(knownFactory(*e, progId, progId), asked);
}

Ref<Object> createInstance(const Guid& clsid) {
  const Asked asked{{}, clsid};
  if (const LocalClass* c = localByClassId(clsid)) return instantiate(asked, c->create);
  const auto& known = knownClasses().byClassId;
  if (auto it = known.find(clsid); it != known.end()) return createWith(it->second, asked);
  std::u16string what = asked.text();
  std::string searched;
  std::optional<registry::Entry> e = registry::findByClassId(clsid, searched);
  if (!e) notRegistered(what, "class ID", searched);
  return createWith(knownFactory(*e, what), asked);
}

Guid classIdFromProgId(std::u16string_view progId) {
  if (const LocalClass* c = localByProgId(progId)) return c->clsid;
  const auto& known = knownClasses().byProgId;
  if (auto it = known.find(foldCase(progId)); it != known.end()) return it->second.clsid;
  std::string searched;
  std::optional<registry::Entry> e = registry::findByProgId(progId, searched);
  if (!e) notRegistered(progId, "ProgID", searched);
  return e->clsid;
}

void registerLocalClass(std::u16string_view progId, const Guid& clsid,
                        std::function<Ref<Object>()> create) {
  localClasses()[foldCase(progId)] = LocalClass{clsid, std::move(create)};
}

void unregisterLocalClass(std::u16string_view progId) { localClasses().erase(foldCase(progId)); }

int32_t registerLibrary(const std::string& path) {
  return callServerEntry(path, "DllRegisterServer");
}

int32_t unregisterLibrary(const std::string& path) {
  return callServerEntry(path, "DllUnregisterServer");
}

void forgetKnownClasses() {
  KnownClasses& known = knownClasses();
  known.byClassId.clear();
  known.byProgId.clear();
}

Ref<ClassFactory> factoryFor(const ClassEntry& entry) { return make<EntryFactory>(entry.create); }

}  // namespace rt
