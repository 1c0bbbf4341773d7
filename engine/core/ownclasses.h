// The creatable classes of the engine library these sources are built
// into, as its class table lists them.  Each edition's library.cpp defines
// ownClasses(); the engine creates its own classes through ownClass
// without a trip through the registration store.
#pragma once

#include <span>
#include <string_view>

#include "core/libname.h"
#include "core/tables.h"
#include "rt/activation.h"
#include "rt/object.h"

namespace engine {

std::span<const rt::ClassEntry> ownClasses();

// The entry whose ProgID equals `progId` without regard to case, or null.
const rt::ClassEntry* ownClass(std::u16string_view progId);

// A new object of an engine class, the engine's tables loaded first.
template <class T>
rt::Ref<rt::Object> createOwn() {
  loadTables();
  return rt::make<T>();
}

// A new object of another library's class (a value list, a stack), by its
// class ID, as its interface I; null when it lacks I.
template <class I>
rt::Ref<I> created() {
  return rt::queryRef<I>(rt::createInstance(I::clsid).get());
}

}  // namespace engine

// A class table's entry for the engine class `name`, under this library's
// ProgID ("Kestrin.SvSingle", "Dovrel.SvSingle").
#define ENGINE_CLASS(name)                                                   \
  {                                                                          \
    ZUB_ENGINE_LIBRARY "." #name, rt::classIdOf(ZUB_ENGINE_LIBRARY "." #name), \
        &engine::createOwn<engine::name>                                     \
  }
