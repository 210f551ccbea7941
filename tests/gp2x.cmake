# The hardware back end on the simulated console: start-up and teardown (also replayed from its
# trace against a register model), buttons, clock, devices and system controls; on the PC also the
# demo's whole run and the program copperbramble-sim, on the LCD and on a television with captions.
set(gp2x_test_sources
  ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_startup.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_input_clock.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_trace_replay.cpp)
if(CMAKE_CROSSCOMPILING)
  cb_add_gtest(gp2x_tests SOURCES ${gp2x_test_sources} LIBS vkr_lowLevelGP2X)
else()
  cb_add_gtest(gp2x_tests
    SOURCES
      ${gp2x_test_sources}
      ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_sim_demo.cpp
      ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_sim_tv.cpp
    LIBS cb_demo_handheld cb_sim_desktop)
  target_compile_definitions(gp2x_tests PRIVATE CB_SIM_PROGRAM="$<TARGET_FILE:copperbramble-sim>")
  add_dependencies(gp2x_tests copperbramble-sim)
endif()
target_include_directories(gp2x_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support
  ${CMAKE_CURRENT_SOURCE_DIR}/gp2x)

# The console's platform calls (POSIX), on files standing in for the console's.
cb_add_gtest(gp2x_platform_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_platform_posix.cpp
          ${PROJECT_SOURCE_DIR}/lowlevel/gp2x/vkr_gp2xPlatformPosix.cpp
  LIBS)
target_include_directories(gp2x_platform_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support
  ${PROJECT_SOURCE_DIR}/lowlevel/gp2x)
