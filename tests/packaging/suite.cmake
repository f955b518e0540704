# The shipped programs as built: their version blocks.
varnock_test(version_block_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/version_blocks_test.cpp
  DEPENDS varnock_app varnock-report)
target_include_directories(version_block_tests PRIVATE ${PROJECT_BINARY_DIR}/src/res/generated)

# The release script, twice from fresh clones, unsigned and signed. It builds
# with both cores, so it runs alone.
add_test(NAME release_reproducible
         COMMAND ${VARNOCK_SYSTEM_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/release_test.py
                 --source ${PROJECT_SOURCE_DIR} --work ${PROJECT_BINARY_DIR}/tests/release-test
                 --version ${PROJECT_VERSION})
set_tests_properties(release_reproducible PROPERTIES TIMEOUT 1800 PROCESSORS 2)
