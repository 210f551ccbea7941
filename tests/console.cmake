# The debug console: printing, drawing against a per-pixel reference, the loading screen, the font.
cb_add_gtest(console_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/console/console_print_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/console/console_draw_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/console/font_test.cpp
  LIBS vkr_lowLevelWin_host)
