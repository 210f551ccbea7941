// quiet_sound_output.h: the host's sound outputs started without the sound libraries' complaints:
// where there is no sound device they print theirs on standard error; the programs that play in a
// window keep them off the terminal and say it in one line of their own.
#pragma once

struct MDRIVER;

// Starts SDL's audio with the complaints kept off the terminal; the demo's own SDL_Init then finds
// it started.
void VKR_StartDesktopAudioQuietly();

// libmikmod's PulseAudio and SDL drivers with their detection and opening made quiet.
MDRIVER* VKR_QuietPulseAudioDriver();
MDRIVER* VKR_QuietSDLDriver();

// The one line said when the music falls back to a silent output.
void VKR_SayPlayingWithoutSound();
