# Native Linux tree: the portable core's unit tests, under the sanitizers when asked.
if(SETUP_SANITIZE)
  set(SETUP_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                            -fno-omit-frame-pointer)
  foreach(target setup_core setup_test_support gtest gtest_main gmock)
    target_compile_options(${target} PRIVATE ${SETUP_SANITIZER_FLAGS})
  endforeach()
  add_link_options(${SETUP_SANITIZER_FLAGS})
endif()

file(GLOB SETUP_CORE_TEST_SOURCES CONFIGURE_DEPENDS tests/core/*.cpp)
add_executable(core_tests ${SETUP_CORE_TEST_SOURCES})
target_link_libraries(core_tests PRIVATE setup_test_support gmock gtest_main)
target_compile_options(core_tests PRIVATE ${SETUP_WARNINGS})
if(SETUP_SANITIZE)
  target_compile_options(core_tests PRIVATE ${SETUP_SANITIZER_FLAGS})
endif()

include(cmake/SzddFixtures.cmake)
add_dependencies(core_tests szdd_fixtures)
target_compile_definitions(core_tests PRIVATE SETUP_SZDD_DIR="${SETUP_SZDD_DIR}"
                                              SETUP_PACKAGE_DIR="${CMAKE_SOURCE_DIR}/package")

enable_testing()
add_test(NAME core_tests COMMAND core_tests)

# The transfer benchmark's floor, built only when asked for (scripts/bench-transfer.sh).
add_executable(expand_floor EXCLUDE_FROM_ALL tests/bench/ExpandFloor.cpp)
target_link_libraries(expand_floor PRIVATE setup_test_support)
target_compile_options(expand_floor PRIVATE ${SETUP_WARNINGS})
