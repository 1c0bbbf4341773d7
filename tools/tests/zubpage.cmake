# zubpage on a copy of examples/pages: standard output and -o both hold
# report.out byte for byte, the page's information goes to standard error,
# search folders are used, a failing page exits 1 with its error, and a
# wrong command line exits 2.
#
#   cmake -DZUBPAGE=<zubpage> -DEXAMPLES=<examples/pages> -DWORK=<scratch folder> -P zubpage.cmake
file(REMOVE_RECURSE "${WORK}")
file(COPY "${EXAMPLES}/" DESTINATION "${WORK}/pages")
set(page "${WORK}/pages/report.page")
set(expected "${WORK}/pages/report.out")

function(expect_status want)
  if(NOT status EQUAL ${want})
    message(SEND_ERROR "${ARGN}: status ${status}, expected ${want}\n${err}")
  endif()
endfunction()

function(expect_same_file a b what)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${a}" "${b}" RESULT_VARIABLE differ)
  if(differ)
    file(READ "${a}" got HEX)
    message(SEND_ERROR "${what}: ${a} differs from ${b}\n${got}")
  endif()
endfunction()

# Output is read back from files: CMake's own reading drops the CRs.
function(expect_text file text what)
  file(WRITE "${file}.want" "${text}")
  expect_same_file("${file}" "${file}.want" "${what}")
endfunction()

# To standard output, run twice: compiled, then from the compiled page.
foreach(pass first second)
  execute_process(COMMAND "${ZUBPAGE}" "${page}" OUTPUT_FILE "${WORK}/stdout-${pass}"
                  ERROR_VARIABLE err RESULT_VARIABLE status)
  expect_status(0 "stdout ${pass}")
  expect_same_file("${WORK}/stdout-${pass}" "${expected}" "stdout ${pass}")
  if(NOT err STREQUAL "Reporting 3 items\n")
    message(SEND_ERROR "stdout ${pass}: standard error holds [${err}]")
  endif()
endforeach()
if(NOT EXISTS "${page}.bin")
  message(SEND_ERROR "no compiled page beside ${page}")
endif()

# To a file, relative to the current folder; -v adds the start and end.
execute_process(COMMAND "${ZUBPAGE}" -v -o out/report.txt pages/report.page WORKING_DIRECTORY "${WORK}"
                OUTPUT_FILE "${WORK}/stdout-o" ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(0 "-o")
expect_same_file("${WORK}/out/report.txt" "${expected}" "-o")
expect_text("${WORK}/stdout-o" "" "-o")
if(NOT err MATCHES "Reporting 3 items\n.*out/report.txt")
  message(SEND_ERROR "-o: standard error [${err}]")
endif()

# Search folders, in order.
file(WRITE "${WORK}/inc.page" "<!--#INCLUDE file=\"part.page\"-->\n")
file(WRITE "${WORK}/s2/part.page" "from s2\n")
execute_process(COMMAND "${ZUBPAGE}" -I "${WORK}/s1" -I "${WORK}/s2" "${WORK}/inc.page"
                OUTPUT_FILE "${WORK}/stdout-i" ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(0 "-I")
expect_text("${WORK}/stdout-i" "from s2\r\n" "-I")

# A page whose script fails, and one whose include is missing.
file(WRITE "${WORK}/fail.page" "before\n<!! x = 1 / 0 !!>\n")
execute_process(COMMAND "${ZUBPAGE}" "${WORK}/fail.page" OUTPUT_FILE "${WORK}/stdout-fail"
                ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(1 "failing script")
expect_text("${WORK}/stdout-fail" "before\r\n" "failing script")
if(NOT err MATCHES "^Number: 11\nSource: Halvorn.SPage.ExecIncFile\n.*Description: ")
  message(SEND_ERROR "failing script: standard error [${err}]")
endif()
execute_process(COMMAND "${ZUBPAGE}" "${WORK}/inc.page" OUTPUT_QUIET ERROR_VARIABLE err
                RESULT_VARIABLE status)
expect_status(1 "missing include")
if(NOT err MATCHES "要包含的文件\\[part.page\\]没有被发现。")
  message(SEND_ERROR "missing include: standard error [${err}]")
endif()
execute_process(COMMAND "${ZUBPAGE}" "${WORK}/none.page" ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(1 "missing page")

foreach(args "" "-o" "-x;a.page" "a.page;b.page")
  execute_process(COMMAND "${ZUBPAGE}" ${args} ERROR_VARIABLE err RESULT_VARIABLE status)
  expect_status(2 "usage [${args}]")
endforeach()
