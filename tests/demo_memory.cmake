# The demo's start and end seen in video memory and the emulated display: the resource-pack
# loader for each output, and the display handed back after a whole run; and the desktop
# program's terminal without a sound device.
cb_add_gtest(demo_memory_tests
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/demo/test_resource_pack.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/demo/test_end_sequence.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/demo/test_quiet_sound.cpp
  LIBS cb_demo_desktop cb_host_desktop vkr_lowLevelWin_host)
target_include_directories(demo_memory_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support)
