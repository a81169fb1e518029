# add_setup_exe(TARGET <name> MANIFEST <manifest.toml> OUTPUT <setup.exe>
#               [SOURCE_DIRS <dir>...] [DEPENDS <target-or-file>...])
#
# Packs a product into its setup.exe with the host-built mkinstaller
# (INSTALLER_HOST_TOOLS, the release build's tools folder) into a copy of
# this build's stub. mkinstaller writes a dependency file, so the
# setup program is rebuilt whenever the manifest or any file it names
# changes; DEPENDS names what must be built before it (the product's
# programs).
#
# The manifests name no arch, which packs the i686 stub. The x64 build packs
# a copy of each with arch = "x64" in [product], written into the build
# folder (arch_manifest), and finds the inputs beside the original through
# one more --source-dir.
function(add_setup_exe)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "TARGET;MANIFEST;OUTPUT" "SOURCE_DIRS;DEPENDS")
  if(NOT arg_TARGET OR NOT arg_MANIFEST OR NOT arg_OUTPUT)
    message(FATAL_ERROR "add_setup_exe needs TARGET, MANIFEST and OUTPUT")
  endif()
  if(NOT INSTALLER_HOST_TOOLS)
    message(FATAL_ERROR "add_setup_exe: set INSTALLER_HOST_TOOLS to the folder of the host tools")
  endif()

  set(tool ${INSTALLER_HOST_TOOLS}/mkinstaller/mkinstaller)
  arch_manifest(${arg_MANIFEST} manifest source_dirs ${arg_SOURCE_DIRS})
  get_filename_component(output ${arg_OUTPUT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_BINARY_DIR})
  set(depfile ${CMAKE_CURRENT_BINARY_DIR}/${arg_TARGET}.d)
  set(source_dir_arguments)
  foreach(dir IN LISTS source_dirs)
    list(APPEND source_dir_arguments --source-dir ${dir})
  endforeach()

  add_custom_command(
    OUTPUT ${output}
    COMMAND ${tool} ${manifest} ${source_dir_arguments}
            --stub $<TARGET_FILE:setup_stub> -o ${output} --depfile ${depfile} --no-progress
    DEPENDS ${manifest} ${tool} setup_stub $<TARGET_FILE:setup_stub> ${arg_DEPENDS}
    DEPFILE ${depfile}
    COMMENT "Packing ${arg_TARGET} into ${output}"
    VERBATIM)
  add_custom_target(${arg_TARGET} ALL DEPENDS ${output})
  # Read back by pefile (resource directory, sections, checksum, version,
  # imports, manifest), then its hardening flags.
  add_test(NAME ${arg_TARGET}.image
           COMMAND sh -c "/usr/bin/python3 \"$0\" \"$1\" --manifest \"$2\" --runtime && \"$3\" \"$1\""
                   ${CMAKE_SOURCE_DIR}/tests/win/setup_image_check.py ${output} ${manifest}
                   ${CMAKE_SOURCE_DIR}/scripts/runtime-size.sh)
endfunction()

# arch_manifest(MANIFEST OUT_MANIFEST OUT_SOURCE_DIRS [SOURCE_DIR...]): the
# manifest to pack for this build's arch and the folders to find its inputs
# in. On x86 that is MANIFEST itself; on x64 a copy in the build folder with
# arch = "x64" under [product], remade when MANIFEST changes, whose inputs
# are found beside MANIFEST after the given folders (as for the original).
function(arch_manifest manifest out_manifest out_source_dirs)
  get_filename_component(manifest ${manifest} ABSOLUTE)
  set(dirs ${ARGN})
  if(INSTALLER_ARCH STREQUAL x64)
    get_filename_component(folder ${manifest} DIRECTORY)
    get_filename_component(name ${manifest} NAME)
    file(READ ${manifest} text)
    string(REGEX REPLACE "(^|\n)\\[product\\][^\n]*\n" "\\1[product]\narch = \"x64\"\n" text "${text}")
    if(NOT text MATCHES "\narch = \"x64\"\n")
      message(FATAL_ERROR "arch_manifest: ${manifest} has no [product] line")
    endif()
    set(copy ${CMAKE_CURRENT_BINARY_DIR}/x64-manifests/${name})
    file(CONFIGURE OUTPUT ${copy} CONTENT "${text}" @ONLY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${manifest})
    set(manifest ${copy})
    list(APPEND dirs ${folder})
  endif()
  set(${out_manifest} ${manifest} PARENT_SCOPE)
  set(${out_source_dirs} ${dirs} PARENT_SCOPE)
endfunction()
