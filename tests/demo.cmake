# The demo run end to end on the desktop back end with the virtual clock.
cb_add_gtest(demo_run_tests
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/demo/test_demo_run.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/demo/test_demo_timeline.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/demo/test_recorder.cpp
  LIBS cb_demo_recorder)
target_include_directories(demo_run_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support)
target_compile_definitions(demo_run_tests PRIVATE
  CB_RECORDER_PROGRAM="$<TARGET_FILE:copperbramble-record>")
add_dependencies(demo_run_tests copperbramble-record)
