# The engine sources that both editions build into their libraries.  Each
# library adds its own library.cpp (which names the library) and the classes
# only it has.
set(ENGINE_SHARED_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/createtree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/defines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/errors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/expitem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/expitems.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/exptree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/resources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/sourcetext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/strutil.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/tokenizer.cpp
)
# Where the shared sources find each other ("core/...", "builtins/...").
set(ENGINE_INCLUDE_DIR ${CMAKE_CURRENT_LIST_DIR})
