# Fuzz tree (clang, libFuzzer): one binary per reader of outside input, each the same source
# built with SETUP_FUZZ_TARGET naming its entry.
set(SETUP_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                     -fno-omit-frame-pointer)
foreach(target setup_core setup_test_support gtest gmock)
  target_compile_options(${target} PRIVATE ${SETUP_FUZZ_FLAGS})
endforeach()

set(SETUP_FUZZ_TARGETS
    FuzzScriptSections FuzzLanguageFile FuzzSafeFormat FuzzCommandLine FuzzBackupString
    FuzzRemovalLog FuzzAutoexec FuzzGroupList FuzzAnswerFile)
foreach(name ${SETUP_FUZZ_TARGETS})
  add_executable(${name} tests/fuzz/FuzzTargets.cpp)
  target_compile_definitions(${name} PRIVATE SETUP_FUZZ_TARGET=${name})
  target_compile_options(${name} PRIVATE ${SETUP_WARNINGS} -fsanitize=fuzzer,address,undefined
                                         -fno-sanitize-recover=all)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE setup_test_support gtest)
endforeach()
add_custom_target(fuzzers DEPENDS ${SETUP_FUZZ_TARGETS})
