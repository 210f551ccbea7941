# copperbramble_web_page(TARGET [TITLE text]): TARGET, a program linked with Copperbramble::web,
# built as the script TARGET.js and .wasm with the page beside them (index.html, page.js,
# page.css), which loads the program and starts it with Start. The page's heading is TITLE, or
# the target's name. Serve the folder over HTTP and open index.html.
set(COPPERBRAMBLE_WEB_PAGE_DIR ${CMAKE_CURRENT_LIST_DIR}/page)

function(copperbramble_web_page target)
  cmake_parse_arguments(ARG "" "TITLE" "" ${ARGN})
  if(NOT ARG_TITLE)
    set(ARG_TITLE ${target})
  endif()
  set_target_properties(${target} PROPERTIES SUFFIX .js OUTPUT_NAME ${target})
  foreach(special "&;&amp;" "<;&lt;" "\";&quot;")
    list(GET special 0 character)
    list(GET special 1 entity)
    string(REPLACE "${character}" "${entity}" ARG_TITLE "${ARG_TITLE}")
  endforeach()
  file(READ ${COPPERBRAMBLE_WEB_PAGE_DIR}/index.html page)
  string(REPLACE "data-program=\"copperbramble-web.js\"" "data-program=\"${target}.js\" data-title=\"${ARG_TITLE}\""
         page "${page}")
  set(page_file ${CMAKE_CURRENT_BINARY_DIR}/${target}-page/index.html)
  file(WRITE ${page_file} "${page}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy ${page_file} ${COPPERBRAMBLE_WEB_PAGE_DIR}/page.js
            ${COPPERBRAMBLE_WEB_PAGE_DIR}/page.css $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()
