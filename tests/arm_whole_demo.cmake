# The whole demo as ARM code: copperbramble-sim of this tree under the emulator against the PC's
# copperbramble-sim (CB_PC_BUILD_DIR, which also holds the data), frame for frame, on each output.
# Each runs the whole demo; the three run side by side under ctest -j.
if(NOT CMAKE_CROSSCOMPILING)
  return()
endif()
set(CB_PC_BUILD_DIR ${PROJECT_SOURCE_DIR}/build CACHE PATH "The PC's build tree: its copperbramble-sim and data")
if(NOT EXISTS ${CB_PC_BUILD_DIR}/copperbramble-sim)
  message(STATUS "The ARM whole-demo comparison is not set up: build the PC's copperbramble-sim "
    "in ${CB_PC_BUILD_DIR} first (or give another tree as CB_PC_BUILD_DIR)")
  return()
endif()
foreach(tv lcd ntsc pal)
  add_test(NAME arm_whole_demo_${tv}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/arm/whole_demo_test.sh ${tv} $<TARGET_FILE:copperbramble-sim>
            ${CB_PC_BUILD_DIR}/copperbramble-sim ${CB_PC_BUILD_DIR}/data ${CB_CROSS_EMULATOR})
  set_tests_properties(arm_whole_demo_${tv} PROPERTIES TIMEOUT 1500 LABELS arm_whole_demo)
endforeach()
