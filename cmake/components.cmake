# A library of the system: its sources build once as an object library (which
# the unit tests link directly), and into a shared library that hides every
# symbol but the four entry points.  After each build the library registers
# itself into the store beside the runtime library, so that creation by name
# works in the build tree with no environment set; installing installs it
# (and registers it there, install.cmake).

set(ZUB_EXPORT_MAP ${CMAKE_CURRENT_LIST_DIR}/entrypoints.map)

# A library must resolve every symbol it uses when it is linked.  Not when
# clang instruments it (the fuzz build, a sanitizer build with clang): the
# hooks of clang's coverage and sanitizers are defined only by the runtimes
# linked into the program that loads the library.
if(ZUB_FUZZ OR (ZUB_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "Clang"))
  set(ZUB_NO_UNDEFINED "")
else()
  set(ZUB_NO_UNDEFINED -Wl,--no-undefined)
endif()

function(zub_component name)
  cmake_parse_arguments(C "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name}_objects OBJECT ${C_SOURCES})
  target_include_directories(${name}_objects PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include
                                             PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(${name}_objects PUBLIC zubrt ${C_LINKS})
  set_target_properties(${name}_objects PROPERTIES CXX_VISIBILITY_PRESET hidden
                                                   VISIBILITY_INLINES_HIDDEN ON)

  add_library(${name} SHARED $<TARGET_OBJECTS:${name}_objects>)
  target_link_libraries(${name} PRIVATE zubrt ${C_LINKS})
  target_link_options(${name} PRIVATE -Wl,--version-script=${ZUB_EXPORT_MAP} ${ZUB_NO_UNDEFINED})
  set_target_properties(${name} PROPERTIES LINK_DEPENDS ${ZUB_EXPORT_MAP})
  add_dependencies(${name} zubreg)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E env --unset=ZUB_REGISTRY $<TARGET_FILE:zubreg> -s $<TARGET_FILE:${name}>
    COMMENT "Registering ${name}")
  set_property(GLOBAL APPEND PROPERTY ZUB_COMPONENTS ${name})
  install(TARGETS ${name} LIBRARY DESTINATION lib)
endfunction()
