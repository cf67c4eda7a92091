# Lays out the sample distribution medium in the build tree: SETUP.EXE beside its script.
set(SETUP_MEDIUM_DIR ${CMAKE_BINARY_DIR}/medium)
add_custom_target(medium ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SETUP_MEDIUM_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:SETUP> ${SETUP_MEDIUM_DIR}/SETUP.EXE
  DEPENDS SETUP
  COMMENT "Laying out the distribution medium")
