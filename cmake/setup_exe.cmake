# add_setup_exe(TARGET <name> MANIFEST <manifest.toml> OUTPUT <setup.exe>
#               [SOURCE_DIRS <dir>...] [DEPENDS <target-or-file>...])
#
# Packs a product into its setup.exe with the host-built mkinstaller
# (INSTALLER_HOST_TOOLS, the release build's tools folder) against this
# build's installer runtime. mkinstaller writes a dependency file, so the
# setup program is rebuilt whenever the manifest or any file it names
# changes; DEPENDS names what must be built before it (the product's
# programs). Each setup.exe is then checked to need nothing of the C
# runtime's start-up code (cmake/check_startup_free.cmake).
function(add_setup_exe)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "TARGET;MANIFEST;OUTPUT" "SOURCE_DIRS;DEPENDS")
  if(NOT arg_TARGET OR NOT arg_MANIFEST OR NOT arg_OUTPUT)
    message(FATAL_ERROR "add_setup_exe needs TARGET, MANIFEST and OUTPUT")
  endif()
  if(NOT INSTALLER_HOST_TOOLS)
    message(FATAL_ERROR "add_setup_exe: set INSTALLER_HOST_TOOLS to the folder of the host tools")
  endif()

  set(tool ${INSTALLER_HOST_TOOLS}/mkinstaller/mkinstaller)
  get_filename_component(manifest ${arg_MANIFEST} ABSOLUTE)
  get_filename_component(output ${arg_OUTPUT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_BINARY_DIR})
  set(depfile ${CMAKE_CURRENT_BINARY_DIR}/${arg_TARGET}.d)
  set(source_dir_arguments)
  foreach(dir IN LISTS arg_SOURCE_DIRS)
    list(APPEND source_dir_arguments --source-dir ${dir})
  endforeach()

  add_custom_command(
    OUTPUT ${output}
    COMMAND ${tool} ${manifest} ${source_dir_arguments}
            --runtime $<TARGET_FILE:installer_runtime> -o ${output} --depfile ${depfile} --no-progress
    COMMAND ${CMAKE_COMMAND} -DIMAGE=${output} -DOBJDUMP=${CMAKE_OBJDUMP}
            -P ${CMAKE_SOURCE_DIR}/cmake/check_startup_free.cmake
    DEPENDS ${manifest} ${tool} installer_runtime $<TARGET_FILE:installer_runtime> ${arg_DEPENDS}
    DEPFILE ${depfile}
    COMMENT "Packing ${arg_TARGET} into ${output}"
    VERBATIM)
  add_custom_target(${arg_TARGET} ALL DEPENDS ${output})
endfunction()
