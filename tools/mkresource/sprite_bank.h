// Rasterises the sprite objects into the pack's bank: every size rendered from the surfaces
// themselves, hard-edged against the transparent key, dithered into RGB565.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace mkresource {

// size x size pixels, rows top to bottom; a pixel is either the key or fully object.
std::vector<std::uint16_t> RenderSpriteFrame(int frame, int size);

// All seven sets, largest first, as little-endian words; out must hold 77,952 bytes.
void EncodeSpriteBank(std::span<std::uint8_t> out);

}  // namespace mkresource
