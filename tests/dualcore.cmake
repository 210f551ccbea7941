# The second core: its image in an emulator of the test's own, and the back end's start, pause,
# stop and queue against the simulated second core over a test-local register file.
find_package(PkgConfig REQUIRED)
pkg_check_modules(UNICORN REQUIRED IMPORTED_TARGET unicorn)

cb_add_gtest(dualcore_image_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/dualcore/image_harness_test.cpp
  LIBS main940t_image PkgConfig::UNICORN)
target_compile_definitions(dualcore_image_tests PRIVATE
  CB_MAIN940T_BIN="${CMAKE_BINARY_DIR}/main940t.bin")

# Until the hardware back end and the simulated console's bus exist as libraries, this target
# compiles the second-core sources directly with a register file of the test's own.
cb_arm940_image(NAME example940t
  SOURCES ${CB_MAIN940T_DIR}/main940t.s ${CMAKE_CURRENT_SOURCE_DIR}/dualcore/example940t.s
  BINARY ${CMAKE_CURRENT_BINARY_DIR}/example940t.bin)

cb_add_gtest(dualcore_tests
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/dualcore/dualcore_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/dualcore/fake_console.cpp
    ${PROJECT_SOURCE_DIR}/lowlevel/gp2x/vkr_gp2xDualCore.cpp
    ${PROJECT_SOURCE_DIR}/sim/sim_arm940.cpp
  LIBS main940t_image example940t_image PkgConfig::UNICORN Threads::Threads)
target_include_directories(dualcore_tests PRIVATE
  ${PROJECT_SOURCE_DIR}/lowlevel ${PROJECT_SOURCE_DIR}/lowlevel/gp2x ${PROJECT_SOURCE_DIR}/sim
  ${CMAKE_CURRENT_SOURCE_DIR}/dualcore)
target_compile_definitions(dualcore_tests PRIVATE VKR_BACKEND_HANDHELD)
