// The classes of the first-edition engine and its entry points: its own
// host, the shared classes under its name, and no compiler or sub-host.
#include "builtins/hostio.h"
#include "builtins/svactivex.h"
#include "builtins/svcopy.h"
#include "builtins/svcreate.h"
#include "builtins/svctypes.h"
#include "builtins/svdatefuns.h"
#include "builtins/svdirfuns.h"
#include "builtins/svfunreturn.h"
#include "builtins/svgeneral.h"
#include "builtins/svmathfuns.h"
#include "builtins/svsingle.h"
#include "builtins/svstatfuns.h"
#include "builtins/svstrfuns.h"
#include "builtins/svsysfuns.h"
#include "builtins/svuserfun.h"
#include "builtins/svwincomm.h"
#include "core/funlibs.h"
#include "core/libname.h"
#include "core/ownclasses.h"
#include "core/scriptvalues.h"
#include "core/ssbody.h"
#include "core/ssroot.h"
#include "core/tables.h"
#include "rt/library.h"
#include "rt/text.h"
#include "scripthost.h"

namespace engine {

std::u16string_view libraryName() { return u"Dovrel"; }

}  // namespace engine

namespace {

template <class T>
rt::Ref<rt::Object> create() {
  engine::loadTables();  // before any engine object is used
  return rt::make<T>();
}

rt::Ref<rt::Object> createHost() {
  engine::loadTables();
  return dovrel::ScriptHost::create();
}

#define DOVREL_CLASS(name) \
  { "Dovrel." #name, rt::classIdOf("Dovrel." #name), &create<engine::name> }

const rt::ClassEntry kClasses[] = {
    {"Dovrel.ScriptHost", dovrel::IScriptHost::clsid, &createHost},
    DOVREL_CLASS(SsBody),
    DOVREL_CLASS(SvUserFun),
    DOVREL_CLASS(SsRoot),
    DOVREL_CLASS(SvOutput),
    DOVREL_CLASS(SvInput),
    DOVREL_CLASS(SvSingle),
    DOVREL_CLASS(SvGeneral),
    DOVREL_CLASS(SvCopy),
    DOVREL_CLASS(ScriptValues),
    DOVREL_CLASS(FLGeneral),
    DOVREL_CLASS(IFunLibs),
    DOVREL_CLASS(SvMathFuns),
    DOVREL_CLASS(SvWinComm),
    DOVREL_CLASS(SvDirFuns),
    DOVREL_CLASS(SvStatFuns),
    DOVREL_CLASS(SvStrFuns),
    DOVREL_CLASS(SvDateFuns),
    DOVREL_CLASS(SvSysFuns),
    DOVREL_CLASS(SvCTypes),
    DOVREL_CLASS(SvFunReturn),
    DOVREL_CLASS(SvActiveX),
    DOVREL_CLASS(SvCreateObj),
    DOVREL_CLASS(SvNew),
};

#undef DOVREL_CLASS

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
