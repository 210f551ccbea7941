# The compositor's benchmark: the demo's frame at LCD, NTSC and PAL and each step alone, beside a
# cold memcpy of the PAL surface and libyuv's YUY2 to RGB24 of the same picture, with the ratios.
find_library(CB_LIBYUV_LIBRARY yuv)
find_path(CB_LIBYUV_INCLUDE_DIR libyuv.h)
if(CB_LIBYUV_LIBRARY AND CB_LIBYUV_INCLUDE_DIR)
  add_executable(cb_compositor_bench
    ${CMAKE_CURRENT_LIST_DIR}/compositor_bench.cpp
    ${CMAKE_SOURCE_DIR}/tests/compositor/reference_compositor.cpp)
  target_include_directories(cb_compositor_bench PRIVATE ${CB_LIBYUV_INCLUDE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(cb_compositor_bench PRIVATE vkr_lowLevelWin_host ${CB_LIBYUV_LIBRARY}
                        benchmark::benchmark)
else()
  message(STATUS "libyuv not found: the compositor benchmark is not built")
endif()
