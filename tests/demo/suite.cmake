# The console tool on the demo machine, compared byte for byte with the
# report it must give there. The test command lays the machine out in a
# prefix of its own before CTest starts (scripts/demo-machine.sh).
set(VARNOCK_DEMO_PREFIX ${PROJECT_BINARY_DIR}/demo-test-prefix)
set(demo_dir ${CMAKE_CURRENT_LIST_DIR})

foreach(variant IN ITEMS default all)
  set(args "")
  set(expected ${demo_dir}/demo-report.txt)
  if(variant STREQUAL "all")
    set(args "--all")
    set(expected ${demo_dir}/demo-report-all.txt)
  endif()
  add_test(NAME demo_report_${variant}
           COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:varnock-report> "-DARGS=${args}"
                   -DEXPECTED=${expected} -DPREFIX=${VARNOCK_DEMO_PREFIX}
                   -DACTUAL=${CMAKE_CURRENT_BINARY_DIR}/demo-report-${variant}.out
                   -P ${demo_dir}/compare_report.cmake)
  set_tests_properties(demo_report_${variant} PROPERTIES TIMEOUT 60 RESOURCE_LOCK demo-prefix
                       ENVIRONMENT "WINEPREFIX=${VARNOCK_DEMO_PREFIX};WINEDEBUG=-all")
endforeach()
