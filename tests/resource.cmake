# Resource pack tool: colour conversions, silhouette shapes, previews, and the built resource.dat
# in the data folder.
if(TARGET cb_mkresource_core)
  cb_add_gtest(cb_resource_test
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/resource/colour_convert_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/resource/preview_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/resource/resource_file_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/resource/shapes_test.cpp
    LIBS cb_mkresource_core)
  add_dependencies(cb_resource_test cb_resource_data)
endif()
