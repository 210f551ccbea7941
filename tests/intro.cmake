# The intro: its tables, the band, the formations, sprite sizing and clipping and the page flip,
# checked in video memory and in the emulated display state.
cb_add_gtest(cb_intro_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/intro/intro_test.cpp
  LIBS cb_demo_desktop vkr_lowLevelWin_host)
