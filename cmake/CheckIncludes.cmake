# The boundaries between the project's folders, as their includes draw them.
#
# The plugin's folders include each other in one direction only, and never the
# simulator: plugin -> operator -> admission -> config, console -> common -> platform
# -> host (the operator's commands explain with admission and change config;
# admission reads config and prints through console; every folder may use the
# ones below it). host/standin holds what only the stand-in host needs of a
# plugin: it may use the plugin's common and platform folders as well. The
# simulator sees the plugin's sources only through host/, except its operator's
# tools, which run the plugin's own reads. A source that crosses a boundary
# fails the configure step.
#
# Run at configure time, or alone: cmake -DPROJECT_ROOT=DIR -P CheckIncludes.cmake
# (DIR holds src/ and sim/; a test runs it on a tree with a bad include).

cmake_policy(SET CMP0057 NEW)  # IN_LIST, also when run alone with -P

set(gatehouse_allowed_host host)
set(gatehouse_allowed_host_standin host common platform)
set(gatehouse_allowed_platform platform host)
set(gatehouse_allowed_common common platform host)
set(gatehouse_allowed_console console common platform host)
set(gatehouse_allowed_config config common platform host)
set(gatehouse_allowed_admission admission config console common platform host)
set(gatehouse_allowed_operator operator admission config console common platform host)
set(gatehouse_allowed_plugin plugin operator admission config console common platform host)
set(gatehouse_allowed_sim sim host)
set(gatehouse_allowed_sim_operator sim host config admission common)

# Appends to `problems` each include of a file under `dir` whose top folder is
# not in `allowed`; includes without a folder name the including file's own.
# Further arguments: folders under `dir` that are checked on their own.
function(gatehouse_check_folder project_root dir allowed)
  file(GLOB_RECURSE sources "${project_root}/${dir}/*.h" "${project_root}/${dir}/*.cpp")
  set(found "")
  foreach(source ${sources})
    set(skip FALSE)
    foreach(own_rules ${ARGN})
      string(FIND "${source}" "${project_root}/${dir}/${own_rules}/" at)
      if(at EQUAL 0)
        set(skip TRUE)
      endif()
    endforeach()
    if(skip)
      continue()
    endif()
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
      if(NOT included MATCHES "/")
        continue()
      endif()
      string(REGEX REPLACE "/.*" "" top "${included}")
      if(NOT top IN_LIST allowed)
        file(RELATIVE_PATH shown "${project_root}" "${source}")
        string(APPEND found "\n  ${shown} includes \"${included}\"")
      endif()
    endforeach()
  endforeach()
  set(problems "${problems}${found}" PARENT_SCOPE)
endfunction()

function(gatehouse_check_includes project_root)
  set(problems "")
  gatehouse_check_folder("${project_root}" src/host "${gatehouse_allowed_host}" standin)
  gatehouse_check_folder("${project_root}" src/host/standin "${gatehouse_allowed_host_standin}")
  foreach(folder platform common console config admission operator plugin)
    gatehouse_check_folder("${project_root}" "src/${folder}" "${gatehouse_allowed_${folder}}")
  endforeach()
  file(GLOB parts LIST_DIRECTORIES true RELATIVE "${project_root}/sim" "${project_root}/sim/*")
  foreach(part ${parts})
    if(NOT IS_DIRECTORY "${project_root}/sim/${part}")
      continue()
    elseif(part STREQUAL "operator")
      gatehouse_check_folder("${project_root}" "sim/${part}" "${gatehouse_allowed_sim_operator}")
    else()
      gatehouse_check_folder("${project_root}" "sim/${part}" "${gatehouse_allowed_sim}")
    endif()
  endforeach()
  if(problems)
    message(FATAL_ERROR "Sources cross their boundaries (src/ never includes sim/, a plugin "
                        "folder includes only the folders below it, and sim/ sees src/ only "
                        "through host/):${problems}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  gatehouse_check_includes("${PROJECT_ROOT}")
endif()
