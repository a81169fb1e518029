# The Windows build runs tools of a native build (INSTALLER_HOST_TOOLS, by
# default the release preset's tools folder): pack_error_table and
# mkinstaller while building, and it ships mkinstaller and lzari in the
# tools' package. That build is configured here when it is not yet, and the
# host_tools target brings it up to date before anything runs its tools, so
# `cmake --build --preset windows` works on a fresh tree and never runs a
# stale mkinstaller.
include(${CMAKE_CURRENT_LIST_DIR}/inner_build.cmake)
get_filename_component(host_build ${INSTALLER_HOST_TOOLS} DIRECTORY)
add_inner_build(TARGET host_tools PRESET release DIR ${host_build}
  BUILD_TARGETS mkinstaller lzari pack_error_table wine-layer
  BYPRODUCTS ${INSTALLER_HOST_TOOLS}/mkinstaller/mkinstaller ${INSTALLER_HOST_TOOLS}/lzari/lzari ${INSTALLER_HOST_TOOLS}/wine-layer/wine-layer
             ${INSTALLER_HOST_TOOLS}/pack_error_table)
