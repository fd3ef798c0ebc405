# Import libraries that load their DLL at the first call into it instead of
# when the program starts. Loading the shell, COM, the common dialogs and the
# internet library costs a start-up far more than the launcher needs before
# its window shows; none of them is called until after.
#
# corvane_delay_load_libraries(<out-var> <name>...) makes lib<name>_delay.a
# for each of the toolchain's lib<name>.a, at configure time (the import
# libraries are the toolchain's, they do not change with the sources), and
# puts the paths in <out-var> to be linked in place of the plain names.
# The toolchain's runtime carries the helper that loads a DLL on its first
# call (__delayLoadHelper2).
#
# The common controls library loaded late is still the manifest's version 6:
# loading follows the process's default activation context (the exe's
# manifest) when no other is active, as at the program's own first calls;
# Wine honours this as documented, only real Windows proves it. Every
# library here ships with every Windows, so a failed late load (the loader
# raises a structured exception) cannot come from a missing file.
#
# Only functions can be loaded late: a library that exports data, or
# functions by ordinal alone, is refused here rather than failing at run time.
function(corvane_delay_load_libraries out)
  set(folder ${CMAKE_BINARY_DIR}/delay-load)
  file(MAKE_DIRECTORY ${folder})
  set(made)
  foreach(name IN LISTS ARGN)
    execute_process(COMMAND ${CMAKE_C_COMPILER} -print-file-name=lib${name}.a
                    OUTPUT_VARIABLE import_library OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${import_library}" OR NOT EXISTS "${import_library}")
      message(FATAL_ERROR "No import library lib${name}.a in the toolchain")
    endif()
    set(delay_library ${folder}/lib${name}_delay.a)
    list(APPEND made ${delay_library})
    if(EXISTS ${delay_library} AND NOT ${import_library} IS_NEWER_THAN ${delay_library})
      continue()
    endif()
    execute_process(COMMAND ${CMAKE_DLLTOOL} --identify ${import_library}
                    OUTPUT_VARIABLE dll OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed OR dll STREQUAL "" OR dll MATCHES "\n")
      message(FATAL_ERROR "lib${name}.a does not name exactly one DLL")
    endif()
    execute_process(COMMAND ${CMAKE_NM} ${import_library} OUTPUT_VARIABLE symbols)
    execute_process(COMMAND ${CMAKE_OBJDUMP} -h ${import_library} OUTPUT_VARIABLE sections)
    # A function's import has a call thunk (T) and a name to import it by
    # (.idata$6); data and ordinal-only imports lack one of them.
    string(REGEX MATCHALL "[0-9a-f]+ T [^\n]+" thunks "${symbols}")
    string(REGEX MATCHALL "[0-9a-f]+ I __imp_[^\n]+" imports "${symbols}")
    string(REGEX MATCHALL "\\.idata\\$6" names "${sections}")
    list(LENGTH thunks thunk_count)
    list(LENGTH imports import_count)
    list(LENGTH names name_count)
    if(NOT thunk_count EQUAL import_count OR NOT thunk_count EQUAL name_count)
      message(FATAL_ERROR "${dll} exports data or unnamed functions: it cannot be loaded late")
    endif()
    set(definition "LIBRARY \"${dll}\"\nEXPORTS\n")
    foreach(thunk IN LISTS thunks)
      string(REGEX REPLACE "^[0-9a-f]+ T " "" function "${thunk}")
      string(APPEND definition "${function}\n")
    endforeach()
    file(WRITE ${folder}/${name}.def "${definition}")
    execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${folder}/${name}.def --dllname ${dll}
                            --output-delaylib ${delay_library}
                    RESULT_VARIABLE failed ERROR_VARIABLE errors)
    if(failed)
      message(FATAL_ERROR "dlltool could not make lib${name}_delay.a: ${errors}")
    endif()
  endforeach()
  set(${out} ${made} PARENT_SCOPE)
endfunction()
