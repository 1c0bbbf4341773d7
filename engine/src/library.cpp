// The classes of the second-edition engine and its entry points.
#include "core/engineclasses.h"
#include "core/scriptcompile.h"
#include "core/scripthost.h"
#include "core/subhost.h"
#include "core/tables.h"
#include "rt/library.h"

namespace {

rt::Ref<rt::Object> createHost() {
  engine::loadTables();
  return engine::ScriptHost::create();
}

const rt::ClassEntry kClasses[] = {
    ENGINE_CLASS(ScriptCompile),
    {"Kestrin.ScriptHost", kestrin::IScriptHost::clsid, &createHost},
    ENGINE_SHARED_CLASSES,
    ENGINE_CLASS(SubHost),
};

}  // namespace

namespace engine {

std::span<const rt::ClassEntry> ownClasses() { return kClasses; }

}  // namespace engine

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
