# The release archive, varnock-<version>-win64.zip: the window, the console
# tool, a read-me, the JSON report's schema and the notices of the libraries
# linked into the programs, all at the archive's root.
#
#   cmake --build build --target package
#
# Included after every subdirectory, so the programs' targets exist here.
set(VARNOCK_ARCHIVE_NAME varnock-${PROJECT_VERSION}-win64)

# Windows line ends whatever git checked out.
configure_file(${PROJECT_SOURCE_DIR}/packaging/README.txt.in
               ${PROJECT_BINARY_DIR}/packaging/README.txt @ONLY NEWLINE_STYLE CRLF)

# The notices come from the copyright files of the toolchain that links the
# programs, as scripts/release.sh takes them.
find_program(VARNOCK_PYTHON NAMES python3 REQUIRED)
set(VARNOCK_NOTICES ${PROJECT_BINARY_DIR}/packaging/THIRD-PARTY-NOTICES.txt)
add_custom_command(OUTPUT ${VARNOCK_NOTICES}
                   COMMAND ${VARNOCK_PYTHON} ${PROJECT_SOURCE_DIR}/scripts/release_components.py
                           ${CMAKE_CXX_COMPILER} ${PROJECT_VERSION} ${VARNOCK_NOTICES}
                           ${PROJECT_BINARY_DIR}/packaging/components.json
                   DEPENDS ${PROJECT_SOURCE_DIR}/scripts/release_components.py
                   COMMENT "Third-party notices from the toolchain's copyright files" VERBATIM)
add_custom_target(varnock_notices ALL DEPENDS ${VARNOCK_NOTICES})

# Only this component goes into the archive, whatever else gets install rules.
install(TARGETS varnock-report RUNTIME DESTINATION . COMPONENT release)
if(TARGET varnock_app)
  install(TARGETS varnock_app RUNTIME DESTINATION . COMPONENT release)
  set(VARNOCK_ARCHIVE_HAS_APP ON)
else()
  set(VARNOCK_ARCHIVE_HAS_APP OFF)
endif()
install(FILES ${PROJECT_BINARY_DIR}/packaging/README.txt ${PROJECT_SOURCE_DIR}/docs/report.schema.json
              ${VARNOCK_NOTICES}
        DESTINATION . COMPONENT release)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME varnock)
set(CPACK_PACKAGE_VENDOR Varnock)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${VARNOCK_ARCHIVE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};Varnock;release;/")
include(CPack)

if(BUILD_TESTING)
  # Packs into a folder of its own with the configuration the package
  # target uses, then lists what the archive holds.
  add_test(NAME package_archive
           COMMAND ${VARNOCK_PYTHON} ${PROJECT_SOURCE_DIR}/tests/packaging/archive_test.py
                   --cpack ${CMAKE_CPACK_COMMAND} --config ${PROJECT_BINARY_DIR}/CPackConfig.cmake
                   --out ${PROJECT_BINARY_DIR}/tests/package-test
                   --archive ${VARNOCK_ARCHIVE_NAME}.zip --version ${PROJECT_VERSION}
                   --report-exe $<TARGET_FILE:varnock-report>
                   --schema ${PROJECT_SOURCE_DIR}/docs/report.schema.json
                   --with-app ${VARNOCK_ARCHIVE_HAS_APP})
  set_tests_properties(package_archive PROPERTIES TIMEOUT 120)

  set(programs $<TARGET_FILE:varnock-report>)
  if(TARGET varnock_app)
    list(APPEND programs $<TARGET_FILE:varnock_app>)
  endif()
  find_program(VARNOCK_OBJDUMP NAMES x86_64-w64-mingw32-objdump REQUIRED)
  add_test(NAME release_system_imports
           COMMAND ${CMAKE_COMMAND} "-DPROGRAMS=${programs}" -DOBJDUMP=${VARNOCK_OBJDUMP}
                   -P ${PROJECT_SOURCE_DIR}/tests/packaging/system_imports.cmake)
  set_tests_properties(release_system_imports PROPERTIES TIMEOUT 60)
endif()
