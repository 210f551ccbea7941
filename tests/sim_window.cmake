# copperbramble-sim's window and television: the desktop window's code at the output's size with
# its keys; the caption decoder (libzvbi) and its drawing fed hand-made line-21 pairs, against the
# decoder's rows and stored stills; the whole demo recorded on NTSC and PAL with the captions
# burnt in, against the greeting schedule and the pictures without captions.
cb_add_gtest(sim_window_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/captions/sim_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/caption_overlay_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/burnt_captions_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/support/still_file.cpp
    ${PROJECT_SOURCE_DIR}/hosts/sim/sim_recorder.cpp
  LIBS cb_demo_handheld cb_sim_desktop cb_recording cb_host_common vkr_winWindow PkgConfig::SPNG)
target_include_directories(sim_window_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/support)
target_compile_definitions(sim_window_tests PRIVATE
  CB_TEST_STILLS_DIR="${CMAKE_CURRENT_LIST_DIR}/captions/stills")
add_dependencies(sim_window_tests cb_resource_data)
