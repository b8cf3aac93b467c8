# The program's one version: the project version, unless a trial build names a later one
# (tools/package --trial-version, to try an upgrade over a release). It reaches the version
# resources, the about box, vrx --version and the package names through version.h.
set(VIMBREL_TRIAL_VERSION "" CACHE STRING "Build as this version (X.Y.Z) instead of the project's")
if(VIMBREL_TRIAL_VERSION)
  set(VIMBREL_VERSION ${VIMBREL_TRIAL_VERSION})
else()
  set(VIMBREL_VERSION ${PROJECT_VERSION})
endif()
# An MSI reads at most 255.255.65535.
if(NOT VIMBREL_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$"
   OR CMAKE_MATCH_1 GREATER 255 OR CMAKE_MATCH_2 GREATER 255 OR CMAKE_MATCH_3 GREATER 65535)
  message(FATAL_ERROR "version '${VIMBREL_VERSION}' is not MAJOR.MINOR.PATCH within 255.255.65535")
endif()
set(VIMBREL_VERSION_MAJOR ${CMAKE_MATCH_1})
set(VIMBREL_VERSION_MINOR ${CMAKE_MATCH_2})
set(VIMBREL_VERSION_PATCH ${CMAKE_MATCH_3})

configure_file(${PROJECT_SOURCE_DIR}/res/version.h.in ${PROJECT_BINARY_DIR}/generated/version.h @ONLY)
add_library(vimbrel_version INTERFACE)
target_include_directories(vimbrel_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
