# The second core: its image in an emulator of the test's own, and the back end's start, pause,
# stop and queue against the simulated second core over a test-local register file.
find_package(PkgConfig REQUIRED)
pkg_check_modules(UNICORN REQUIRED IMPORTED_TARGET unicorn)

cb_add_gtest(dualcore_image_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/dualcore/image_harness_test.cpp
  LIBS main940t_image PkgConfig::UNICORN)
target_compile_definitions(dualcore_image_tests PRIVATE
  CB_MAIN940T_BIN="${CMAKE_BINARY_DIR}/main940t.bin")
