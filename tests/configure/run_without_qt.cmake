# Without Qt 6 the project configures, says what it leaves out, and nothing
# it still builds links Qt.
#
#   cmake -DSOURCE=<project> -DWORK=<folder> -DCXX=<compiler> -P run_without_qt.cmake
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND ${CMAKE_COMMAND} -S "${SOURCE}" -B "${WORK}" -G Ninja
                        "-DCMAKE_CXX_COMPILER=${CXX}" -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "configuring without Qt failed (${status})\n${out}${err}")
endif()
string(FIND "${out}" "Qt 6 (Widgets, Network, Test) not found: leaving out" at)
if(at EQUAL -1)
  message(FATAL_ERROR "configuring without Qt did not say what it leaves out\n${out}")
endif()
file(READ "${WORK}/build.ninja" rules)
string(FIND "${rules}" "Qt6" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "a target built without Qt names Qt6 in ${WORK}/build.ninja")
endif()
file(REMOVE_RECURSE "${WORK}")
