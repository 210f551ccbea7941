# The interface's two long tables, each against a list written out in the test: the layer sizes
# of all 33 display modes, and the 105 keys of the keyboard emulation mode with Scroll Lock.
cb_add_gtest(interface_tables_tests
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/lowlevel/test_display_modes.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/lowlevel/test_key_map.cpp
  LIBS vkr_lowLevelWin_host)

# Every operation the interface headers declare has its contract above it.
cb_add_gtest(interface_contracts_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/lowlevel/test_interface_contracts.cpp)
target_compile_definitions(interface_contracts_tests PRIVATE CB_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
