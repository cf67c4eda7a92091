# mingw-w64 trees: SETUP.EXE, the Wine-run adapter tests and the end-to-end driver.
enable_language(RC)

set(SETUP_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

# The compilers' win32 thread model pulls in no threading runtime that Windows NT 4.0 lacks,
# but gives no std::mutex or std::condition_variable. GoogleTest's own Windows locks need
# neither; only its Notification does, which comes from a Win32 stand-in instead.
target_compile_options(gtest PUBLIC -include ${CMAKE_SOURCE_DIR}/tests/win32/GtestNotification.h)
# lz32 before kernel32: Windows NT's kernel32 exports the LZ functions too, but LZ32.DLL is
# where they are documented to live.
set(SETUP_WIN32_LIBS user32 gdi32 advapi32 lz32 kernel32)

# Everything in src/win32 but the program entry, so the tests can link the adapters.
# The dialog look's window procedures too; its rules are part of the portable core.
file(GLOB SETUP_WIN32_SOURCES CONFIGURE_DEPENDS src/win32/*.cpp src/look3d/*.cpp)
list(FILTER SETUP_WIN32_SOURCES EXCLUDE REGEX "WinMain\\.cpp$|Look3dRules\\.cpp$")
add_library(setup_win32 STATIC ${SETUP_WIN32_SOURCES})
target_link_libraries(setup_win32 PUBLIC setup_core ${SETUP_WIN32_LIBS})
target_compile_options(setup_win32 PRIVATE ${SETUP_WARNINGS})
target_compile_definitions(setup_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)

# Icons and bitmaps are drawn at build time, never kept as hand-edited binaries.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(SETUP_IMAGE_DIR ${CMAKE_BINARY_DIR}/images)
set(SETUP_IMAGES ${SETUP_IMAGE_DIR}/main.ico ${SETUP_IMAGE_DIR}/card.ico
                 ${SETUP_IMAGE_DIR}/novelmar.ico ${SETUP_IMAGE_DIR}/velmar.bmp
                 ${SETUP_IMAGE_DIR}/checkbox.bmp)
add_custom_command(
  OUTPUT ${SETUP_IMAGES}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/src/resources/draw_images.py
          ${SETUP_IMAGE_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/draw_images.py
  COMMENT "Drawing icons and bitmaps")
add_custom_target(setup_images DEPENDS ${SETUP_IMAGES})

file(GLOB SETUP_RC_PARTS CONFIGURE_DEPENDS src/resources/*.rc src/resources/*.h)
set_source_files_properties(src/resources/setup.rc PROPERTIES
  OBJECT_DEPENDS "${SETUP_IMAGES};${SETUP_RC_PARTS}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${SETUP_IMAGE_DIR} -I${CMAKE_SOURCE_DIR}/src/resources")

add_executable(SETUP WIN32 src/win32/WinMain.cpp src/resources/setup.rc)
add_dependencies(SETUP setup_images)
set_target_properties(SETUP PROPERTIES OUTPUT_NAME SETUP SUFFIX .EXE)
target_link_libraries(SETUP PRIVATE setup_win32)
target_link_options(SETUP PRIVATE ${SETUP_STATIC_RUNTIME})
target_compile_options(SETUP PRIVATE ${SETUP_WARNINGS})

# Adapter and contract tests, run under Wine; they load the program's own templates.
file(GLOB SETUP_WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(win32_tests ${SETUP_WIN32_TEST_SOURCES} src/resources/setup.rc
                           tests/win32/TestDialogs.rc)
add_dependencies(win32_tests setup_images)
target_link_libraries(win32_tests PRIVATE setup_win32 setup_test_support gmock gtest_main)
target_link_options(win32_tests PRIVATE ${SETUP_STATIC_RUNTIME})
target_compile_options(win32_tests PRIVATE ${SETUP_WARNINGS})
# The Expander contract finds its files in the folder beside the test program.
include(cmake/SzddFixtures.cmake)
add_dependencies(win32_tests szdd_fixtures)

# The end-to-end driver starts SETUP.EXE as a user would and checks what it shows.
file(GLOB SETUP_E2E_SOURCES CONFIGURE_DEPENDS tests/e2e/*.cpp)
if(SETUP_E2E_SOURCES)
  add_executable(e2e_driver ${SETUP_E2E_SOURCES})
  target_include_directories(e2e_driver PRIVATE src tests)
  # It reads the medium's texts with the program's own reader, through the Win32 files.
  target_link_libraries(e2e_driver PRIVATE setup_win32 gtest shell32)
  target_link_options(e2e_driver PRIVATE ${SETUP_STATIC_RUNTIME})
  target_compile_options(e2e_driver PRIVATE ${SETUP_WARNINGS})
  foreach(fixture velmar-installed.reg velmar-configured.reg)
    configure_file(tests/e2e/fixtures/${fixture} ${CMAKE_BINARY_DIR}/fixtures/${fixture} COPYONLY)
  endforeach()
endif()

# Benchmarks, built only when asked for (scripts/bench-transfer.sh); they run the progress
# window from the program's own templates.
add_executable(transfer_bench EXCLUDE_FROM_ALL tests/bench/TransferBenchmark.cpp
                              src/resources/setup.rc)
add_dependencies(transfer_bench setup_images)
target_link_libraries(transfer_bench PRIVATE setup_win32 setup_test_support)
target_link_options(transfer_bench PRIVATE ${SETUP_STATIC_RUNTIME})
target_compile_options(transfer_bench PRIVATE ${SETUP_WARNINGS})

# The distribution medium: the program beside its script and language files.
include(${CMAKE_SOURCE_DIR}/package/Medium.cmake)
