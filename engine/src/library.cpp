// The classes of the second-edition engine and its entry points.
#include "builtins/svcopy.h"
#include "builtins/svgeneral.h"
#include "builtins/svmathfuns.h"
#include "builtins/svsingle.h"
#include "builtins/svstatfuns.h"
#include "builtins/svwincomm.h"
#include "core/funlibs.h"
#include "core/libname.h"
#include "core/ownclasses.h"
#include "core/scriptcompile.h"
#include "core/scriptvalues.h"
#include "core/tables.h"
#include "rt/library.h"
#include "rt/text.h"

namespace engine {

std::u16string_view libraryName() { return u"Kestrin"; }

}  // namespace engine

namespace {

template <class T>
rt::Ref<rt::Object> create() {
  engine::loadTables();  // before any engine object is used
  return rt::make<T>();
}

#define KESTRIN_CLASS(name) \
  { "Kestrin." #name, rt::classIdOf("Kestrin." #name), &create<engine::name> }

const rt::ClassEntry kClasses[] = {
    {"Kestrin.ScriptCompile", kestrin::IScriptCompile::clsid, &create<engine::ScriptCompile>},
    KESTRIN_CLASS(SvSingle),
    KESTRIN_CLASS(SvGeneral),
    KESTRIN_CLASS(SvCopy),
    KESTRIN_CLASS(ScriptValues),
    KESTRIN_CLASS(FLGeneral),
    KESTRIN_CLASS(IFunLibs),
    KESTRIN_CLASS(SvMathFuns),
    KESTRIN_CLASS(SvStatFuns),
    KESTRIN_CLASS(SvWinComm),
};

#undef KESTRIN_CLASS

}  // namespace

namespace engine {

std::span<const rt::ClassEntry> ownClasses() { return kClasses; }

const rt::ClassEntry* ownClass(std::u16string_view progId) {
  for (const rt::ClassEntry& e : kClasses)
    if (rt::equalsNoCase(rt::ascii(e.progId), progId)) return &e;
  return nullptr;
}

}  // namespace engine

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
