# Settings shared by every Windows target: flavour, Unicode, static runtime,
# PE header versions, and Wine as the emulator for tests.
set(VORNIK_FLAVOUR "later" CACHE STRING "Build flavour: later (system 6.0) or earlier (system 5.2)")
set_property(CACHE VORNIK_FLAVOUR PROPERTY STRINGS later earlier)

if(VORNIK_FLAVOUR STREQUAL "later")
  set(VORNIK_SUBSYSTEM_VERSION 6.0)
  set(VORNIK_FLAVOUR_LATER 1)
elseif(VORNIK_FLAVOUR STREQUAL "earlier")
  set(VORNIK_SUBSYSTEM_VERSION 5.2)
  set(VORNIK_FLAVOUR_LATER 0)
else()
  message(FATAL_ERROR "VORNIK_FLAVOUR must be 'later' or 'earlier'")
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VORNIK_ARCH x64)
  set(VORNIK_MANIFEST_ARCH AMD64)
else()
  set(VORNIK_ARCH x86)
  set(VORNIK_MANIFEST_ARCH x86)
endif()

string(REPLACE "." ";" _ver "${VORNIK_SUBSYSTEM_VERSION}")
list(GET _ver 0 VORNIK_SUBSYSTEM_MAJOR)
list(GET _ver 1 VORNIK_SUBSYSTEM_MINOR)

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                        VORNIK_FLAVOUR_LATER=${VORNIK_FLAVOUR_LATER})
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -DVORNIK_FLAVOUR_LATER=${VORNIK_FLAVOUR_LATER} -c 65001")

# Every Windows binary carries the flavour's header versions and links the
# C++ runtime statically, so nothing but system DLLs is imported.
add_link_options(-static -static-libgcc -static-libstdc++
  -Wl,--major-subsystem-version,${VORNIK_SUBSYSTEM_MAJOR},--minor-subsystem-version,${VORNIK_SUBSYSTEM_MINOR}
  -Wl,--major-os-version,${VORNIK_SUBSYSTEM_MAJOR},--minor-os-version,${VORNIK_SUBSYSTEM_MINOR})

# Tests run under Wine in a project-local prefix, the x86 programs too (Wine's
# 32-bit half); scripts/test.sh falls back to the static checks where a
# machine cannot run 32-bit programs. wine-run.sh runs a program headless;
# wine-run-display.sh runs one with the X11 driver on the test bed's display.
set(VORNIK_RUN_TESTS ON)
set(VORNIK_WINEPREFIX ${CMAKE_SOURCE_DIR}/build/wineprefix CACHE PATH "Wine prefix for tests")
foreach(script wine-run.sh wine-run-display.sh)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/${script}.in ${CMAKE_BINARY_DIR}/${script}
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
                 @ONLY)
endforeach()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
set(VORNIK_DISPLAY_RUN ${CMAKE_BINARY_DIR}/wine-run-display.sh)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
