# copperbramble_arm940_image(NAME name SOURCES s... [BINARY file] [CHECK script]): a program for
# the second core. Assembles the sources in order with the ARM binutils (arm-none-eabi-as, -ld,
# -objcopy), links them at address 0, writes the raw image (to BINARY, or name.bin in the build
# folder), runs the optional check on it and makes the static library <name>_image: the header
# <name>_image.h with the array NAME_IMAGE (upper case) and its word count NAME_IMAGE_WORDS, for
# VKR_DualCoreStart. A program's image starts with ${COPPERBRAMBLE_MAIN940T_SOURCE}, the library's
# command loop, and a source of its own that defines VKR_Arm940T_Main, run once a command.
set(COPPERBRAMBLE_MAIN940T_SOURCE ${COPPERBRAMBLE_ARM940_DIR}/main940t.s)

function(copperbramble_arm940_image)
  cmake_parse_arguments(ARG "" "NAME;BINARY;CHECK" "SOURCES" ${ARGN})
  find_program(COPPERBRAMBLE_ARM_AS arm-none-eabi-as REQUIRED)
  find_program(COPPERBRAMBLE_ARM_LD arm-none-eabi-ld REQUIRED)
  find_program(COPPERBRAMBLE_ARM_OBJCOPY arm-none-eabi-objcopy REQUIRED)
  if(NOT ARG_BINARY)
    set(ARG_BINARY ${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}.bin)
  endif()
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME})
  set(objects)
  foreach(source ${ARG_SOURCES})
    get_filename_component(stem ${source} NAME_WE)
    add_custom_command(OUTPUT ${work}/${stem}.o
      COMMAND ${CMAKE_COMMAND} -E make_directory ${work}
      COMMAND ${COPPERBRAMBLE_ARM_AS} -mcpu=arm940t -o ${work}/${stem}.o ${source}
      DEPENDS ${source} VERBATIM)
    list(APPEND objects ${work}/${stem}.o)
  endforeach()
  set(check_command)
  if(ARG_CHECK)
    set(check_command COMMAND ${CMAKE_COMMAND} -DIMAGE=${ARG_BINARY} -P ${ARG_CHECK})
  endif()
  string(TOUPPER ${ARG_NAME} symbol)
  set(to_source ${COPPERBRAMBLE_ARM940_DIR}/image_to_source.cmake)
  add_custom_command(OUTPUT ${ARG_BINARY} ${work}/${ARG_NAME}_image.cpp ${work}/${ARG_NAME}_image.h
    COMMAND ${COPPERBRAMBLE_ARM_LD} -Ttext=0 -e 0 -o ${work}/${ARG_NAME}.elf ${objects}
    COMMAND ${COPPERBRAMBLE_ARM_OBJCOPY} -O binary -j .text ${work}/${ARG_NAME}.elf ${ARG_BINARY}
    ${check_command}
    COMMAND ${CMAKE_COMMAND} -DIMAGE=${ARG_BINARY} -DSYMBOL=${symbol}_IMAGE
            -DOUT_DIR=${work} -DSTEM=${ARG_NAME}_image -P ${to_source}
    DEPENDS ${objects} ${ARG_CHECK} ${to_source} VERBATIM)
  add_library(${ARG_NAME}_image STATIC ${work}/${ARG_NAME}_image.cpp)
  target_include_directories(${ARG_NAME}_image PUBLIC ${work})
endfunction()
