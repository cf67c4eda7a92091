# Lays out the sample distribution medium in the build tree: SETUP.EXE beside its script and
# language files. The script and the texts are CR LF files in the ANSI code page; they are
# copied byte for byte. The medium's program is stripped; the one in the build tree keeps its
# symbols for the debugger.
set(SETUP_MEDIUM_DIR ${CMAKE_BINARY_DIR}/medium)
set(SETUP_MEDIUM_FILES
  ${CMAKE_SOURCE_DIR}/package/SETUP.KVX
  ${CMAKE_SOURCE_DIR}/package/SETUPENG.TXT
  ${CMAKE_SOURCE_DIR}/package/SETUPGER.TXT)
add_custom_target(medium ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SETUP_MEDIUM_DIR}
  COMMAND ${CMAKE_STRIP} -o ${SETUP_MEDIUM_DIR}/SETUP.EXE $<TARGET_FILE:SETUP>
  COMMAND ${CMAKE_COMMAND} -E copy ${SETUP_MEDIUM_FILES} ${SETUP_MEDIUM_DIR}
  DEPENDS SETUP ${SETUP_MEDIUM_FILES}
  COMMENT "Laying out the distribution medium")
