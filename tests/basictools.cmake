# The copy and fill helpers and the bit-block copies against byte- and bit-level references.
cb_add_gtest(basictools_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/basictools/basictools_test.cpp
  LIBS vkr_lowLevelWin_host)
