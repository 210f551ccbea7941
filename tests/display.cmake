# The display component on its own: linked beside a stub back end that defines the desktop's
# VKR_ operation and g_ global names (the link fails on a clash), and a check that the component's
# library defines no such symbol at all.
cb_add_gtest(cb_display_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/display/stub_backend.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/display_component_test.cpp
  LIBS cb_display)
add_test(NAME cb_display_defines_no_backend_symbol
         COMMAND sh -c "! nm -gC --defined-only \"$0\" | grep -E ' [A-Z] (VKR_|g_)'"
                 $<TARGET_FILE:cb_display>)
