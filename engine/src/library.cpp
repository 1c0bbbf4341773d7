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

namespace engine {

std::u16string_view libraryName() { return u"Kestrin"; }

}  // namespace engine

namespace {

rt::Ref<rt::Object> createHost() {
  engine::loadTables();
  return engine::ScriptHost::create();
}

const rt::ClassEntry kClasses[] = {
    ENGINE_CLASS(ScriptCompile),
    {"Kestrin.ScriptHost", kestrin::IScriptHost::clsid, &createHost},
    ENGINE_CLASS(SsRoot),
    ENGINE_CLASS(SsBody),
    ENGINE_CLASS(SvOutput),
    ENGINE_CLASS(SvInput),
    ENGINE_CLASS(SvSingle),
    ENGINE_CLASS(SvGeneral),
    ENGINE_CLASS(SvCopy),
    ENGINE_CLASS(ScriptValues),
    ENGINE_CLASS(FLGeneral),
    ENGINE_CLASS(IFunLibs),
    ENGINE_CLASS(SvMathFuns),
    ENGINE_CLASS(SvStatFuns),
    ENGINE_CLASS(SvWinComm),
    ENGINE_CLASS(SvStrFuns),
    ENGINE_CLASS(SvSysFuns),
    ENGINE_CLASS(SvCTypes),
    ENGINE_CLASS(SvDirFuns),
    ENGINE_CLASS(SvDateFuns),
    ENGINE_CLASS(SvUserFun),
    ENGINE_CLASS(SvFunReturn),
    ENGINE_CLASS(SvActiveX),
    ENGINE_CLASS(SvCreateObj),
    ENGINE_CLASS(SvNew),
    ENGINE_CLASS(SubHost),
};

}  // namespace

namespace engine {

std::span<const rt::ClassEntry> ownClasses() { return kClasses; }

}  // namespace engine

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
