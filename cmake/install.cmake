# What `cmake --install` puts under the prefix: the programs in bin/, the
# runtime library and every component in lib/, and the registration store
# lib/registry, written by the installed zubreg once everything is in place.
# The store names the libraries beside it by relative paths, so the
# installed tree works from any folder and keeps working when it is moved.
# Every command; marlox installs itself where it is built (with Qt).
install(TARGETS zubrun zubreg zubpage wistel RUNTIME DESTINATION bin)
install(TARGETS zubrt LIBRARY DESTINATION lib)

# Called at the end of the top folder, once every component is declared.
# Install rules run in the order they are declared, so this one runs last.
function(zub_install_registration)
  get_property(components GLOBAL PROPERTY ZUB_COMPONENTS)
  set(files "")
  foreach(c IN LISTS components)
    string(APPEND files " \"\${root}/lib/$<TARGET_FILE_NAME:${c}>\"")
  endforeach()
  install(CODE "
    set(root \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    file(REMOVE_RECURSE \"\${root}/lib/registry\")
    message(STATUS \"Registering the libraries into \${root}/lib/registry\")
    execute_process(COMMAND \${CMAKE_COMMAND} -E env --unset=ZUB_REGISTRY
                            \"\${root}/bin/zubreg\" -s ${files}
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR \"zubreg could not register the installed libraries\")
    endif()")
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL zub_install_registration)
