# Machines no installer would make: the scan, the list, the sort and the
# report must neither crash, hang, leak nor lose a row on any of them.
set(hostile_dir ${CMAKE_CURRENT_LIST_DIR})
include(${hostile_dir}/testdata.cmake)

add_library(varnock_hostile_support STATIC
  ${hostile_dir}/pe_image.cpp
  ${hostile_dir}/resource_usage.cpp
  ${hostile_dir}/wide_files.cpp)
target_include_directories(varnock_hostile_support PUBLIC ${hostile_dir})
target_link_libraries(varnock_hostile_support PUBLIC varnock_win psapi ntdll gdi32 user32)

# Holds a plug-in open without sharing, from another process.
add_executable(hostile_hold_file ${hostile_dir}/hold_file_main.cpp)
target_link_libraries(hostile_hold_file PRIVATE varnock_win)

varnock_test(hostile_scan_tests
  SOURCES
    ${hostile_dir}/registry_machine_test.cpp
    ${hostile_dir}/file_machine_test.cpp
    ${hostile_dir}/version_mutation_test.cpp
  LIBS varnock_hostile_support
  DEPENDS hostile_hold_file
  TIMEOUT 240)

varnock_test(hostile_list_tests
  SOURCES
    ${hostile_dir}/rescan_leak_test.cpp
    ${hostile_dir}/big_report_test.cpp
    ${hostile_dir}/hostile_list_test.cpp
  LIBS varnock_hostile_support varnock_list_test_support varnock_app_lib varnock_res
  TIMEOUT 240)
