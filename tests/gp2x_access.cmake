# The console's register accessors, compiled as the console build compiles them and disassembled:
# one load or store a register access (cross builds only, where the target's objdump is known).
if(NOT CMAKE_CROSSCOMPILING)
  return()
endif()
add_library(gp2x_access_probe OBJECT ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/access_probe.cpp)
target_include_directories(gp2x_access_probe PRIVATE ${PROJECT_SOURCE_DIR}/lowlevel/gp2x)
target_compile_definitions(gp2x_access_probe PRIVATE VKR_GP2X_CONSOLE)
# The release builds' optimisation, whatever this tree's build type: the check is about them.
target_compile_options(gp2x_access_probe PRIVATE -O2)
add_test(NAME gp2x_access_instructions
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DOBJECT=$<TARGET_OBJECTS:gp2x_access_probe>
          -P ${CMAKE_CURRENT_SOURCE_DIR}/gp2x/check_access.cmake)
