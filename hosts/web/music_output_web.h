// music_output_web.h: the web page's music output.
#pragma once

struct MDRIVER;

// Registers the page's output, libmikmod's software mixer played through SDL's audio, and
// answers it, ended by null.
MDRIVER* const* VKR_RegisterWebMusicDrivers();
