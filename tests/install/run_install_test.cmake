# Installs the build into a temporary prefix, moves the prefix, and runs a
# script that creates objects of every library with the moved zubrun from
# another folder and no environment set, then every other installed command
# on work of its own; then runs the script with a copy of the build tree's
# programs and libraries.
#
#   cmake -DBUILD=<build folder> -DWORK=<scratch folder> -DSCRIPT=<script>
#         -DWANT=<output> -P run_install_test.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/elsewhere")

# Runs an installed command in the scratch folder with no environment set;
# fails unless it exits 0 and its standard output holds `want`.
function(run_command want)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=ZUB_REGISTRY --unset=ZUB_CODEPAGE ${ARGN}
                  WORKING_DIRECTORY "${WORK}/elsewhere"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  string(FIND "${out}" "${want}" at)
  if(NOT status EQUAL 0 OR at EQUAL -1)
    message(FATAL_ERROR "${ARGN}: status ${status}\n--- output ---\n${out}--- wanted in it ---\n"
                        "${want}\n--- error ---\n${err}")
  endif()
endfunction()

function(run_script zubrun what)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=ZUB_REGISTRY --unset=ZUB_CODEPAGE
                          "${zubrun}" "${SCRIPT}"
                  WORKING_DIRECTORY "${WORK}/elsewhere"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  string(REPLACE "\r\n" "\n" out "${out}")
  if(NOT status EQUAL 0 OR NOT out STREQUAL "${WANT}")
    message(FATAL_ERROR "${what}: status ${status}\n--- output ---\n${out}--- wanted ---\n"
                        "${WANT}--- error ---\n${err}")
  endif()
endfunction()

execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${WORK}/installed"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${out}${err}")
endif()
file(RENAME "${WORK}/installed" "${WORK}/moved")
run_script("${WORK}/moved/bin/zubrun" "the installed tree, moved")

# The other commands, each on a task of its own.
set(bin "${WORK}/moved/bin")
file(WRITE "${WORK}/elsewhere/p.page" "<!!= \"page \" & (6 * 7) !!>\n")
run_command("page 42" "${bin}/zubpage" p.page)
file(WRITE "${WORK}/elsewhere/tree/a.txt" "packed")
run_command("" "${bin}/wistel" pack tree t.pack)
run_command("a.txt" "${bin}/wistel" list t.pack)
run_command("" "${bin}/wistel" unpack t.pack back)
file(READ "${WORK}/elsewhere/back/a.txt" unpacked)
if(NOT unpacked STREQUAL "packed")
  message(FATAL_ERROR "wistel unpacked \"${unpacked}\"")
endif()
run_command("all created" "${bin}/zubreg" --check)
if(EXISTS "${bin}/marlox")
  # A first start on a new program folder runs its first-run script.
  file(WRITE "${WORK}/elsewhere/first.drive" "type installed\nexpect-text installed\nanswer no\nclose\n")
  run_command("" QT_QPA_PLATFORM=offscreen "${bin}/marlox" --home home --drive first.drive)
endif()

# The build tree's own store names its libraries relative to itself too.
file(COPY "${BUILD}/bin/zubrun" DESTINATION "${WORK}/copy/bin")
file(GLOB libraries "${BUILD}/lib/*.so")
file(COPY ${libraries} "${BUILD}/lib/registry" DESTINATION "${WORK}/copy/lib")
file(GLOB_RECURSE entries "${WORK}/copy/lib/registry/*")
foreach(entry IN LISTS entries)
  file(READ "${entry}" text)
  string(FIND "${text}" "${BUILD}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${entry} names the build folder:\n${text}")
  endif()
endforeach()
run_script("${WORK}/copy/bin/zubrun" "a copy of the build tree")
file(REMOVE_RECURSE "${WORK}")
