# The TV encoder transport, the caption queue and the caption greetings: the hardware back end on the
# simulated console, whose encoder decodes the bus from its line levels. The console's build has no
# demo library without ARM SDL and libmikmod: there the greetings are compiled in on their own.
if(CMAKE_CROSSCOMPILING)
  set(captions_demo ${PROJECT_SOURCE_DIR}/demo/cc_greetings.cpp)
  set(captions_libs vkr_lowLevelGP2X)
else()
  set(captions_demo)
  set(captions_libs cb_demo_handheld cb_sim)
endif()
cb_add_gtest(captions_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/captions/tv_console.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/encoder_bus_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/caption_queue_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/caption_run.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/greetings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/decoders_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/captions/strict_test.cpp
    ${captions_demo}
  LIBS ${captions_libs})
target_include_directories(captions_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/captions
  ${PROJECT_SOURCE_DIR}/demo)
