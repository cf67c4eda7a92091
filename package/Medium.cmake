# Lays out the sample distribution medium in the build tree: SETUP.EXE beside its script and
# language files. The script and the texts are CR LF files in the ANSI code page; they are
# copied byte for byte.
set(SETUP_MEDIUM_DIR ${CMAKE_BINARY_DIR}/medium)
set(SETUP_MEDIUM_FILES
  ${CMAKE_SOURCE_DIR}/package/SETUP.KVX
  ${CMAKE_SOURCE_DIR}/package/SETUPENG.TXT
  ${CMAKE_SOURCE_DIR}/package/SETUPGER.TXT)
add_custom_target(medium ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SETUP_MEDIUM_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:SETUP> ${SETUP_MEDIUM_DIR}/SETUP.EXE
  COMMAND ${CMAKE_COMMAND} -E copy ${SETUP_MEDIUM_FILES} ${SETUP_MEDIUM_DIR}
  DEPENDS SETUP ${SETUP_MEDIUM_FILES}
  COMMENT "Laying out the distribution medium")
