// The class-table entries of the engine classes both editions' libraries
// create, each under its own library's ProgID (ENGINE_CLASS).  Each
// edition's library.cpp lists them after its own host, with the classes
// only it has.
#pragma once

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
#include "core/ownclasses.h"
#include "core/scriptvalues.h"
#include "core/ssbody.h"
#include "core/ssroot.h"

#define ENGINE_SHARED_CLASSES \
  ENGINE_CLASS(SsRoot),       \
  ENGINE_CLASS(SsBody),       \
  ENGINE_CLASS(SvOutput),     \
  ENGINE_CLASS(SvInput),      \
  ENGINE_CLASS(SvSingle),     \
  ENGINE_CLASS(SvGeneral),    \
  ENGINE_CLASS(SvCopy),       \
  ENGINE_CLASS(ScriptValues), \
  ENGINE_CLASS(FLGeneral),    \
  ENGINE_CLASS(IFunLibs),     \
  ENGINE_CLASS(SvMathFuns),   \
  ENGINE_CLASS(SvStatFuns),   \
  ENGINE_CLASS(SvWinComm),    \
  ENGINE_CLASS(SvStrFuns),    \
  ENGINE_CLASS(SvSysFuns),    \
  ENGINE_CLASS(SvCTypes),     \
  ENGINE_CLASS(SvDirFuns),    \
  ENGINE_CLASS(SvDateFuns),   \
  ENGINE_CLASS(SvUserFun),    \
  ENGINE_CLASS(SvFunReturn),  \
  ENGINE_CLASS(SvActiveX),    \
  ENGINE_CLASS(SvCreateObj),  \
  ENGINE_CLASS(SvNew)
