// The public classes of a library of the interface, under its name:
//
//   const rt::ClassEntry kClasses[] = {APPIFACE_CLASSES("Yarrick")};
//   ZUB_LIBRARY_ENTRY_POINTS(kClasses)
#pragma once

#include "application.h"
#include "appsubs.h"
#include "members.h"
#include "rt/library.h"

namespace appiface {

template <class T>
rt::Ref<rt::Object> create() {
  return rt::make<T>();
}

}  // namespace appiface

#define APPIFACE_CLASS(lib, name) \
  { lib "." #name, rt::classIdOf(lib "." #name), &appiface::create<appiface::name> }

#define APPIFACE_CLASSES(lib)                                        \
  APPIFACE_CLASS(lib, Application), APPIFACE_CLASS(lib, SvAppSubs), \
      APPIFACE_CLASS(lib, SaEnums)
