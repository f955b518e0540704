# The shipped programs as built: their version blocks.
varnock_test(version_block_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/version_blocks_test.cpp
  DEPENDS varnock_app varnock-report)
target_include_directories(version_block_tests PRIVATE ${PROJECT_BINARY_DIR}/src/res/generated)

# The release script, twice from fresh clones, unsigned and signed. It builds
# with both cores, so it runs alone; its signed console tool reads the test
# prefix's HKLM, so it takes that lock too.
add_executable(trust_root ${PROJECT_SOURCE_DIR}/tests/support/trust_root_main.cpp)
target_link_libraries(trust_root PRIVATE varnock_test_support)
add_test(NAME release_reproducible
         COMMAND ${VARNOCK_SYSTEM_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/release_test.py
                 --source ${PROJECT_SOURCE_DIR} --work ${PROJECT_BINARY_DIR}/tests/release-test
                 --version ${PROJECT_VERSION} --wine ${CMAKE_CROSSCOMPILING_EMULATOR}
                 --trust-root $<TARGET_FILE:trust_root>)
set_tests_properties(release_reproducible PROPERTIES TIMEOUT 1800 PROCESSORS 2
                     RESOURCE_LOCK varnock_prefix_hklm ENVIRONMENT "${VARNOCK_TEST_ENVIRONMENT}")
