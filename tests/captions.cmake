# The TV encoder transport, the caption queue and the caption greetings against the simulated
# encoder, through a test-local register file and virtual clock. Until the hardware back end and
# the simulated console are wired, this compiles their sources directly.
add_library(cb_captions_under_test STATIC
  ${CMAKE_SOURCE_DIR}/lowlevel/gp2x/vkr_gp2xTVEncoder.cpp
  ${CMAKE_SOURCE_DIR}/lowlevel/gp2x/vkr_gp2xCaptions.cpp
  ${CMAKE_SOURCE_DIR}/sim/sim_cx25874.cpp
  ${CMAKE_SOURCE_DIR}/demo/cc_greetings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/captions/fake_console.cpp)
target_include_directories(cb_captions_under_test PUBLIC
  ${CMAKE_SOURCE_DIR}/lowlevel ${CMAKE_SOURCE_DIR}/lowlevel/gp2x ${CMAKE_SOURCE_DIR}/sim
  ${CMAKE_SOURCE_DIR}/demo ${CMAKE_CURRENT_LIST_DIR}/captions)
target_compile_definitions(cb_captions_under_test PUBLIC VKR_BACKEND_HANDHELD)

cb_add_gtest(captions_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/captions/encoder_bus_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/caption_queue_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/caption_run.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/greetings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/decoders_test.cpp
  LIBS cb_captions_under_test)
