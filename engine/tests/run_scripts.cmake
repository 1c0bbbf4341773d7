# Runs every script case of one folder through zubrun and compares its
# standard output (line ends as LF) with the .out file, its standard error
# with the .err file, and its exit status with 1 when there is a .err file
# and 0 otherwise.  Input comes from the .in file.  Each case runs in its
# folder, named by its file name.
#
# With EDITION=1 the cases run on the first edition: where it behaves
# otherwise a case has <case>.e1.out or <case>.e1.err in place of the
# .out or .err, whose first line (a "#" comment saying why the editions
# differ) is not compared, and an .e1.err with nothing after that line
# means the case does not fail there.  Of a failing case only the
# "Number:" line is compared: the sources and places of the first edition's
# failures are its own.
#
# With SCRATCH the cases run with TMPDIR set to that folder, emptied first:
# a case that makes files makes them under Environ("TMPDIR").
#
#   cmake -DZUBRUN=<zubrun> -DDIR=<folder> [-DEDITION=1] [-DSCRATCH=<folder>]
#         -P run_scripts.cmake
file(GLOB cases "${DIR}/*.zub" "${DIR}/*.bin" "${DIR}/*.zbs")
if(NOT cases)
  message(FATAL_ERROR "no script cases in ${DIR}")
endif()

# Reads the expectation `ext` of the case at `base`, for the edition asked
# for, into `var`; `found` tells whether there is one.
function(expected base ext var found)
  set(text "")
  set(have FALSE)
  if(EDITION STREQUAL "1" AND EXISTS "${base}.e1${ext}")
    file(READ "${base}.e1${ext}" text)
    if(NOT text MATCHES "^#[^\n]*\n")
      message(FATAL_ERROR "${base}.e1${ext} does not start with a comment line")
    endif()
    string(REGEX REPLACE "^#[^\n]*\n" "" text "${text}")
    if(NOT ext STREQUAL ".err" OR NOT text STREQUAL "")
      set(have TRUE)
    endif()
  elseif(EXISTS "${base}${ext}")
    file(READ "${base}${ext}" text)
    set(have TRUE)
  endif()
  set(${var} "${text}" PARENT_SCOPE)
  set(${found} ${have} PARENT_SCOPE)
endfunction()

set(edition_args "")
if(EDITION STREQUAL "1")
  set(edition_args --edition 1)
endif()

set(env_args "")
if(SCRATCH)
  file(REMOVE_RECURSE "${SCRATCH}")
  file(MAKE_DIRECTORY "${SCRATCH}")
  set(env_args "${CMAKE_COMMAND}" -E env "TMPDIR=${SCRATCH}")
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
  execute_process(COMMAND ${env_args} "${ZUBRUN}" ${edition_args} "${name}" INPUT_FILE "${input}"
                  WORKING_DIRECTORY "${DIR}"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  string(REPLACE "\r\n" "\n" out "${out}")
  expected("${base}" ".out" want_out has_out)
  expected("${base}" ".err" want_err has_err)
  set(want_status 0)
  if(has_err)
    set(want_status 1)
  endif()
  set(got_err "${err}")
  if(EDITION STREQUAL "1")
    string(REGEX MATCH "Number: [^\n]*" want_err "${want_err}")
    string(REGEX MATCH "Number: [^\n]*" got_err "${err}")
  endif()
  if(NOT out STREQUAL want_out OR NOT got_err STREQUAL want_err OR NOT status EQUAL want_status)
    message(SEND_ERROR "${stem}: status ${status} (want ${want_status})\n"
                       "--- output ---\n${out}--- wanted ---\n${want_out}"
                       "--- error ---\n${err}--- wanted ---\n${want_err}")
    math(EXPR failed "${failed} + 1")
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "${failed} script case(s) failed in ${DIR}")
endif()
