# The result list, the clipboard and the row commands, on a real list view.
set(list_dir ${CMAKE_CURRENT_LIST_DIR})

varnock_test(list_tests
  SOURCES
    ${list_dir}/list_window.cpp
    ${list_dir}/insertion_order_test.cpp
    ${list_dir}/sort_test.cpp
  LIBS varnock_ui comctl32
  TIMEOUT 120)
