// The classes of the first-edition engine and its entry points: its own
// host, the shared classes under its name, and no compiler or sub-host.
#include "core/engineclasses.h"
#include "core/tables.h"
#include "rt/library.h"
#include "scripthost.h"

namespace {

rt::Ref<rt::Object> createHost() {
  engine::loadTables();
  return dovrel::ScriptHost::create();
}

const rt::ClassEntry kClasses[] = {
    {"Dovrel.ScriptHost", dovrel::IScriptHost::clsid, &createHost},
    ENGINE_SHARED_CLASSES,
};

}  // namespace

namespace engine {

std::span<const rt::ClassEntry> ownClasses() { return kClasses; }

}  // namespace engine

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
