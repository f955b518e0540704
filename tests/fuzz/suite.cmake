# Every input that ever made a fuzz target fail, replayed through the same
# target bodies in the product's own build, under Wine.
set(fuzz_dir ${CMAKE_CURRENT_LIST_DIR})
varnock_windows_path(fuzz_regressions_w ${fuzz_dir}/regressions)
varnock_test(fuzz_replay_tests
  SOURCES ${fuzz_dir}/replay_test.cpp ${fuzz_dir}/targets.cpp)
target_include_directories(fuzz_replay_tests PRIVATE ${fuzz_dir})
target_compile_definitions(fuzz_replay_tests PRIVATE
                           "VARNOCK_FUZZ_REGRESSIONS=\"${fuzz_regressions_w}\"")
