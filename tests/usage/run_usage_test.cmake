# Every command answers --help and -h with its usage on standard output and
# status 0, and an option it does not know with its usage on standard error
# and status 2.
#
#   cmake "-DCOMMANDS=<program>|<program>..." -P run_usage_test.cmake
string(REPLACE "|" ";" commands "${COMMANDS}")
foreach(command IN LISTS commands)
  get_filename_component(name "${command}" NAME)
  foreach(args IN ITEMS --help -h "--no-such-option")
    execute_process(COMMAND "${command}" ${args}
                    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
    if(args STREQUAL "--no-such-option")
      set(want 2)
      set(usage "${err}")
      set(other "")
    else()
      set(want 0)
      set(usage "${out}")
      set(other "${err}")
    endif()
    string(FIND "${usage}" "usage: ${name}" at)
    if(NOT status EQUAL want OR at EQUAL -1 OR NOT other STREQUAL "")
      message(FATAL_ERROR "${name} ${args}: status ${status}, wanted ${want}\n"
                          "--- output ---\n${out}--- error ---\n${err}")
    endif()
  endforeach()
endforeach()
