// sim_headless.cpp: copperbramble-sim's window, sound and television captions where it runs
// headless only (the ARM build): no window opens, the music is mixed by the recorder's output, a
// frame period at a time while recording and not at all otherwise, and no caption decoder draws
// over the picture (a recording's pictures are the console's alone).
#include "quiet_sound_output.h"
#include "sim_captionOverlay.h"
#include "sim_sound.h"
#include "sim_window.h"
#include "wav_music_driver.h"

bool SimWindow_Open(const char*) { return false; }

MDRIVER* const* SimRegisterSoundDrivers() { return VKR_Rec_RegisterMusicDriver(); }

void VKR_StartDesktopAudioQuietly() {}

void SimCaptionOverlay_Reset() {}
void SimCaptionOverlay_Follow(uint64_t) {}
void SimCaptionOverlay_Draw(uint8_t*, int, int, uint64_t) {}
bool SimCaptionOverlay_Shows() { return false; }
bool SimCaptionOverlay_GridOf(int, int, SimCaptionGrid*) { return false; }
