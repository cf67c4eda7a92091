# The files the Expander contract expands, made by mscompress, the compressor the medium's
# files are made with. They go into one folder of the build tree; SETUP_SZDD_DIR names it.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(SETUP_MSCOMPRESS mscompress REQUIRED)

set(SETUP_SZDD_DIR ${CMAKE_BINARY_DIR}/szdd)
set(SETUP_SZDD_FILES)
foreach(name empty.bin one.bin repeat.txt large.bin)
  list(APPEND SETUP_SZDD_FILES ${SETUP_SZDD_DIR}/${name} ${SETUP_SZDD_DIR}/${name}_)
endforeach()
list(APPEND SETUP_SZDD_FILES ${SETUP_SZDD_DIR}/plain.txt ${SETUP_SZDD_DIR}/truncated.bin_
                             ${SETUP_SZDD_DIR}/method-b.bin_)

add_custom_command(
  OUTPUT ${SETUP_SZDD_FILES}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/support/szdd/make_fixtures.py
          ${SETUP_MSCOMPRESS} ${SETUP_SZDD_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/szdd/make_fixtures.py
  COMMENT "Compressing the SZDD test files")
add_custom_target(szdd_fixtures DEPENDS ${SETUP_SZDD_FILES})
