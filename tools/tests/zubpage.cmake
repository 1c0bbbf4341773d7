# zubpage on a copy of examples/pages: standard output and -o both hold
# report.out byte for byte, the page's information goes to standard error,
# search folders are used, a failing page exits 1 with its error, where it
# happened and no file changed, and a wrong command line exits 2.
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
execute_process(COMMAND "${ZUBPAGE}" fail.page WORKING_DIRECTORY "${WORK}" OUTPUT_FILE "${WORK}/stdout-fail"
                ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(1 "failing script")
expect_text("${WORK}/stdout-fail" "before\r\n" "failing script")
if(NOT err MATCHES "^fail.page:2: 除数为零 \\(11\\)\nNumber: 11\nSource: Halvorn.SPage.ExecIncFile\n.*Description: ")
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

# A page that fails changes no file: -o and a file it pushed (also one
# PopFile finished) stay byte for byte as they were, and the first line of
# the error names the page or the include and the line of its own text.
set(keep "${WORK}/keep")
file(WRITE "${keep}/inc.page" "in include\n\n<!! y = 1 / 0 !!>\n")
file(WRITE "${keep}/compile.page" "a\n<!! Function !!>\n")
file(WRITE "${keep}/runtime.page" "a\n<!! x = 1 / 0 !!>\n")
file(WRITE "${keep}/pushed.page" "a\n<!! curPage.PushFile \"pushed.txt\" !!>\nin pushed\n<!! x = 1 / 0 !!>\n")
file(WRITE "${keep}/include.page" "a\n<!--#INCLUDE file=\"inc.page\"-->\nb\n")
file(WRITE "${keep}/popped.page"
     "a\n<!! curPage.PushFile \"pushed.txt\" !!>\nnew\n<!! curPage.PopFile !!>\n<!! x = 1 / 0 !!>\n")
string(REPEAT "\"" 300 quotes)
file(WRITE "${keep}/quotes.page" "a\nb${quotes}\n")
string(REPEAT "\"\"" 1500 strings)
file(WRITE "${keep}/literal.page" "a\n\n<!! x = \"${strings}\" !!>\n")
string(REPEAT "F i = 1 To 1\n" 260 fors)
file(WRITE "${keep}/macro.page" "a\n<!!\n#define F = For\n${fors}!!>\n")
foreach(case "compile|compile.page:2: 脚本语法错误：函数定义语句格式不正确 (&H80040007)"
             "runtime|runtime.page:2: 除数为零 (11)"
             "pushed|pushed.page:4: 除数为零 (11)"
             "include|inc.page:3: 除数为零 (11)"
             "popped|popped.page:5: 除数为零 (11)"
             "quotes|quotes.page:2: 表达式太复杂：表达式超过 1024 个节点 (16)"
             "literal|literal.page:3: 表达式太复杂：表达式超过 1024 个节点 (16)"
             "macro|macro.page:260: 堆栈空间不足：语句块嵌套超过 256 层 (28)")
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 name)
  list(GET case 1 first)
  file(WRITE "${keep}/out.txt" "old output\r\nno line end")
  file(WRITE "${keep}/pushed.txt" "old pushed\n")
  file(COPY_FILE "${keep}/out.txt" "${keep}/out.want")
  file(COPY_FILE "${keep}/pushed.txt" "${keep}/pushed.want")
  execute_process(COMMAND "${ZUBPAGE}" -o out.txt ${name}.page WORKING_DIRECTORY "${keep}"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  expect_status(1 "${name}")
  string(REGEX MATCH "^[^\n]*" line "${err}")
  if(NOT line STREQUAL first)
    message(SEND_ERROR "${name}: the error starts [${line}], not [${first}]\n${err}")
  endif()
  expect_same_file("${keep}/out.txt" "${keep}/out.want" "${name}: -o")
  expect_same_file("${keep}/pushed.txt" "${keep}/pushed.want" "${name}: the pushed file")
endforeach()
foreach(name quotes literal macro)
  if(EXISTS "${keep}/${name}.page.bin")
    message(SEND_ERROR "${name}: refused at compile, yet its compiled page is left")
  endif()
endforeach()
# A pushed file that cannot be written as the run ends fails it, named; the
# output, put in place after it, stays as it was.
file(WRITE "${keep}/big.page"
     "<!! curPage.PushFile \"pushed.txt\" : For i = 1 To 2000 : OutLine \"0123456789\" : Next !!>\n")
execute_process(COMMAND sh -c "ulimit -f 8; trap '' XFSZ; exec \"$0\" -o out.txt big.page" "${ZUBPAGE}"
                WORKING_DIRECTORY "${keep}" ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(1 "a pushed file on a full disk")
if(NOT err MATCHES "^big.page: [^\n]*输出文件\\[[^]]*pushed.txt\\][^\n]*\\(61\\)\nNumber: 61\n")
  message(SEND_ERROR "a pushed file on a full disk: standard error [${err}]")
endif()
expect_same_file("${keep}/out.txt" "${keep}/out.want" "a pushed file on a full disk: -o")
expect_same_file("${keep}/pushed.txt" "${keep}/pushed.want" "a pushed file on a full disk")

# Every output of a run is on disk before the first takes its place: -o
# failing at the end, under the size limit or on a full disk, leaves a file
# PopFile finished long before as it was, and no temporary file.  The full
# disk is a small tmpfs where user namespaces are allowed.
file(WRITE "${keep}/popped-big.page" "<!! curPage.PushFile \"pushed.txt\" !!>\nnew\n"
     "<!! curPage.PopFile : For i = 1 To 20000 : OutLine \"0123456789\" : Next !!>\n")
execute_process(COMMAND sh -c "ulimit -f 8; trap '' XFSZ; exec \"$0\" -o out.txt popped-big.page" "${ZUBPAGE}"
                WORKING_DIRECTORY "${keep}" ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(1 "-o over the size limit after a PopFile")
expect_same_file("${keep}/out.txt" "${keep}/out.want" "-o over the size limit after a PopFile: -o")
expect_same_file("${keep}/pushed.txt" "${keep}/pushed.want" "-o over the size limit after a PopFile")
file(GLOB left "${keep}/.~*")
if(left)
  message(SEND_ERROR "-o over the size limit after a PopFile left [${left}]")
endif()
execute_process(COMMAND unshare -rm true RESULT_VARIABLE namespaces OUTPUT_QUIET ERROR_QUIET)
if(namespaces EQUAL 0)
  file(MAKE_DIRECTORY "${keep}/small")
  execute_process(COMMAND unshare -rm sh -c
                  "mount -t tmpfs -o size=64k none \"$1\" && cd \"$1\" && printf old > out.txt &&
                   printf old > pushed.txt && \"$0\" -o out.txt \"$2\"; echo \"status $?\"; cat out.txt pushed.txt; ls -A"
                  "${ZUBPAGE}" "${keep}/small" "${keep}/popped-big.page"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT out STREQUAL "status 1\noldoldout.txt\npushed.txt\n")
    message(SEND_ERROR "-o on a full tmpfs after a PopFile: [${out}]\n${err}")
  endif()
else()
  message(STATUS "no user namespaces: the full tmpfs is left out")
endif()

foreach(args "" "-o" "-x;a.page" "a.page;b.page")
  execute_process(COMMAND "${ZUBPAGE}" ${args} ERROR_VARIABLE err RESULT_VARIABLE status)
  expect_status(2 "usage [${args}]")
endforeach()

# Output that cannot be written fails the run, and an output file takes the
# place of the old one only when it was written whole.
file(WRITE "${WORK}/many.page" "<!! For i = 1 To 5000 !!>\nline <!!=i!!> of the page\n<!! Next !!>\n")
execute_process(COMMAND "${ZUBPAGE}" "${page}" OUTPUT_FILE /dev/full ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(1 "/dev/full")
if(NOT err MATCHES "Number: 61\n")
  message(SEND_ERROR "/dev/full: standard error [${err}]")
endif()
execute_process(COMMAND sh -c "exec \"$0\" \"$1\" >&-" "${ZUBPAGE}" "${page}" ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(1 "closed standard output")
if(NOT err MATCHES "Number: 57\n")
  message(SEND_ERROR "closed standard output: standard error [${err}]")
endif()
file(MAKE_DIRECTORY "${WORK}/full")
file(WRITE "${WORK}/full/out.txt" "old\n")
execute_process(COMMAND sh -c "ulimit -f 8; trap '' XFSZ; exec \"$0\" -o \"$1\" \"$2\"" "${ZUBPAGE}"
                        "${WORK}/full/out.txt" "${WORK}/many.page"
                ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(1 "-o on a full disk")
expect_text("${WORK}/full/out.txt" "old\n" "-o on a full disk")
file(GLOB left RELATIVE "${WORK}/full" "${WORK}/full/*")
if(NOT left STREQUAL "out.txt;out.txt.want")
  message(SEND_ERROR "-o on a full disk left [${left}]")
endif()

# A path too long for the system: no folder of it stays.
string(REPEAT "/deep_folder_name" 300 deep)
execute_process(COMMAND "${ZUBPAGE}" -o "${WORK}/long${deep}/out.txt" "${page}" OUTPUT_QUIET ERROR_VARIABLE err
                RESULT_VARIABLE status)
expect_status(1 "a path too long")
if(EXISTS "${WORK}/long")
  message(SEND_ERROR "a path too long left its folders")
endif()

# A zero character in a text is shown, not cut there.
file(WRITE "${WORK}/zero.page" "<!! curPage.Info \"a\" & Chr(0) & \"b\" !!>\n")
execute_process(COMMAND "${ZUBPAGE}" "${WORK}/zero.page" OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(0 "zero character")
if(NOT err STREQUAL "a\\0b\n")
  message(SEND_ERROR "zero character: standard error [${err}]")
endif()

# The code page as zubrun takes it: an unknown one is refused, bytes not
# valid in it are warned about once, and a compiled page made under another
# one is compiled again.
execute_process(COMMAND ${CMAKE_COMMAND} -E env ZUB_CODEPAGE=EBCDIC "${ZUBPAGE}" "${page}"
                OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(2 "unknown code page")
string(ASCII 214 208 206 196 gbk)  # 中文 in CP936, not valid UTF-8
file(WRITE "${WORK}/gbk.page" "${gbk}\n<!!= \"${gbk}\" !!>\n${gbk}\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E env ZUB_CODEPAGE=CP936 "${ZUBPAGE}" "${WORK}/gbk.page"
                OUTPUT_FILE "${WORK}/stdout-gbk" ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(0 "CP936")
if(NOT err STREQUAL "")
  message(SEND_ERROR "CP936: standard error [${err}]")
endif()
execute_process(COMMAND "${ZUBPAGE}" "${WORK}/gbk.page" OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE status)
expect_status(0 "compiled under CP936, run under UTF-8")
string(REGEX MATCHALL "warning: [^\n]*gbk.page:1: not valid in the code page UTF-8" warnings "${err}")
list(LENGTH warnings count)
if(NOT count EQUAL 1 OR NOT err MATCHES "已从脚本文件重新编译")
  message(SEND_ERROR "compiled under CP936, run under UTF-8: standard error [${err}]")
endif()
