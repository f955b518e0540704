# The result list, the clipboard and the row commands, on a real list view.
set(list_dir ${CMAKE_CURRENT_LIST_DIR})

add_library(varnock_list_test_support STATIC
  ${list_dir}/list_window.cpp
  ${list_dir}/clipboard_reader.cpp)
target_include_directories(varnock_list_test_support PUBLIC ${list_dir})
target_link_libraries(varnock_list_test_support PUBLIC varnock_ui varnock_test_support comctl32)

# Writes the clipboard and exits, for the tests that read it afterwards.
add_executable(list_clipboard_writer ${list_dir}/clipboard_writer_main.cpp)
target_link_libraries(list_clipboard_writer PRIVATE varnock_list_test_support)

varnock_test(list_tests
  SOURCES
    ${list_dir}/insertion_order_test.cpp
    ${list_dir}/sort_test.cpp
    ${list_dir}/clipboard_test.cpp
    ${list_dir}/row_commands_test.cpp
    ${list_dir}/list_menu_test.cpp
    ${list_dir}/repaint_test.cpp
    ${list_dir}/exact_names_test.cpp
    ${list_dir}/owner_data_test.cpp
    ${list_dir}/row_path_test.cpp
    ${list_dir}/list_menu.rc
  LIBS varnock_list_test_support
  DEPENDS list_clipboard_writer
  TIMEOUT 120)
