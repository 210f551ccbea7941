// music_output_pc.h: the music output drivers of the desktop program, tried in turn.
#pragma once

// Registers PulseAudio, then SDL audio, then a silent output that consumes the mix at the pace
// of the library clock, so the demo plays at the right speed where there is no sound. Answers 3.
int VKR_RegisterDesktopMusicDrivers();
