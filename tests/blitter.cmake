# The software blitter and rotator against plain per-pixel references.
cb_add_gtest(blitter_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/blitter/blitter_test.cpp
  LIBS vkr_lowLevelWin_host)
