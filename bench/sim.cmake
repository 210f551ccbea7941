# The simulated console's benchmark: the whole demo headless on it beside the desktop back end,
# both composing every frame without encoding. Run it with `cmake --build build --target
# sim_bench` (three runs) or build/bench/cb_sim_bench --runs N.
add_executable(cb_sim_bench ${CMAKE_CURRENT_LIST_DIR}/sim_bench.cpp)
target_compile_definitions(cb_sim_bench PRIVATE
  CB_RECORDER_PROGRAM="$<TARGET_FILE:copperbramble-record>"
  CB_SIM_PROGRAM="$<TARGET_FILE:copperbramble-sim>")
add_dependencies(cb_sim_bench copperbramble-record copperbramble-sim cb_music_data cb_resource_data)
add_custom_target(sim_bench COMMAND cb_sim_bench --runs 3 USES_TERMINAL)
