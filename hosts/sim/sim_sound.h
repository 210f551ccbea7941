// sim_sound.h: the simulated console's sound output for libmikmod.
#pragma once

struct MDRIVER;

// Registers the outputs and answers them in the order they are tried, ended by null: on the
// virtual clock only a silent output that takes the mix at the pace of the console's time; in
// real-time mode the host's PulseAudio and SDL audio first, quietly, and the silent output says
// in one line that the demo plays without sound.
MDRIVER* const* SimRegisterSoundDrivers();
