# Installs the pinned RCON client packages into DESTINATION, once per lock file:
# a later run with the same package-lock.json finds them in place. Where the
# npm registry cannot be reached the checks that need the packages are skipped
# with a message saying so, unless GATEHOUSE_REQUIRE_RCON_CLIENTS is set in the
# environment (as CI sets it): there a failed install fails the test run.
file(MAKE_DIRECTORY "${DESTINATION}")
file(SHA256 "${SOURCE}/package-lock.json" wanted)
set(stamp "${DESTINATION}/installed.sha256")
if(EXISTS "${stamp}" AND EXISTS "${DESTINATION}/node_modules")
  file(READ "${stamp}" installed)
  if(installed STREQUAL wanted)
    message(STATUS "RCON clients already installed")
    return()
  endif()
endif()
file(COPY "${SOURCE}/package.json" "${SOURCE}/package-lock.json" DESTINATION "${DESTINATION}")
execute_process(
  COMMAND "${NPM}" ci --prefix "${DESTINATION}" --no-audit --no-fund --loglevel=error
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  if("$ENV{GATEHOUSE_REQUIRE_RCON_CLIENTS}")
    message(FATAL_ERROR "npm ci failed with status ${status}")
  endif()
  message(FATAL_ERROR "RCON client packages unavailable: npm ci failed with status "
    "${status} (is the npm registry reachable?); the third-party client checks are skipped")
endif()
file(WRITE "${stamp}" "${wanted}")
