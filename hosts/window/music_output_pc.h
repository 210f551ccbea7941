// music_output_pc.h: the music output drivers of the desktop program, tried in turn.
#pragma once

#include "quiet_sound_output.h"

struct MDRIVER;

// Registers PulseAudio, then SDL audio, then a silent output that consumes the mix at the pace
// of the library clock, so the demo plays at the right speed where there is no sound; answers
// them in that order, ended by null.
MDRIVER* const* VKR_RegisterDesktopMusicDrivers();
