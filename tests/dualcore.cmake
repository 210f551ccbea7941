# The second core: its image in an emulator of the test's own, and the back end's start, pause,
# stop and queue on the simulated console.
find_package(PkgConfig REQUIRED)
pkg_check_modules(UNICORN REQUIRED IMPORTED_TARGET unicorn)

cb_add_gtest(dualcore_image_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/dualcore/image_harness_test.cpp
  LIBS main940t_image PkgConfig::UNICORN)
target_compile_definitions(dualcore_image_tests PRIVATE
  CB_MAIN940T_BIN="${CMAKE_BINARY_DIR}/main940t.bin")

# The back end's second-core operations on the simulated console; the example image's command
# routine leaves results in the shared memory.
copperbramble_arm940_image(NAME example940t
  SOURCES ${COPPERBRAMBLE_ARM940_DIR}/main940t.s ${CMAKE_CURRENT_SOURCE_DIR}/dualcore/example940t.s
  BINARY ${CMAKE_CURRENT_BINARY_DIR}/example940t.bin)

cb_add_gtest(dualcore_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/dualcore/dualcore_test.cpp
  LIBS vkr_lowLevelGP2X cb_sim main940t_image example940t_image)
