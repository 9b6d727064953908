# gatehouse_plugin_compile_options(TARGET [SCOPE]): compiles a target's sources
# as a plugin's: on ELF systems no symbol is visible outside its library, and
# none is STB_GNU_UNIQUE, which would pin the library in memory after dlclose.
# SCOPE is PUBLIC by default: what links the target compiles the same way.
function(gatehouse_plugin_compile_options target)
  set(scope PUBLIC)
  if(ARGC GREATER 1)
    set(scope ${ARGV1})
  endif()
  if(NOT WIN32)
    # Clang never makes STB_GNU_UNIQUE symbols; GCC needs to be told.
    target_compile_options(${target} ${scope} -fvisibility=hidden -fvisibility-inlines-hidden
      $<$<CXX_COMPILER_ID:GNU>:-fno-gnu-unique>)
  endif()
endfunction()

# gatehouse_plugin_library(TARGET): builds a library as the host needs a plugin:
# nothing exported, and free to leave the process when the host unloads it.
function(gatehouse_plugin_library target)
  gatehouse_plugin_compile_options(${target} PRIVATE)
  if(WIN32)
    # Without this the linker exports every symbol of a DLL that marks none.
    target_link_options(${target} PRIVATE -Wl,--exclude-all-symbols)
    return()
  endif()
  set(exports "${PROJECT_SOURCE_DIR}/src/plugin/entry/posix/exports.map")
  target_link_options(${target} PRIVATE "-Wl,--version-script=${exports}")
  set_target_properties(${target} PROPERTIES LINK_DEPENDS "${exports}")
  if(NOT GATEHOUSE_SANITIZE)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()

# gatehouse_gtest(TARGET PREFIX): the test program as one test, PREFIX "unit":
# its cases run one after another in one process. A test per case would start
# the program once per case, which costs more than most cases take (over half a
# second each under the sanitizers and under Wine); a failing case is named in
# the program's output, and --gtest_filter runs one case alone.
function(gatehouse_gtest target prefix)
  add_test(NAME ${prefix}unit COMMAND ${target})
  set_tests_properties(${prefix}unit PROPERTIES TIMEOUT 600)
endfunction()

# gatehouse_tests_need_wine(): under Wine, every test defined so far in the
# calling folder waits until the test wine.prefix has created the prefix.
function(gatehouse_tests_need_wine)
  if(NOT WIN32)
    return()
  endif()
  get_property(tests DIRECTORY PROPERTY TESTS)
  # Added to what each test requires already (the RCON client checks need
  # their packages installed first), not in its place.
  foreach(test ${tests})
    get_test_property(${test} FIXTURES_REQUIRED required)
    if(NOT required)
      set(required "")
    endif()
    list(APPEND required wine_prefix)
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED "${required}")
  endforeach()
endfunction()

# gatehouse_shape_tests(TEST...): tests of the build's shape (include
# boundaries, the package, the library's exports and imports) rather than of
# what the code does when it runs. Their label "shape" lets the sanitizer
# build's test preset leave them out: sanitizers cannot change their outcome,
# and the default build runs them.
function(gatehouse_shape_tests)
  set_tests_properties(${ARGN} PROPERTIES LABELS shape)
endfunction()
