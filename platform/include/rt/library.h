// The four entry points of a library, generated from its class table:
//
//   static const rt::ClassEntry kClasses[] = {
//       {"Jespin.ErrInfo", rt::classIdOf("Jespin.ErrInfo"), &createErrInfo},
//   };
//   ZUB_LIBRARY_ENTRY_POINTS(kClasses)
//
// Everything else of a library stays hidden (the build gives each library a
// version script that exports only these four symbols).
#pragma once

#include <dlfcn.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "rt/activation.h"

#define ZUB_LIBRARY_ENTRY_POINTS(table)                                                    \
  extern "C" __attribute__((visibility("default"))) int32_t DllGetClassObject(             \
      const rt::Guid* clsid, const rt::Iid* iid, void** out) {                             \
    if (!clsid || !iid || !out) return rt::hr::Fail;                                       \
    *out = nullptr;                                                                        \
    for (const rt::ClassEntry& e : table) {                                                \
      if (e.clsid != *clsid) continue;                                                     \
      rt::Ref<rt::ClassFactory> f = rt::factoryFor(e);                                     \
      void* p = f->query(*iid);                                                            \
      if (!p) return rt::hr::NoInterface;                                                  \
      f.detach();                                                                          \
      *out = p;                                                                            \
      return rt::hr::Ok;                                                                   \
    }                                                                                      \
    return rt::hr::ClassNotAvailable;                                                      \
  }                                                                                        \
  /* Libraries stay loaded for the life of the process. */                                 \
  extern "C" __attribute__((visibility("default"))) int32_t DllCanUnloadNow() {            \
    return rt::hr::False;                                                                  \
  }                                                                                        \
  extern "C" __attribute__((visibility("default"))) int32_t DllRegisterServer() {          \
    Dl_info info{};                                                                        \
    if (!dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) || !info.dli_fname)    \
      return rt::hr::Fail;                                                                 \
    return rt::writeRegistration(info.dli_fname, table, sizeof(table) / sizeof(table[0])); \
  }                                                                                        \
  extern "C" __attribute__((visibility("default"))) int32_t DllUnregisterServer() {        \
    return rt::removeRegistration(table, sizeof(table) / sizeof(table[0]));                \
  }
