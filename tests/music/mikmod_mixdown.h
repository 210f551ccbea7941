// libmikmod as the demo sets it up (Impulse Tracker loader, 22050 Hz, 16-bit stereo software
// mixing), on its no-sound driver so no sound device is needed, with its mixer run by hand to
// capture what it would play.
#pragma once

#include <mikmod.h>

#include <cstdint>
#include <vector>

inline constexpr int kMixRate = 22050;

// Initialises libmikmod once for the whole test program; true when MikMod_Init succeeded.
bool StartMikMod();

// Plays the module from its start until the player stops (or max_seconds have been mixed) and
// answers the interleaved stereo frames.
std::vector<std::int16_t> MixDown(MODULE* module, double max_seconds);
