// The classes of the second-edition engine and its entry points.
#include "core/libname.h"
#include "core/scriptcompile.h"
#include "core/tables.h"
#include "rt/library.h"

namespace engine {

std::u16string_view libraryName() { return u"Kestrin"; }

}  // namespace engine

namespace {

template <class T>
rt::Ref<rt::Object> create() {
  engine::loadTables();  // before any engine object is used
  return rt::make<T>();
}

const rt::ClassEntry kClasses[] = {
    {"Kestrin.ScriptCompile", kestrin::IScriptCompile::clsid, &create<engine::ScriptCompile>},
};

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
