# Lays out the sample distribution medium in the build tree: SETUP.EXE beside its script and
# language files, and the payload the script lists. The script and the texts are CR LF files
# in the ANSI code page; they are copied byte for byte. The medium's program is stripped; the
# one in the build tree keeps its symbols for the debugger.
set(SETUP_MEDIUM_DIR ${CMAKE_BINARY_DIR}/medium)
set(SETUP_MEDIUM_FILES
  ${CMAKE_SOURCE_DIR}/package/SETUP.KVX
  ${CMAKE_SOURCE_DIR}/package/SETUPENG.TXT
  ${CMAKE_SOURCE_DIR}/package/SETUPGER.TXT
  ${CMAKE_SOURCE_DIR}/package/UNATTEND.INI)

# The package's CAPI 2.0 DLL, loaded by the about box under the name the script gives. It
# brings its own entry point and no C runtime, so it imports nothing.
add_library(capidll MODULE ${CMAKE_SOURCE_DIR}/package/capidll/CapiDll.cpp)
set_target_properties(capidll PROPERTIES OUTPUT_NAME CAPI2032 PREFIX "" SUFFIX .DLL)
target_compile_options(capidll PRIVATE ${SETUP_WARNINGS} -fno-exceptions -fno-rtti)
# --kill-at drops the i686 stdcall decoration ("@16") from the exported name.
target_link_options(capidll PRIVATE -nostdlib -s -Wl,--kill-at)

# The payload: placeholder drivers and programs made by the generator, the DLL, all
# compressed, and the additional files, each where the script's file lists put it.
find_program(SETUP_MSCOMPRESS mscompress REQUIRED)
set(SETUP_PAYLOAD_STAMP ${CMAKE_BINARY_DIR}/payload/laid-out.stamp)
file(GLOB_RECURSE SETUP_ADDFILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/package/doc/*)
add_custom_command(
  OUTPUT ${SETUP_PAYLOAD_STAMP}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/package/make_payload.py
          --script ${CMAKE_SOURCE_DIR}/package/SETUP.KVX
          --package ${CMAKE_SOURCE_DIR}/package
          --medium ${SETUP_MEDIUM_DIR}
          --work ${CMAKE_BINARY_DIR}/payload
          --mscompress ${SETUP_MSCOMPRESS}
          --file CAPI2032.DLL=$<TARGET_FILE:capidll>
  COMMAND ${CMAKE_COMMAND} -E touch ${SETUP_PAYLOAD_STAMP}
  DEPENDS ${CMAKE_SOURCE_DIR}/package/make_payload.py ${CMAKE_SOURCE_DIR}/package/SETUP.KVX
          ${SETUP_ADDFILES} capidll
  COMMENT "Laying out the payload of the distribution medium")

add_custom_target(medium ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SETUP_MEDIUM_DIR}
  COMMAND ${CMAKE_STRIP} -o ${SETUP_MEDIUM_DIR}/SETUP.EXE $<TARGET_FILE:SETUP>
  COMMAND ${CMAKE_COMMAND} -E copy ${SETUP_MEDIUM_FILES} ${SETUP_MEDIUM_DIR}
  DEPENDS SETUP ${SETUP_MEDIUM_FILES} ${SETUP_PAYLOAD_STAMP}
  COMMENT "Laying out the distribution medium")
