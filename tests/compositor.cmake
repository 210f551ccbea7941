# The software compositor: colour conversion, every layer and the frame, hand-computed cases and
# the fast compositor against a plain reference on seeded random settings; the fuzz target.
cb_add_gtest(cb_compositor_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/compositor/reference_compositor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/compositor/conversion_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/compositor/layers_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/compositor/osd_spu_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/compositor/random_frames_test.cpp
  LIBS vkr_lowLevelWin_host)

# The fuzz target, built by clang with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# straight from the sources it needs. A few seconds run with the suite; the long run of a million
# inputs only when CB_FUZZ_LONG is set (ctest -L long), else it reports itself skipped.
find_program(CB_CLANGXX NAMES clang++ clang++-14)
if(CB_CLANGXX)
  set(cb_fuzz_sources
    ${CMAKE_CURRENT_LIST_DIR}/compositor/fuzz_compositor.cpp
    ${CMAKE_SOURCE_DIR}/lowlevel/vkr_colorConversion.cpp
    ${CMAKE_SOURCE_DIR}/lowlevel/vkr_frameClock.cpp)
  foreach(unit lowLevelWin winInput winClock winDualCore winCapture winRender winOSDRecords
               winWindow winPresent)
    list(APPEND cb_fuzz_sources ${CMAKE_SOURCE_DIR}/lowlevel/win/vkr_${unit}.cpp)
  endforeach()
  foreach(unit model records compose yuvLayer colorAdjust rgbLayer cursorLayer gamma osdLayer
               spuLayer bitmapFile)
    list(APPEND cb_fuzz_sources ${CMAKE_SOURCE_DIR}/lowlevel/display/disp_${unit}.cpp)
  endforeach()
  set(cb_fuzz_binary ${CMAKE_CURRENT_BINARY_DIR}/cb_compositor_fuzz)
  add_custom_command(
    OUTPUT ${cb_fuzz_binary}
    COMMAND ${CB_CLANGXX} -std=c++20 -g -O2 -fsanitize=fuzzer,address,undefined
            -fno-sanitize-recover=undefined -DVKR_BACKEND_DESKTOP
            -I${CMAKE_SOURCE_DIR}/lowlevel -I${CMAKE_SOURCE_DIR}/lowlevel/display
            -I${CMAKE_SOURCE_DIR}/lowlevel/win -I${SDL_INCLUDE_DIR}
            ${cb_fuzz_sources} ${SDL_LIBRARY} -lspng -lpthread -o ${cb_fuzz_binary}
    DEPENDS ${cb_fuzz_sources}
    COMMENT "Building the compositor fuzz target with clang"
    VERBATIM)
  add_custom_target(cb_compositor_fuzz ALL DEPENDS ${cb_fuzz_binary})
  set(cb_fuzz_env "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
  add_test(NAME cb_compositor_fuzz_short COMMAND ${cb_fuzz_binary} -max_total_time=5)
  set_tests_properties(cb_compositor_fuzz_short PROPERTIES ENVIRONMENT "${cb_fuzz_env}")
  add_test(NAME cb_compositor_fuzz_long
           COMMAND sh -c "[ -n \"$CB_FUZZ_LONG\" ] || exit 77; exec \"$0\" -runs=1000000"
                   ${cb_fuzz_binary})
  set_tests_properties(cb_compositor_fuzz_long PROPERTIES
    ENVIRONMENT "${cb_fuzz_env}" LABELS long SKIP_RETURN_CODE 77 TIMEOUT 0)
endif()
