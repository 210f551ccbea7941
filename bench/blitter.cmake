# The blitter's per-frame work beside memset and SDL 1.2's fill and colour-keyed blit.
add_executable(blitter_bench ${CMAKE_CURRENT_LIST_DIR}/blitter_bench.cpp)
target_link_libraries(blitter_bench PRIVATE vkr_lowLevelWin_host benchmark::benchmark)
