# The demo's music: the writer against independent readers, and main.it as the build leaves it in
# the data folder, played by libmikmod and, when installed, by openmpt123 and xmp.
if(TARGET cb_music_data)
  find_program(CB_OPENMPT123_PROGRAM openmpt123)
  find_program(CB_XMP_PROGRAM xmp)
  set(music_dir ${CMAKE_CURRENT_LIST_DIR}/music)
  cb_add_gtest(cb_music_test
    SOURCES ${music_dir}/it_reader.cpp ${music_dir}/mikmod_mixdown.cpp ${music_dir}/test_it_writer.cpp
            ${music_dir}/test_music_module.cpp ${music_dir}/test_music_players.cpp
            ${music_dir}/test_voices.cpp
    LIBS cb_mkmusic_core PkgConfig::MIKMOD)
  target_include_directories(cb_music_test PRIVATE ${music_dir})
  target_compile_definitions(cb_music_test PRIVATE
    CB_OPENMPT123="$<$<BOOL:${CB_OPENMPT123_PROGRAM}>:${CB_OPENMPT123_PROGRAM}>"
    CB_XMP="$<$<BOOL:${CB_XMP_PROGRAM}>:${CB_XMP_PROGRAM}>")
  add_dependencies(cb_music_test cb_music_data)
endif()
