# The copy and fill helpers and the bit-block copies against byte- and bit-level references; in the
# console's build against the hardware back end on the simulated console.
if(CMAKE_CROSSCOMPILING)
  set(basictools_backend vkr_lowLevelGP2X)
else()
  set(basictools_backend vkr_lowLevelWin_host)
endif()
cb_add_gtest(basictools_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/basictools/basictools_test.cpp
  LIBS ${basictools_backend})
