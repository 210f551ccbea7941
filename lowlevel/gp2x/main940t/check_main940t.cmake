# check_main940t.cmake: fails the build unless the second core's image has its fixed layout:
# 244 bytes, eight vectors each loading the program counter from the word at 0x34, and the
# literals at 0x34 to 0x44.  cmake -DIMAGE=file -P check_main940t.cmake
file(SIZE ${IMAGE} size)
if(NOT size EQUAL 244)
  message(FATAL_ERROR "${IMAGE}: ${size} bytes, the second-core image must be 244")
endif()
file(READ ${IMAGE} hex HEX)

function(expect_word offset expected what)
  math(EXPR at "${offset} * 2")
  string(SUBSTRING ${hex} ${at} 8 le)
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" word ${le})
  string(TOLOWER ${expected} expected)
  if(NOT word STREQUAL expected)
    math(EXPR shown "${offset}" OUTPUT_FORMAT HEXADECIMAL)
    message(FATAL_ERROR "${IMAGE}: ${what} at ${shown} is ${word}, expected ${expected}")
  endif()
endfunction()

# ldr pc, [pc, #(0x34 - (vector + 8))]
foreach(vector RANGE 0 28 4)
  math(EXPR encoding "0xE59FF000 + 0x34 - ${vector} - 8" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING ${encoding} 2 -1 encoding)
  expect_word(${vector} ${encoding} "vector")
endforeach()
expect_word(52 00000020 "start-up address literal")
expect_word(56 000ffffc "stack top literal")
expect_word(60 deadbeef "marker literal")
expect_word(64 1ee7face "marker literal")
expect_word(68 00100019 "queue region literal")
