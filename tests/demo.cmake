# The demo run end to end on the desktop back end with the virtual clock.
cb_add_gtest(demo_run_tests
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/demo/test_demo_run.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/demo/test_demo_timeline.cpp
  LIBS cb_recorder)
target_include_directories(demo_run_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support)
