// Activation: creating objects by ProgID or class ID.
//
// A library registers its classes into a registration store, a folder of
// small text files (see registry.cpp for the format).  Creation reads the
// stores, loads the library, asks its class factory and keeps the factory for
// the next creation.  The stores searched are the entries of ZUB_REGISTRY
// (separated by ":"; the first is where registration writes), then the store
// installed beside the runtime library ("registry" in its folder).
//
// Tests can register classes for this process only (`registerLocalClass`),
// which take precedence over the stores.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "rt/api.h"
#include "rt/object.h"

namespace rt {

// Result codes of the entry points.
namespace hr {
constexpr int32_t Ok = 0;
constexpr int32_t False = 1;
constexpr int32_t Fail = static_cast<int32_t>(0x80004005);
constexpr int32_t NoInterface = static_cast<int32_t>(0x80004002);
constexpr int32_t ClassNotAvailable = static_cast<int32_t>(0x80040111);
constexpr int32_t ClassNotRegistered = static_cast<int32_t>(0x80040154);
constexpr int32_t CannotWrite = static_cast<int32_t>(0x80040005);  // registration store not writable
}  // namespace hr

// What a library's DllGetClassObject hands out.
class ClassFactory : public virtual Object {
 public:
  static constexpr Iid iid = guidOf("rt.ClassFactory");
  virtual Ref<Object> createInstance() = 0;
};

// One creatable class of a library.
struct ClassEntry {
  const char* progId;   // "Library.Class"
  Guid clsid;
  Ref<Object> (*create)();
};

// The class ID a library gives its class: derived from the ProgID.
constexpr Guid classIdOf(std::string_view progId) { return guidOf(progId); }

// Creation.  Failures raise 429 with the reason in the description.
RT_API Ref<Object> createObject(std::u16string_view progId);
RT_API Ref<Object> createInstance(const Guid& clsid);
// The class ID registered for a ProgID (case-blind); raises 429 when none.
RT_API Guid classIdFromProgId(std::u16string_view progId);

// Process-local classes, for tests and fake automation objects.
RT_API void registerLocalClass(std::u16string_view progId, const Guid& clsid,
                               std::function<Ref<Object>()> create);
RT_API void unregisterLocalClass(std::u16string_view progId);

// The stores searched, first the one registration writes to.
RT_API std::vector<std::string> registryStores();

// Registration of a library file into the first store (as the registration
// tool does): loads it and calls its entry point.  Returns the entry point's
// result; raises 429 when the file cannot be loaded or lacks the entry point.
RT_API int32_t registerLibrary(const std::string& path);
RT_API int32_t unregisterLibrary(const std::string& path);
// Forgets the classes found in the stores so far, so the next creation of
// each reads the stores again.  Registration in this process does it itself;
// a program that knows another process changed the stores may call it.
RT_API void forgetKnownClasses();

// --- For the libraries' entry points (see library.h) --------------------

// Writes / removes the store entries of a library's classes.
RT_API int32_t writeRegistration(const std::string& libraryPath, const ClassEntry* entries,
                                 size_t count);
RT_API int32_t removeRegistration(const ClassEntry* entries, size_t count);
// A factory over an entry's create function.
RT_API Ref<ClassFactory> factoryFor(const ClassEntry& entry);

// One registered class as a store lists it.
struct RegisteredClass {
  std::string progId;
  Guid clsid;
  std::string library;
  std::string store;
};
// Every class of every store (the first store's entry wins for a ProgID);
// malformed entries raise 429 naming the file.
RT_API std::vector<RegisteredClass> listRegisteredClasses();

}  // namespace rt
