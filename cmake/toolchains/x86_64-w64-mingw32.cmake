# Cross-build for Windows x86-64 with Debian's MinGW-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GATEHOUSE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GATEHOUSE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GATEHOUSE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GATEHOUSE_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${GATEHOUSE_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${GATEHOUSE_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries and headers come from the cross root only; the host's /usr/include
# (glibc) must never reach this compiler.
set(CMAKE_FIND_ROOT_PATH /usr/${GATEHOUSE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
