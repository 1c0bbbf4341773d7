// The classes of the second-edition engine and its entry points.
#include "builtins/hostio.h"
#include "builtins/svactivex.h"
#include "builtins/svcopy.h"
#include "builtins/svcreate.h"
#include "builtins/svctypes.h"
#include "builtins/svdatefuns.h"
#include "builtins/svdirfuns.h"
#include "builtins/svgeneral.h"
#include "builtins/svmathfuns.h"
#include "builtins/svsingle.h"
#include "builtins/svfunreturn.h"
#include "builtins/svstatfuns.h"
#include "builtins/svstrfuns.h"
#include "builtins/svsysfuns.h"
#include "builtins/svuserfun.h"
#include "builtins/svwincomm.h"
#include "core/funlibs.h"
#include "core/libname.h"
#include "core/ownclasses.h"
#include "core/scriptcompile.h"
#include "core/scripthost.h"
#include "core/scriptvalues.h"
#include "core/ssbody.h"
#include "core/ssroot.h"
#include "core/subhost.h"
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

rt::Ref<rt::Object> createHost() {
  engine::loadTables();
  return engine::ScriptHost::create();
}

#define KESTRIN_CLASS(name) \
  { "Kestrin." #name, rt::classIdOf("Kestrin." #name), &create<engine::name> }

const rt::ClassEntry kClasses[] = {
    {"Kestrin.ScriptCompile", kestrin::IScriptCompile::clsid, &create<engine::ScriptCompile>},
    {"Kestrin.ScriptHost", kestrin::IScriptHost::clsid, &createHost},
    KESTRIN_CLASS(SsRoot),
    KESTRIN_CLASS(SsBody),
    KESTRIN_CLASS(SvOutput),
    KESTRIN_CLASS(SvInput),
    KESTRIN_CLASS(SvSingle),
    KESTRIN_CLASS(SvGeneral),
    KESTRIN_CLASS(SvCopy),
    KESTRIN_CLASS(ScriptValues),
    KESTRIN_CLASS(FLGeneral),
    KESTRIN_CLASS(IFunLibs),
    KESTRIN_CLASS(SvMathFuns),
    KESTRIN_CLASS(SvStatFuns),
    KESTRIN_CLASS(SvWinComm),
    KESTRIN_CLASS(SvStrFuns),
    KESTRIN_CLASS(SvSysFuns),
    KESTRIN_CLASS(SvCTypes),
    KESTRIN_CLASS(SvDirFuns),
    KESTRIN_CLASS(SvDateFuns),
    KESTRIN_CLASS(SvUserFun),
    KESTRIN_CLASS(SvFunReturn),
    KESTRIN_CLASS(SvActiveX),
    KESTRIN_CLASS(SvCreateObj),
    KESTRIN_CLASS(SvNew),
    KESTRIN_CLASS(SubHost),
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
