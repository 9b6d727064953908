# `cmake --install`: the plugin library in its folder under
# ArkApi/Plugins/Gatehouse, with an example configuration beside it. The example
# becomes config.json only where there is none yet, so an installation or an
# upgrade never overwrites the operator's settings.

set(GATEHOUSE_PLUGIN_DIR "ArkApi/Plugins/Gatehouse")

install(TARGETS Gatehouse
  LIBRARY DESTINATION "${GATEHOUSE_PLUGIN_DIR}"
  RUNTIME DESTINATION "${GATEHOUSE_PLUGIN_DIR}")
install(FILES "${PROJECT_SOURCE_DIR}/examples/server/ArkApi/Plugins/Gatehouse/config.json"
  DESTINATION "${GATEHOUSE_PLUGIN_DIR}" RENAME config.example.json)
install(FILES "${PROJECT_SOURCE_DIR}/README.md" DESTINATION "${GATEHOUSE_PLUGIN_DIR}"
  RENAME README-Gatehouse.md)

# A direct install seeds config.json from the example when there is none. An
# archive holds only the example: unpacked over a server folder it cannot
# replace a config.json that is already there. A config.json that is a link is
# the operator's, also when what it points at is missing (EXISTS follows the
# link, so it is asked first).
install(CODE [[
  if(NOT CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/")
    set(dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/ArkApi/Plugins/Gatehouse")
    if(IS_SYMLINK "${dir}/config.json")
      file(READ_SYMLINK "${dir}/config.json" target)
      if(EXISTS "${dir}/config.json")
        message(STATUS "Keeping: ${dir}/config.json (a link to ${target})")
      else()
        message(STATUS "Keeping: ${dir}/config.json (a link to ${target}, which is missing)")
      endif()
    elseif(NOT EXISTS "${dir}/config.json")
      message(STATUS "Installing: ${dir}/config.json (from config.example.json)")
      file(COPY_FILE "${dir}/config.example.json" "${dir}/config.json")
    else()
      message(STATUS "Keeping: ${dir}/config.json")
    endif()
  endif()
]])

# The operator's toolkit, the archive that CPack makes: gatehouse-sim with the
# stand-in host, game and permissions libraries and the plugin library built
# for it, all in one folder, beside the example configurations and scenario
# scripts and the operator's documents. It runs from the folder it is unpacked
# in, on the operator's own machine; it is not for a server (its host library
# is our stand-in). Its files are a component of their own, left out of a
# plain `cmake --install`. The archive holds no config.json and no symbolic
# link, so an unpack never replaces the operator's file and never writes
# outside its folder.
set(toolkit COMPONENT toolkit EXCLUDE_FROM_ALL)
install(TARGETS gatehouse-sim Gatehouse gatehouse_host Permissions
  RUNTIME DESTINATION . ${toolkit}
  LIBRARY DESTINATION . ${toolkit}
  # Import libraries of the DLLs: nothing in the toolkit links against them.
  ARCHIVE DESTINATION lib COMPONENT toolkit-development EXCLUDE_FROM_ALL)
# The simulator finds the libraries it links beside itself.
set_target_properties(gatehouse-sim Gatehouse Permissions PROPERTIES INSTALL_RPATH "$ORIGIN")
install(FILES "${PROJECT_SOURCE_DIR}/examples/server/ArkApi/Plugins/Gatehouse/config.json"
  DESTINATION . RENAME config.example.json ${toolkit})
install(FILES "${PROJECT_SOURCE_DIR}/docs/toolkit.md" DESTINATION . RENAME README.md ${toolkit})
install(FILES "${PROJECT_SOURCE_DIR}/docs/operators.md" "${PROJECT_SOURCE_DIR}/docs/simulator.md"
  "${PROJECT_SOURCE_DIR}/docs/real-server.md" DESTINATION docs ${toolkit})
# The logs a run of the example server leaves in the checkout stay behind.
install(DIRECTORY "${PROJECT_SOURCE_DIR}/examples/" DESTINATION examples ${toolkit}
  REGEX "/ArkApi/Logs$" EXCLUDE)

set(CPACK_PACKAGE_NAME "Gatehouse")
set(CPACK_PACKAGE_VENDOR "Gatehouse maintainers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};toolkit;/")
# Debug information stays in the build tree; the archive ships stripped binaries.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/packages")
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_GENERATOR TGZ)
  set(CPACK_SYSTEM_NAME linux-x86_64)
endif()
set(CPACK_PACKAGE_FILE_NAME "Gatehouse-tools-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME}")
include(CPack)
