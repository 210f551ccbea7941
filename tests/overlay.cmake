# The overlays in the cursor layer: the volume overlay, the pause menu, their dispatcher and the
# demo clock, on the virtual clock, checked in video memory, the cursor state and composed frames.
cb_add_gtest(cb_overlay_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/overlay/volume_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/overlay/menu_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/overlay/composed_test.cpp
  LIBS cb_demo_desktop vkr_lowLevelWin_host)
# The music test plays the demo's own module when the build makes it.
if(TARGET cb_music_data)
  add_dependencies(cb_overlay_test cb_music_data)
endif()
