# image_to_source.cmake: turns a raw second-core image into <STEM>.h and <STEM>.cpp holding
# SYMBOL, an array of its little-endian 32-bit words, and SYMBOL_WORDS, their count.
# cmake -DIMAGE=file -DSYMBOL=name -DOUT_DIR=dir -DSTEM=name -P image_to_source.cmake
file(SIZE ${IMAGE} size)
math(EXPR remainder "${size} % 4")
if(NOT remainder EQUAL 0 OR size EQUAL 0)
  message(FATAL_ERROR "${IMAGE}: ${size} bytes is not a whole number of words")
endif()
math(EXPR words "${size} / 4")
file(READ ${IMAGE} hex HEX)
set(body "")
math(EXPR last "${words} - 1")
foreach(i RANGE ${last})
  math(EXPR at "${i} * 8")
  string(SUBSTRING ${hex} ${at} 8 le)
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" word ${le})
  string(APPEND body "  0x${word}u,\n")
endforeach()
file(WRITE ${OUT_DIR}/${STEM}.h
  "// ${STEM}.h: made by the build from ${IMAGE}; the second-core program as words.\n"
  "#pragma once\n#include <cstdint>\n"
  "inline constexpr uint32_t ${SYMBOL}_WORDS = ${words};\n"
  "extern const uint32_t ${SYMBOL}[${SYMBOL}_WORDS];\n")
file(WRITE ${OUT_DIR}/${STEM}.cpp
  "// ${STEM}.cpp: made by the build from ${IMAGE}.\n"
  "#include \"${STEM}.h\"\n"
  "const uint32_t ${SYMBOL}[${SYMBOL}_WORDS] = {\n${body}};\n")
