# The TV encoder transport, the caption queue and the caption greetings: the hardware back end on the
# simulated console, whose encoder decodes the bus from its line levels.
cb_add_gtest(captions_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/captions/tv_console.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/encoder_bus_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/caption_queue_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/caption_run.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/greetings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/decoders_test.cpp
  LIBS cb_demo_handheld cb_sim)
target_include_directories(captions_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/captions)
