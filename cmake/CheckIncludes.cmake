# The plugin's folders include each other in one direction only, and never the
# simulator: plugin -> admission -> config, console -> common -> platform -> host
# (admission reads config and prints through console; every folder may use the
# ones below it). A source that
# includes "sim/..." or a folder above its own fails the configure step.
#
# Run at configure time, or alone: cmake -DSOURCE_ROOT=DIR -P CheckIncludes.cmake
# (DIR holds the folders below; a test runs it on a tree with a bad include).

cmake_policy(SET CMP0057 NEW)  # IN_LIST, also when run alone with -P

set(gatehouse_allowed_host host)
set(gatehouse_allowed_platform platform host)
set(gatehouse_allowed_common common platform host)
set(gatehouse_allowed_console console common platform host)
set(gatehouse_allowed_config config common platform host)
set(gatehouse_allowed_admission admission config console common platform host)
set(gatehouse_allowed_plugin plugin admission config console common platform host)

function(gatehouse_check_includes source_root)
  set(problems "")
  foreach(folder host platform common console config admission plugin)
    file(GLOB_RECURSE sources "${source_root}/${folder}/*.h" "${source_root}/${folder}/*.cpp")
    foreach(source ${sources})
      file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
      foreach(line ${includes})
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
        if(NOT included MATCHES "/")
          continue()  # a file of the same folder
        endif()
        string(REGEX REPLACE "/.*" "" top "${included}")
        if(NOT top IN_LIST gatehouse_allowed_${folder})
          file(RELATIVE_PATH shown "${source_root}" "${source}")
          string(APPEND problems "\n  ${shown} includes \"${included}\"")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(problems)
    message(FATAL_ERROR "The plugin's sources cross their boundaries (src/ never includes "
                        "sim/, and a folder includes only the folders below it):${problems}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  gatehouse_check_includes("${SOURCE_ROOT}")
endif()
