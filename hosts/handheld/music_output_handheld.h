// music_output_handheld.h: the console program's music output.
#pragma once

struct MDRIVER;

// Registers libmikmod's Open Sound System driver, the console's sound device, and answers it,
// ended by null.
MDRIVER* const* VKR_RegisterHandheldMusicDrivers();
