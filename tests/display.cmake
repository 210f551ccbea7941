# The display component on its own: linked beside a stub back end that defines the desktop's
# VKR_ operation and g_ global names (the link fails on a clash), and a check that the component's
# library defines no such symbol at all.
cb_add_gtest(cb_display_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/display/stub_backend.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/display_component_test.cpp
  LIBS cb_display)
# Without nm (or when it cannot read the library) the check fails rather than finding nothing.
add_test(NAME cb_display_defines_no_backend_symbol
         COMMAND sh -c "symbols=$(\"$0\" -gC --defined-only \"$1\") || exit 1; ! printf '%s\\n' \"$symbols\" | grep -E ' [A-Z] (VKR_|g_)'"
                 "${CMAKE_NM}" $<TARGET_FILE:cb_display>)
