# The engine sources that both editions build into their libraries: the
# front end (tokens, trees, the compiler's comment stripper and the source
# helpers), the evaluator, the script spaces, the function libraries and
# every built-in value, the directives, the root names and the frame of a
# user function's call.  Each library adds its own library.cpp (its class
# table), the statement executors and hosts of its edition, and the
# body of a user function as it runs it (builtins/funbody.h), and how its
# body spaces rebind a name (SsBody::setValue, core/ssbody.h).  Each library
# compiles them with ZUB_ENGINE_LIBRARY set to its name (core/libname.h).
set(ENGINE_SHARED_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/bindings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/blockdepth.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/blockheaders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/callstack.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/condition.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/createtree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/defines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/directives.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/errors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/evalcore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/evalitems.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/evallist.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/evalsupport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/evaluate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/expitem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/expitems.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/exptree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/funlibs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/hostevents.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/operation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/ownclasses.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/place.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/quickeval.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/resources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/retype.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/rootnames.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/scriptvalues.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/sourcetext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/space.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/ssbody.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/ssroot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/steps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/strutil.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/textjoin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/tokenrun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/tokenizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/datecalc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/fileops.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/libfun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/random.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/strconv.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svactivex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svcopy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svcreate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svctypes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svdatefuns.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svdirfuns.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svfunreturn.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svgeneral.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svinput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svmathfuns.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svoutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svsingle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svstatfuns.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svstrfuns.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svsysfuns.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svuserfun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/svwincomm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/textfun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/textsearch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/userfuncall.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins/valtext.cpp
)
# Where the shared sources find each other ("core/...", "builtins/..."), and
# the public headers both editions' interfaces use (kestrin/values.h,
# engine/hostevents.h).
set(ENGINE_INCLUDE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ENGINE_PUBLIC_INCLUDE_DIR ${CMAKE_CURRENT_LIST_DIR}/include)
