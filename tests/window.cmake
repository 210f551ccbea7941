# The desktop window: its scale, full screen, and screenshots compared with the captured frame.
cb_add_gtest(window_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/lowlevel/test_window.cpp
  LIBS vkr_lowLevelWin_host)
target_include_directories(window_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support)
