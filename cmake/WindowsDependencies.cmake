# The Windows build's dependencies, from the Debian packages of the build
# machine: the header-only JSON, logging and formatting libraries, and
# GoogleTest built from Debian's sources. The cross compiler never sees
# /usr/include itself (it holds glibc's headers): each library's own header
# folder is linked into the build tree, and only that tree is on its path.

set(GATEHOUSE_HEADER_ROOT "/usr/include" CACHE PATH "Where the header-only libraries live")
set(GATEHOUSE_GTEST_SOURCES "/usr/src/googletest" CACHE PATH "GoogleTest's sources")

set(gatehouse_headers "${CMAKE_BINARY_DIR}/third-party/include")
file(MAKE_DIRECTORY "${gatehouse_headers}")
foreach(library nlohmann spdlog fmt)
  if(NOT EXISTS "${GATEHOUSE_HEADER_ROOT}/${library}")
    message(FATAL_ERROR "${GATEHOUSE_HEADER_ROOT}/${library} is missing: run scripts/setup.sh")
  endif()
  file(CREATE_LINK "${GATEHOUSE_HEADER_ROOT}/${library}" "${gatehouse_headers}/${library}" SYMBOLIC)
endforeach()

add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE "${gatehouse_headers}")

# Header-only everywhere on Windows: each binary carries its own copy.
add_library(fmt::fmt INTERFACE IMPORTED)
target_include_directories(fmt::fmt SYSTEM INTERFACE "${gatehouse_headers}")
target_compile_definitions(fmt::fmt INTERFACE FMT_HEADER_ONLY)
add_library(spdlog::spdlog INTERFACE IMPORTED)
target_compile_definitions(spdlog::spdlog INTERFACE SPDLOG_FMT_EXTERNAL)
target_link_libraries(spdlog::spdlog INTERFACE fmt::fmt)

if(NOT EXISTS "${GATEHOUSE_GTEST_SOURCES}/CMakeLists.txt")
  message(FATAL_ERROR "${GATEHOUSE_GTEST_SOURCES} is missing: run scripts/setup.sh")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# Its own CMake files name the targets GTest::gtest and GTest::gtest_main.
add_subdirectory("${GATEHOUSE_GTEST_SOURCES}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)

# Nothing to ship beside the binaries: the C++ runtime, libgcc and the thread
# library are linked in, so every binary needs system DLLs and ours only.
add_link_options(-static)
# A DLL that exports all its symbols (the host's, the permissions library) must
# not export the runtime's: every binary has its own copy.
string(APPEND CMAKE_SHARED_LINKER_FLAGS " -Wl,--exclude-libs,ALL")

# <windows.h> without its rarely used parts: among them the old sockets header,
# which would clash with <winsock2.h> wherever a unity batch includes both.
add_compile_definitions(WIN32_LEAN_AND_MEAN)

# Libraries are named as on Windows (Gatehouse.dll, Permissions.dll).
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_SHARED_MODULE_PREFIX "")
