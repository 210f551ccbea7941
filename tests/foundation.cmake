# The desktop back end's model: settings and their checks, input, clock, second core, capture.
cb_add_gtest(lowlevel_tests
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/lowlevel/test_display_model.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/lowlevel/test_input.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/lowlevel/test_timing_and_dualcore.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/lowlevel/test_capture.cpp
  LIBS vkr_lowLevelWin_host)
