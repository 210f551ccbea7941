// resource_pack.h: loads resource.dat into video memory and prepares it for the output.
#pragma once

#include <cstdint>

#include "demo_layout.h"

// Reads "resource.dat" from the working directory into the video memory at base and prepares it
// for the output kind (0 LCD, 1 NTSC, 2 PAL). Answers false when the file cannot be opened; a
// short file is loaded as far as it goes and reported on standard error.
bool VKR_ResourcePack_Load(uint8_t* base, int outputKind);
