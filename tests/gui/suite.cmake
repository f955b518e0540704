# The main window, the About box and the link button, created for real on
# the test display; the program's own resources are compiled in.
set(gui_dir ${CMAKE_CURRENT_LIST_DIR})

# The program with a worker held busy, for the test of its end.
add_executable(gui_exit_probe ${gui_dir}/exit_probe_main.cpp)
target_link_libraries(gui_exit_probe PRIVATE varnock_app_lib varnock_res)

varnock_test(gui_tests
  SOURCES
    ${gui_dir}/gui_support.cpp
    ${gui_dir}/window_title_test.cpp
    ${gui_dir}/main_dialog_test.cpp
    ${gui_dir}/about_and_links_test.cpp
    ${gui_dir}/link_button_test.cpp
    ${gui_dir}/keyboard_access_test.cpp
    ${gui_dir}/scan_beside_window_test.cpp
    ${gui_dir}/resizable_window_test.cpp
    ${gui_dir}/first_show_test.cpp
    ${gui_dir}/window_commands_test.cpp
    ${gui_dir}/dark_mode_test.cpp
    ${gui_dir}/high_dpi_test.cpp
  LIBS varnock_app_lib varnock_res varnock_list_test_support varnock_hostile_support
  DEPENDS varnock_app gui_exit_probe
  TIMEOUT 180)

# The window's first show on the demo machine, in the demo's own prefix.
add_test(NAME gui_first_show_demo
         COMMAND gui_tests --gtest_filter=FirstShow.EveryColumnInViewOnTheDemoMachine --gtest_brief=1)
set_tests_properties(gui_first_show_demo PROPERTIES TIMEOUT 120 RESOURCE_LOCK "demo-prefix;desktop"
  ENVIRONMENT "WINEPREFIX=${PROJECT_BINARY_DIR}/demo-test-prefix;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=;VARNOCK_DEMO_MACHINE=1")

# SetSysColors lasts in the prefix: the palette test runs alone, and restores it.
add_test(NAME gui_link_palette COMMAND gui_tests --gtest_filter=LinkColours.* --gtest_brief=1)
set_tests_properties(gui_link_palette PROPERTIES TIMEOUT 120 RESOURCE_LOCK desktop
  ENVIRONMENT "${VARNOCK_TEST_ENVIRONMENT};VARNOCK_PALETTE_TEST=1")

# The window switched to dark mode and back, with the user's key redirected
# in its own process.
add_test(NAME gui_dark_mode COMMAND gui_tests --gtest_filter=DarkModeWindow.* --gtest_brief=1)
set_tests_properties(gui_dark_mode PROPERTIES TIMEOUT 120 RESOURCE_LOCK desktop
  ENVIRONMENT "${VARNOCK_TEST_ENVIRONMENT};VARNOCK_DARK_MODE_TEST=1")

# The window at other DPIs, in a prefix of its own whose LogPixels it sets.
add_test(NAME gui_high_dpi
         COMMAND gui_tests --gtest_filter=HighDpi.EveryControl* --gtest_brief=1)
set_tests_properties(gui_high_dpi PROPERTIES TIMEOUT 240 RESOURCE_LOCK dpi-prefix
  ENVIRONMENT "WINEPREFIX=${PROJECT_BINARY_DIR}/dpi-test-prefix;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=;VARNOCK_DPI_PREFIX=1")
