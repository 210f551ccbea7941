# What `cmake --install` puts in a prefix for other people's programs: the interface headers, the
# back ends and their hosts as static libraries, and the CMake package Copperbramble with one
# target a way to run a program (desktop, simulated and console; web in the page's build, with the
# page); a pkg-config file for the desktop.
include(CMakePackageConfigHelpers)
set(cb_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Copperbramble)
install(FILES ${PROJECT_SOURCE_DIR}/lowlevel/vkr_lowLevel.h
              ${PROJECT_SOURCE_DIR}/lowlevel/vkr_lowLevelCodes.h
              ${PROJECT_SOURCE_DIR}/hosts/vkr_host.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/copperbramble)

# cb_package_target(NAME HOST BACKEND): Copperbramble::NAME, a back end with the host that runs a
# program on it.
function(cb_package_target name host backend)
  add_library(cb_package_${name} INTERFACE)
  set_target_properties(cb_package_${name} PROPERTIES EXPORT_NAME ${name})
  target_link_libraries(cb_package_${name} INTERFACE ${host} ${backend})
  # The interface headers are C++17 (inline constexpr).
  target_compile_features(cb_package_${name} INTERFACE cxx_std_17)
endfunction()

set(cb_package_targets cb_display cb_host_common)
set(cb_package_modules "")
set(cb_package_packages "")
if(EMSCRIPTEN)
  cb_package_target(web cb_host_web vkr_lowLevelWeb)
  list(APPEND cb_package_targets cb_package_web cb_host_web vkr_lowLevelWeb cb_web_sdl)
elseif(NOT CMAKE_CROSSCOMPILING)
  cb_package_target(desktop cb_host_desktop_main vkr_lowLevelWin)
  cb_package_target(simulated cb_host_sim vkr_lowLevelGP2X)
  list(APPEND cb_package_targets cb_package_desktop cb_package_simulated
    vkr_lowLevelWin vkr_common_desktop vkr_lowLevelWin_host vkr_winWindow cb_recording cb_recorder
    cb_host_desktop cb_host_desktop_main cb_host_quiet_sound
    vkr_lowLevelGP2X vkr_common_handheld cb_sim cb_sim_desktop cb_host_sim cb_sdl)
  list(APPEND cb_package_modules "SPNG spng" "UNICORN unicorn" "ZVBI zvbi-0.2")
  list(APPEND cb_package_packages SDL)
endif()
if(CB_GP2X_CONSOLE)
  cb_package_target(console cb_host_handheld vkr_lowLevelGP2XConsole)
  list(APPEND cb_package_targets cb_package_console
    vkr_lowLevelGP2XConsole vkr_common_console cb_host_handheld)
endif()
if(NOT CB_PACKAGE_OWN_MIKMOD)
  list(APPEND cb_package_modules "MIKMOD libmikmod")
endif()

install(TARGETS ${cb_package_targets} EXPORT CopperbrambleTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}/copperbramble)
install(EXPORT CopperbrambleTargets NAMESPACE Copperbramble:: DESTINATION ${cb_package_dir})

# The dependencies the targets name, found again where the package is used: Debian's packages, or
# the libmikmod installed with the package (cmake/libmikmod.cmake).
set(CB_PACKAGE_DEPENDENCIES "")
foreach(package ${cb_package_packages})
  string(APPEND CB_PACKAGE_DEPENDENCIES "find_dependency(${package})\n")
endforeach()
if(cb_package_modules)
  string(APPEND CB_PACKAGE_DEPENDENCIES "find_dependency(PkgConfig)\n")
endif()
foreach(module ${cb_package_modules})
  string(REPLACE " " ";" module ${module})
  list(GET module 0 prefix)
  list(GET module 1 name)
  string(APPEND CB_PACKAGE_DEPENDENCIES "cb_find_module(${prefix} ${name})\n")
endforeach()
if(CB_PACKAGE_OWN_MIKMOD)
  string(APPEND CB_PACKAGE_DEPENDENCIES "cb_own_libmikmod(${CMAKE_INSTALL_LIBDIR} ${CMAKE_INSTALL_INCLUDEDIR})\n")
endif()
if(EMSCRIPTEN)
  # The page, the page's keys and copperbramble_web_page(), which puts the page beside a program.
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/hosts/web/page/ DESTINATION ${cb_package_dir}/page)
  install(FILES ${PROJECT_SOURCE_DIR}/hosts/web/vkr_webKeys.js ${CMAKE_CURRENT_LIST_DIR}/CopperbrambleWeb.cmake
          DESTINATION ${cb_package_dir})
  string(APPEND CB_PACKAGE_DEPENDENCIES "include(\${CMAKE_CURRENT_LIST_DIR}/CopperbrambleWeb.cmake)\n")
endif()
# The second core's command loop and the function that builds a program's own image with it.
install(FILES ${PROJECT_SOURCE_DIR}/cmake/CopperbrambleArm940.cmake
              ${PROJECT_SOURCE_DIR}/lowlevel/gp2x/main940t/main940t.s
              ${PROJECT_SOURCE_DIR}/lowlevel/gp2x/main940t/image_to_source.cmake
        DESTINATION ${cb_package_dir})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/CopperbrambleConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/CopperbrambleConfig.cmake INSTALL_DESTINATION ${cb_package_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/CopperbrambleConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/CopperbrambleConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/CopperbrambleConfigVersion.cmake
        DESTINATION ${cb_package_dir})

if(NOT CMAKE_CROSSCOMPILING)
  # The pkg-config file finds the prefix from where it lies, wherever the package is installed.
  file(RELATIVE_PATH CB_PC_PREFIX_FROM_PCFILEDIR
    /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/copperbramble-desktop.pc.in
    ${CMAKE_CURRENT_BINARY_DIR}/copperbramble-desktop.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copperbramble-desktop.pc
          DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endif()
