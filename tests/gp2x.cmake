# The hardware back end on the simulated console: start-up and teardown, buttons, clock, devices
# and system controls, the demo's whole run and the program copperbramble-sim, on the LCD and on a
# television with its captions; the display controller's, blitter's and rotator's registers, and
# the whole demo painting the same frames as on the desktop back end.
cb_add_gtest(gp2x_tests
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_startup.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_input_clock.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_sim_demo.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_sim_tv.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_display_registers.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_backend_agreement.cpp
  LIBS cb_demo_handheld cb_sim)
target_include_directories(gp2x_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support
  ${CMAKE_CURRENT_SOURCE_DIR}/gp2x)
target_compile_definitions(gp2x_tests PRIVATE CB_SIM_PROGRAM="$<TARGET_FILE:copperbramble-sim>"
  CB_RECORDER_PROGRAM="$<TARGET_FILE:copperbramble-record>")
add_dependencies(gp2x_tests copperbramble-sim copperbramble-record)
