# The recording benchmark: copperbramble-record beside ffmpeg alone encoding the same frames and
# music from raw files with the same settings. Run it with `cmake --build build --target
# record_bench` (three runs) or build/bench/cb_record_bench --runs N.
add_executable(cb_record_bench ${CMAKE_CURRENT_LIST_DIR}/record_bench.cpp)
target_link_libraries(cb_record_bench PRIVATE cb_demo_recorder)
target_compile_definitions(cb_record_bench PRIVATE
  CB_RECORDER_PROGRAM="$<TARGET_FILE:copperbramble-record>" CB_DATA_FOLDER="${CB_DATA_DIR}")
add_dependencies(cb_record_bench copperbramble-record cb_music_data cb_resource_data)
add_custom_target(record_bench COMMAND cb_record_bench --runs 3 USES_TERMINAL)
