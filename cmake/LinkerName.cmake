# gatehouse_linker_name(VAR FUNCTION SOURCE_TEXT [COMPILER_ARGS...]): the name
# under which the compiler of this build refers to FUNCTION (its unqualified
# name) in the object of SOURCE_TEXT, a translation unit that declares the
# function and takes its address. So a name that code must look up by hand is
# never written down: each compiler's own name decoration gives it. Fails the
# configure step when the object refers to no such name, or to more than one.
function(gatehouse_linker_name var function source_text)
  set(work "${CMAKE_BINARY_DIR}/linker-names/${function}")
  file(MAKE_DIRECTORY "${work}")
  file(WRITE "${work}/probe.cpp" "${source_text}")
  separate_arguments(flags UNIX_COMMAND "${CMAKE_CXX_FLAGS}")
  execute_process(
    COMMAND "${CMAKE_CXX_COMPILER}" ${flags} -std=c++20 ${ARGN} -c probe.cpp -o probe.o
    WORKING_DIRECTORY "${work}" RESULT_VARIABLE failed ERROR_VARIABLE error)
  if(failed)
    message(FATAL_ERROR "Cannot compile the declaration of ${function}:\n${error}")
  endif()
  execute_process(COMMAND "${CMAKE_NM}" -u probe.o
    WORKING_DIRECTORY "${work}" RESULT_VARIABLE failed OUTPUT_VARIABLE undefined
    ERROR_VARIABLE error)
  if(failed)
    message(FATAL_ERROR "Cannot list the symbols of the declaration of ${function}:\n${error}")
  endif()
  string(REGEX MATCHALL "[^ \t\r\n]*${function}[^ \t\r\n]*" names "${undefined}")
  list(LENGTH names count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "The object of the declaration of ${function} refers to ${count} "
                        "names for it: ${names}")
  endif()
  set(${var} "${names}" PARENT_SCOPE)
endfunction()

# Alone, in a scratch folder: cmake -DCMAKE_CXX_COMPILER=CXX -DCMAKE_NM=NM
#   -DFUNCTION=NAME -DSOURCE_FILE=FILE [-DCOMPILER_ARGS=ARG;...] -P LinkerName.cmake
# prints the name that compiler gives FUNCTION in FILE.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  file(READ "${SOURCE_FILE}" text)
  gatehouse_linker_name(name "${FUNCTION}" "${text}" ${COMPILER_ARGS})
  message("${name}")
endif()
