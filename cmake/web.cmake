# copperbramble-web: the demo and the desktop back end in WebAssembly for a web page, built with
# emscripten by tools/web/build.sh. The window is the page's canvas (hosts/web), the music
# libmikmod built for WebAssembly (CB_WEB_MIKMOD_DIR), the data files made by the PC's tools
# (CB_WEB_DATA_DIR) are packed beside the program. Everything lands in CB_WEB_SITE_DIR with the
# page of hosts/web/page.
set(CB_WEB_MIKMOD_DIR "" CACHE PATH "libmikmod built for WebAssembly: include/ and lib/")
set(CB_WEB_DATA_DIR "" CACHE PATH "Where the PC's build wrote resource.dat and main.it")
set(CB_WEB_SITE_DIR ${CMAKE_BINARY_DIR}/site CACHE PATH "The folder the page is served from")
foreach(required CB_WEB_MIKMOD_DIR CB_WEB_DATA_DIR)
  if(NOT ${required})
    message(FATAL_ERROR "${required} is not set: build the page with tools/web/build.sh")
  endif()
endforeach()

add_library(cb_web_mikmod STATIC IMPORTED)
set_target_properties(cb_web_mikmod PROPERTIES
  IMPORTED_LOCATION ${CB_WEB_MIKMOD_DIR}/lib/libmikmod.a
  INTERFACE_INCLUDE_DIRECTORIES ${CB_WEB_MIKMOD_DIR}/include
  INTERFACE_COMPILE_DEFINITIONS MIKMOD_STATIC)

# emscripten's SDL 1.2 lives in its JavaScript library; only the headers are needed here.
add_library(cb_web_sdl INTERFACE)
target_compile_options(cb_web_sdl INTERFACE -sUSE_SDL=1)

add_subdirectory(${PROJECT_SOURCE_DIR}/lowlevel/display ${CMAKE_BINARY_DIR}/display)

# The common library code and the desktop back end, with the window replaced by the page's canvas.
file(GLOB common_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/lowlevel/*.cpp)
file(GLOB win_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/lowlevel/win/*.cpp)
list(FILTER win_sources EXCLUDE REGEX "/vkr_win(Window|Present)\\.cpp$")
set(web_dir ${PROJECT_SOURCE_DIR}/hosts/web)
set(web_sources ${web_dir}/vkr_webWindow.cpp ${web_dir}/vkr_webThreads.cpp)
add_library(vkr_lowLevelWeb STATIC ${common_sources} ${win_sources} ${web_sources})
target_include_directories(vkr_lowLevelWeb PUBLIC ${PROJECT_SOURCE_DIR}/lowlevel
                                                  ${PROJECT_SOURCE_DIR}/lowlevel/win)
target_compile_definitions(vkr_lowLevelWeb PUBLIC VKR_BACKEND_DESKTOP)
target_link_libraries(vkr_lowLevelWeb PUBLIC cb_display cb_web_sdl)

set(demo_dir ${PROJECT_SOURCE_DIR}/demo)
add_executable(copperbramble-web
  ${web_dir}/entry_web.cpp ${web_dir}/music_output_web.cpp ${demo_dir}/main.cpp
  ${demo_dir}/cc_greetings.cpp ${demo_dir}/dp_intro.cpp ${demo_dir}/tinymenu_vol.cpp
  ${demo_dir}/tinymenu_vol_bitmaps.cpp ${demo_dir}/resource_pack.cpp)
target_include_directories(copperbramble-web PRIVATE ${demo_dir} ${PROJECT_SOURCE_DIR}/hosts)
target_link_libraries(copperbramble-web PRIVATE vkr_lowLevelWeb cb_web_mikmod)
set_target_properties(copperbramble-web PROPERTIES
  SUFFIX .js
  RUNTIME_OUTPUT_DIRECTORY ${CB_WEB_SITE_DIR})

# The frame loop waits in the browser (asyncify) where it waits for the next frame; no sleeping
# call is made through a function pointer, which keeps the instrumented code to that path. The
# page starts the program itself (callMain, after a click: browsers start sound only then).
set(key_map ${web_dir}/vkr_webKeys.js)
set(data_files ${CB_WEB_DATA_DIR}/resource.dat ${CB_WEB_DATA_DIR}/main.it)
target_link_options(copperbramble-web PRIVATE
  -sUSE_SDL=1 -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT -sASYNCIFY_STACK_SIZE=65536
  -sINITIAL_MEMORY=64MB -sALLOW_MEMORY_GROWTH
  -sINVOKE_RUN=0 -sEXPORTED_RUNTIME_METHODS=callMain
  "SHELL:--post-js ${key_map}"
  "SHELL:--preload-file ${CB_WEB_DATA_DIR}/resource.dat@/resource.dat"
  "SHELL:--preload-file ${CB_WEB_DATA_DIR}/main.it@/main.it")
set_property(TARGET copperbramble-web APPEND PROPERTY LINK_DEPENDS ${key_map} ${data_files})

# The page itself, copied beside the program at every build.
if(EXISTS ${web_dir}/page)
  add_custom_target(cb_web_page ALL
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${web_dir}/page ${CB_WEB_SITE_DIR}
    COMMENT "Copying the page into ${CB_WEB_SITE_DIR}"
    VERBATIM)
endif()
