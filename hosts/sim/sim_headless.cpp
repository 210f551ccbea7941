// sim_headless.cpp: copperbramble-sim's window and sound where it runs headless only (the ARM
// build): no window opens, and the music is mixed by the recorder's output, a frame period at a
// time while recording and not at all otherwise.
#include "sim_sound.h"
#include "sim_window.h"
#include "wav_music_driver.h"

bool SimWindow_Open(const char*) { return false; }

MDRIVER* const* SimRegisterSoundDrivers() { return VKR_Rec_RegisterMusicDriver(); }
