# The installable driver package of this build's flavour, in one folder per
# flavour shared by the x64 and the x86 preset:
#   <root>/vornik-<version>-<flavour>/        the INF, the plug-in's .ini, the PPD
#   <root>/vornik-<version>-<flavour>/amd64/  the x64 vornik.dll
#   <root>/vornik-<version>-<flavour>/x86/    the x86 vornik.dll
# Each preset writes the generated files (the same in both architectures) and
# its own architecture's DLL.

# What a vendor changes for their own printer: the PPD (the model name, the
# maker and the package's file names come from it), the hardware id and the
# texts. DriverVer takes the project version and this date of its release.
set(VORNIK_PACKAGE_PPD_SOURCE ${CMAKE_SOURCE_DIR}/samples/corvane-cv5400.ppd)
set(VORNIK_HARDWARE_ID CorvaneCV5400)
set(VORNIK_PROVIDER "Corvane")
set(VORNIK_DISK_NAME "Corvane CV5400 driver package")
set(VORNIK_DRIVER_DATE 12/10/2026)

set(VORNIK_PACKAGE_ROOT ${CMAKE_SOURCE_DIR}/build/package
    CACHE PATH "Where the driver packages are built")
set(VORNIK_PACKAGE_DIR ${VORNIK_PACKAGE_ROOT}/vornik-${PROJECT_VERSION}-${VORNIK_FLAVOUR})
if(VORNIK_ARCH STREQUAL "x64")
  set(VORNIK_PACKAGE_ARCH amd64)
else()
  set(VORNIK_PACKAGE_ARCH x86)
endif()

# The PPD's own statement of a keyword's quoted value.
function(vornik_ppd_value keyword out)
  file(STRINGS ${VORNIK_PACKAGE_PPD_SOURCE} line REGEX "^\\*${keyword}:" LIMIT_COUNT 1)
  if(NOT line MATCHES "^\\*${keyword}:[ \t]*\"([^\"]+)\"")
    message(FATAL_ERROR "${VORNIK_PACKAGE_PPD_SOURCE}: no *${keyword}: \"...\" line")
  endif()
  set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()
vornik_ppd_value(ModelName VORNIK_MODEL_NAME)
vornik_ppd_value(Manufacturer VORNIK_MAKER_NAME)
vornik_ppd_value(PCFileName pc_file_name)

# The package's files are named after the PPD's PC file name.
string(TOLOWER "${pc_file_name}" pc_file_name)
get_filename_component(VORNIK_PACKAGE_STEM ${pc_file_name} NAME_WE)
set(VORNIK_PACKAGE_PPD ${VORNIK_PACKAGE_STEM}.ppd)
set(VORNIK_PACKAGE_INI ${VORNIK_PACKAGE_STEM}.ini)
set(VORNIK_PACKAGE_INF ${VORNIK_PACKAGE_STEM}.inf)
string(TOUPPER ${VORNIK_PACKAGE_STEM} VORNIK_INSTALL_SECTION)
get_target_property(plugin_name vornik OUTPUT_NAME)
set(VORNIK_PLUGIN_FILE ${plugin_name}${CMAKE_SHARED_LIBRARY_SUFFIX})

# The later flavour is offered from its own system version on, the earlier
# one to every system.
if(VORNIK_FLAVOUR_LATER)
  set(VORNIK_SYSTEM_DECORATION ".${VORNIK_SUBSYSTEM_MAJOR}.${VORNIK_SUBSYSTEM_MINOR}")
else()
  set(VORNIK_SYSTEM_DECORATION "")
endif()

# The generated files are staged in the build folder and, like the DLL, put
# into the package at build time, so that a build restores a removed package.
set(template_dir ${CMAKE_SOURCE_DIR}/package)
set(staged_dir ${CMAKE_BINARY_DIR}/package-files)
configure_file(${template_dir}/driver.inf.in ${staged_dir}/${VORNIK_PACKAGE_INF}
               @ONLY NEWLINE_STYLE WIN32)
configure_file(${template_dir}/plugin.ini.in ${staged_dir}/${VORNIK_PACKAGE_INI}
               @ONLY NEWLINE_STYLE WIN32)
configure_file(${VORNIK_PACKAGE_PPD_SOURCE} ${staged_dir}/${VORNIK_PACKAGE_PPD} COPYONLY)

set(staged_files)
set(packaged_files)
foreach(file ${VORNIK_PACKAGE_INF} ${VORNIK_PACKAGE_INI} ${VORNIK_PACKAGE_PPD})
  list(APPEND staged_files ${staged_dir}/${file})
  list(APPEND packaged_files ${VORNIK_PACKAGE_DIR}/${file})
endforeach()
set(packaged_dll ${VORNIK_PACKAGE_DIR}/${VORNIK_PACKAGE_ARCH}/${VORNIK_PLUGIN_FILE})
add_custom_command(
  OUTPUT ${packaged_files} ${packaged_dll}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VORNIK_PACKAGE_DIR}/${VORNIK_PACKAGE_ARCH}
  COMMAND ${CMAKE_COMMAND} -E copy ${staged_files} ${VORNIK_PACKAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:vornik> ${packaged_dll}
  DEPENDS vornik ${staged_files}
  COMMENT "Putting the ${VORNIK_FLAVOUR} driver package together (${VORNIK_PACKAGE_ARCH})"
  VERBATIM)
add_custom_target(driver_package ALL DEPENDS ${packaged_files} ${packaged_dll})
