# Runs every script case of one folder through zubrun and compares its
# standard output (line ends as LF) with the .out file, its standard error
# with the .err file, and its exit status with 1 when there is a .err file
# and 0 otherwise.  Input comes from the .in file.  Each case runs in its
# folder, named by its file name.
#
#   cmake -DZUBRUN=<zubrun> -DDIR=<folder> -P run_scripts.cmake
file(GLOB cases "${DIR}/*.zub" "${DIR}/*.bin" "${DIR}/*.zbs")
if(NOT cases)
  message(FATAL_ERROR "no script cases in ${DIR}")
endif()
set(failed 0)
foreach(script IN LISTS cases)
  get_filename_component(stem "${script}" NAME_WLE)
  set(base "${DIR}/${stem}")
  set(input /dev/null)
  if(EXISTS "${base}.in")
    set(input "${base}.in")
  endif()
  # Run from the case's folder, so that reports name the file as written.
  get_filename_component(name "${script}" NAME)
  execute_process(COMMAND "${ZUBRUN}" "${name}" INPUT_FILE "${input}" WORKING_DIRECTORY "${DIR}"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  string(REPLACE "\r\n" "\n" out "${out}")
  set(want_out "")
  set(want_err "")
  set(want_status 0)
  if(EXISTS "${base}.out")
    file(READ "${base}.out" want_out)
  endif()
  if(EXISTS "${base}.err")
    file(READ "${base}.err" want_err)
    set(want_status 1)
  endif()
  if(NOT out STREQUAL want_out OR NOT err STREQUAL want_err OR NOT status EQUAL want_status)
    message(SEND_ERROR "${stem}: status ${status} (want ${want_status})\n"
                       "--- output ---\n${out}--- wanted ---\n${want_out}"
                       "--- error ---\n${err}--- wanted ---\n${want_err}")
    math(EXPR failed "${failed} + 1")
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "${failed} script case(s) failed in ${DIR}")
endif()
