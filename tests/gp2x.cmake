# The hardware back end on the simulated console: start-up and teardown (also replayed from its
# trace against a register model), buttons, clock, the display's sync bits, devices and system
# controls, and seeded random display, blitter and rotator calls replayed against a register model
# of their own; on the PC also the demo's whole run and the program copperbramble-sim, on the LCD
# and on a television with captions, the display controller's, blitter's and rotator's registers
# by hand, and the whole demo painting the same frames as on the desktop back end.
set(gp2x_test_sources
  ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_startup.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_input_clock.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_sync_timing.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_trace_replay.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/display_register_model.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_display_register_model.cpp)
if(CMAKE_CROSSCOMPILING)
  cb_add_gtest(gp2x_tests SOURCES ${gp2x_test_sources} LIBS vkr_lowLevelGP2X)
else()
  cb_add_gtest(gp2x_tests
    SOURCES
      ${gp2x_test_sources}
      ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_sim_demo.cpp
      ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_sim_tv.cpp
      ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_display_registers.cpp
      ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_backend_agreement.cpp
      ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_random_scenes.cpp
    LIBS cb_demo_handheld cb_sim_desktop)
  target_compile_definitions(gp2x_tests PRIVATE CB_SIM_PROGRAM="$<TARGET_FILE:copperbramble-sim>"
    CB_RECORDER_PROGRAM="$<TARGET_FILE:copperbramble-record>")
  add_dependencies(gp2x_tests copperbramble-sim copperbramble-record cb_resource_data)
  # The whole demo on both televisions, judged strictly: any offence against the hardware's rules
  # ends the run with status 3 and names it. Not again under the sanitizers, where the judge's own
  # tests run and a whole demo costs tens of seconds.
  if(CB_SANITIZE)
    set(cb_strict_demo_outputs)
  else()
    set(cb_strict_demo_outputs ntsc pal)
  endif()
  foreach(tv ${cb_strict_demo_outputs})
    add_test(NAME sim_demo_strict_${tv}
             COMMAND copperbramble-sim --headless --strict --tv ${tv} --data ${CMAKE_BINARY_DIR}/data)
    set_tests_properties(sim_demo_strict_${tv} PROPERTIES
      ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
  endforeach()
  if(TARGET cb_music_data)
    add_dependencies(gp2x_tests cb_music_data)
  endif()
endif()
target_include_directories(gp2x_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support
  ${CMAKE_CURRENT_SOURCE_DIR}/gp2x)
if(CB_SANITIZE)
  target_compile_definitions(gp2x_tests PRIVATE CB_SANITIZED_BUILD)
endif()

# The console's platform calls (POSIX), on files standing in for the console's.
cb_add_gtest(gp2x_platform_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/test_platform_posix.cpp
          ${PROJECT_SOURCE_DIR}/lowlevel/gp2x/vkr_gp2xPlatformPosix.cpp
  LIBS)
target_include_directories(gp2x_platform_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support
  ${PROJECT_SOURCE_DIR}/lowlevel/gp2x)

# The simulated display controller's fuzz target, built by clang with libFuzzer and the sanitizers
# from the console's sources: a few seconds with the suite, a million inputs only when CB_FUZZ_LONG
# is set (ctest -L long).
find_program(CB_CLANGXX NAMES clang++ clang++-14)
if(CB_CLANGXX AND NOT CMAKE_CROSSCOMPILING)
  file(GLOB cb_sim_fuzz_sources ${CMAKE_SOURCE_DIR}/sim/sim_*.cpp
       ${CMAKE_SOURCE_DIR}/lowlevel/display/disp_*.cpp)
  list(REMOVE_ITEM cb_sim_fuzz_sources ${CMAKE_SOURCE_DIR}/sim/sim_arm940Unemulated.cpp)
  list(APPEND cb_sim_fuzz_sources ${CMAKE_CURRENT_LIST_DIR}/gp2x/fuzz_sim_display.cpp)
  set(cb_sim_fuzz_binary ${CMAKE_CURRENT_BINARY_DIR}/cb_sim_display_fuzz)
  add_custom_command(
    OUTPUT ${cb_sim_fuzz_binary}
    COMMAND ${CB_CLANGXX} -std=c++20 -g -O2 -fsanitize=fuzzer,address,undefined
            -fno-sanitize-recover=undefined -DVKR_BACKEND_HANDHELD
            -I${CMAKE_SOURCE_DIR}/sim -I${CMAKE_SOURCE_DIR}/lowlevel
            -I${CMAKE_SOURCE_DIR}/lowlevel/display -I${CMAKE_SOURCE_DIR}/lowlevel/gp2x
            ${cb_sim_fuzz_sources} -lunicorn -lpthread
            -o ${cb_sim_fuzz_binary}
    DEPENDS ${cb_sim_fuzz_sources}
    COMMENT "Building the simulated display controller's fuzz target with clang"
    VERBATIM)
  add_custom_target(cb_sim_display_fuzz ALL DEPENDS ${cb_sim_fuzz_binary})
  add_test(NAME cb_sim_display_fuzz_short COMMAND ${cb_sim_fuzz_binary} -max_total_time=5)
  set_tests_properties(cb_sim_display_fuzz_short PROPERTIES
    ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
  add_test(NAME cb_sim_display_fuzz_long
           COMMAND sh -c "[ -n \"$CB_FUZZ_LONG\" ] || exit 77; exec \"$0\" -runs=1000000"
                   ${cb_sim_fuzz_binary})
  set_tests_properties(cb_sim_display_fuzz_long PROPERTIES
    ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy" LABELS long SKIP_RETURN_CODE 77
    TIMEOUT 0)
endif()
