# Runs every example script through zubrun, with no input, and expects each
# to end well and write something.
#
#   cmake -DZUBRUN=<zubrun> -DDIR=<examples folder> -P run_examples.cmake
file(GLOB examples "${DIR}/*.zub")
if(NOT examples)
  message(FATAL_ERROR "no examples in ${DIR}")
endif()
foreach(script IN LISTS examples)
  execute_process(COMMAND "${ZUBRUN}" "${script}" INPUT_FILE /dev/null
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR out STREQUAL "")
    message(SEND_ERROR "${script}: status ${status}\n${out}${err}")
  endif()
endforeach()
