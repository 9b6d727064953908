# Running the Windows binaries of this build under Wine, headless. Every test
# uses one prefix inside the build tree; the test wine.prefix creates it once
# (the first start of Wine takes half a minute or more) before any other test
# runs, so that parallel tests never race to create it.

find_program(GATEHOUSE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(GATEHOUSE_WINE NAMES wine64 wine)
find_program(GATEHOUSE_WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(GATEHOUSE_WINESERVER NAMES wineserver)
find_program(GATEHOUSE_OBJDUMP NAMES ${GATEHOUSE_MINGW_TRIPLE}-objdump x86_64-w64-mingw32-objdump)
if(NOT GATEHOUSE_WINE OR NOT GATEHOUSE_WINESERVER)
  message(FATAL_ERROR "Wine (wine64) is missing: run scripts/setup.sh")
endif()

set(GATEHOUSE_WINE_DIR "${CMAKE_BINARY_DIR}/wine")
set(GATEHOUSE_WINE_PREFIX "${GATEHOUSE_WINE_DIR}/prefix")
configure_file("${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in" "${GATEHOUSE_WINE_DIR}/run" @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
  WORLD_EXECUTE)
# CTest runs every test program of ours through this.
set(CMAKE_CROSSCOMPILING_EMULATOR "${GATEHOUSE_WINE_DIR}/run")

# gatehouse-sim as a command that the test scripts can start like the Linux one.
set(GATEHOUSE_SIM_EXE "${CMAKE_BINARY_DIR}/bin/gatehouse-sim.exe")
configure_file("${CMAKE_CURRENT_LIST_DIR}/wine-sim.sh.in" "${GATEHOUSE_WINE_DIR}/gatehouse-sim" @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
  WORLD_EXECUTE)
set(GATEHOUSE_SIM_COMMAND "${GATEHOUSE_WINE_DIR}/gatehouse-sim")


enable_testing()
add_test(NAME wine.prefix
  COMMAND sh -c "\"$0\" wineboot --init && \"$1\" -w" "${GATEHOUSE_WINE_DIR}/run"
          "${GATEHOUSE_WINESERVER}")
set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300
  ENVIRONMENT "WINEPREFIX=${GATEHOUSE_WINE_PREFIX}")
