// Turns the painted background into the packed 4:2:2 bytes of the pack (Y0, Cb, Y1, Cr for each
// pixel pair, 1,440 bytes a line).
#pragma once

#include <cstdint>
#include <span>

#include "canvas.h"

namespace mkresource {

// The canvas must be 720 x 480; out must hold 691,200 bytes.
void EncodePicture(const Canvas& canvas, std::span<std::uint8_t> out);

}  // namespace mkresource
