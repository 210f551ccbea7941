// disp_blitter.h: the blitter and the rotator done in software on a block of video memory: one
// operation described by a plain record, carried out at once. No access leaves the block.
#pragma once

#include <cstdint>

// One blit: rows top to bottom, pixels left to right, in place (no special order for overlapping
// operands). The raster operation combines source S and destination D bit by bit: result bit =
// bit (2 x S bit + D bit) of the operation number.
struct DISP_BlitOp {
  uint32_t dstOffset, srcOffset;              // byte offsets into video memory
  uint64_t dstRowBytes, srcRowBytes;          // distance between rows, bytes
  uint16_t width, height;                     // pixels
  uint32_t rasterOp;                          // 0 to 15
  uint32_t pixelBytes;                        // 2 (16-bit pixels) or 1 (8-bit pixels)
  uint32_t expand;                            // the source is a bit map: 1 foreground, 0 background
  uint32_t transparent;                       // pixels whose colour equals the key are not drawn
  uint16_t colorKey, background, foreground;  // 8-bit pixels use the low byte; a key above 255
                                              // then never matches
};

// One copy turned by quarter turns: the source rectangle of width x height pixels at srcOffset
// lands at dstOffset turned `turn` quarter turns clockwise (0 to 3).
struct DISP_RotateOp {
  uint32_t dstOffset, srcOffset;
  uint64_t dstRowBytes, srcRowBytes;
  uint16_t width, height;
  uint32_t pixelBytes;  // 1, 2 or 3
  uint32_t turn;
};

// false (nothing drawn) when the raster operation is above 15 or the pixel size is not 1 or 2.
// Rows are cut where an operand would pass the end of the block.
bool DISP_Blit(const DISP_BlitOp& op, uint8_t* video);
// false (nothing drawn) when the pixel size is not 1 to 3. Pixels whose source or destination
// lies outside the block are skipped.
bool DISP_Rotate(const DISP_RotateOp& op, uint8_t* video);
