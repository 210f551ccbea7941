# The page's build (tools/web/build.sh, with emscripten): the desktop back end with the page's
# canvas for a window (vkr_lowLevelWeb), the page's host (hosts/web), the demo on it
# (copperbramble-web) and the package for other programs on a page (Copperbramble::web). The music
# is libmikmod built for WebAssembly (CB_WEB_MIKMOD_DIR), the demo's data files are made by the
# PC's tools (CB_WEB_DATA_DIR); the demo and its page land in CB_WEB_SITE_DIR.
set(CB_WEB_MIKMOD_DIR "" CACHE PATH "libmikmod built for WebAssembly: include/ and lib/")
set(CB_WEB_DATA_DIR "" CACHE PATH "Where the PC's build wrote resource.dat and main.it")
set(CB_WEB_SITE_DIR ${CMAKE_BINARY_DIR}/site CACHE PATH "The folder the page is served from")
foreach(required CB_WEB_MIKMOD_DIR CB_WEB_DATA_DIR)
  if(NOT ${required})
    message(FATAL_ERROR "${required} is not set: build the page with tools/web/build.sh")
  endif()
endforeach()
cb_own_libmikmod(${CB_WEB_MIKMOD_DIR})

# emscripten's SDL 1.2 lives in its JavaScript library; only the headers are needed to compile.
add_library(cb_web_sdl INTERFACE)
target_compile_options(cb_web_sdl INTERFACE -sUSE_SDL=1)

add_subdirectory(${PROJECT_SOURCE_DIR}/lowlevel/display ${CMAKE_BINARY_DIR}/display)

# The common library code and the desktop back end, with the window replaced by the page's canvas.
file(GLOB common_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/lowlevel/*.cpp)
file(GLOB win_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/lowlevel/win/*.cpp)
list(FILTER win_sources EXCLUDE REGEX "/vkr_win(Window|Present)\\.cpp$")
set(web_dir ${PROJECT_SOURCE_DIR}/hosts/web)
add_library(vkr_lowLevelWeb STATIC ${common_sources} ${win_sources}
  ${web_dir}/vkr_webWindow.cpp ${web_dir}/vkr_webThreads.cpp)
target_include_directories(vkr_lowLevelWeb PUBLIC
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/lowlevel> $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/lowlevel/win>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_compile_definitions(vkr_lowLevelWeb PUBLIC VKR_BACKEND_DESKTOP)
target_link_libraries(vkr_lowLevelWeb PUBLIC cb_display cb_web_sdl)

add_subdirectory(${PROJECT_SOURCE_DIR}/demo ${CMAKE_BINARY_DIR}/demo)
add_subdirectory(${PROJECT_SOURCE_DIR}/hosts ${CMAKE_BINARY_DIR}/hosts)
include(${PROJECT_SOURCE_DIR}/cmake/package.cmake)
