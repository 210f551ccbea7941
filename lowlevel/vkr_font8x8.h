// vkr_font8x8.h: the debug console's 8 x 8 font, 256 glyphs in code page 437 order.
#pragma once

#include <array>
#include <cstdint>

// Glyph c is bytes 8c to 8c + 7, one a pixel row from the top; bit 7 is the leftmost pixel and a
// set bit is foreground.
extern const std::array<uint8_t, 2048> g_uc_VKR_DBG_CHARSET;
