// wav_music_driver.h: a libmikmod output that mixes only when told, so the music can be written
// to a WAV file exactly one frame period at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct MDRIVER;

// Registers the driver with libmikmod and answers it as the only one to try, ended by null.
MDRIVER* const* VKR_Rec_RegisterMusicDriver();

// Opens the WAV file that MixFrames writes to; an empty path mixes into nothing. 16-bit stereo.
bool VKR_Rec_OpenWav(const std::string& path, uint32_t sampleRate);
// Mixes sampleFrames stereo frames of music (silence while libmikmod is not started) into the file.
void VKR_Rec_MixFrames(uint32_t sampleFrames);
// Also hands every mixed block (16-bit stereo, little-endian) to sink; null stops that.
void VKR_Rec_SetSoundSink(void (*sink)(const void* samples, size_t bytes));
// Completes the header; answers the number of sample frames written.
uint64_t VKR_Rec_CloseWav();
