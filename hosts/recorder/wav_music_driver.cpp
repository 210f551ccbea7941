// wav_music_driver.cpp: the recorder's libmikmod output. Its update does nothing: the recorder mixes
// one frame period after every composed frame, so sound and pictures stay in step whatever the
// demo does with the player (paused, never loaded, volume changes).
#include "wav_music_driver.h"

#include <mikmod.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "software_mixer_driver.h"

namespace {

bool bOutputPlaying = false;  // between libmikmod's start and stop of output: mixing is valid
std::FILE* pWavFile = nullptr;
uint32_t ulWavRate = 22050;
uint64_t ullFramesWritten = 0;
std::array<SBYTE, 4 * 1024> mixBuffer;
void (*pfnSoundSink)(const void*, size_t) = nullptr;

int RecorderPlayStart() {
  const int result = VC_PlayStart();
  bOutputPlaying = result == 0;
  return result;
}
void RecorderPlayStop() {
  bOutputPlaying = false;
  VC_PlayStop();
}
BOOL RecorderIsPresent() { return 1; }
void RecorderUpdate() {}

MDRIVER drv_recorder = VKR_SoftwareMixerDriver(
    "Frame-stepped recorder", "recorder",
    {.isPresent = RecorderIsPresent, .playStart = RecorderPlayStart, .playStop = RecorderPlayStop,
     .update = RecorderUpdate});

void PutU16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}
void PutU32(uint8_t* at, uint32_t value) {
  PutU16(at, value);
  PutU16(at + 2, value >> 16);
}

void WriteHeader(uint64_t frames) {
  const uint32_t dataBytes = static_cast<uint32_t>(std::min<uint64_t>(frames * 4, 0xFFFFFFF0u));
  std::array<uint8_t, 44> header{};
  std::copy_n("RIFF", 4, header.begin());
  PutU32(&header[4], dataBytes + 36);
  std::copy_n("WAVEfmt ", 8, header.begin() + 8);
  PutU32(&header[16], 16);
  PutU16(&header[20], 1);  // PCM
  PutU16(&header[22], 2);
  PutU32(&header[24], ulWavRate);
  PutU32(&header[28], ulWavRate * 4);
  PutU16(&header[32], 4);
  PutU16(&header[34], 16);
  std::copy_n("data", 4, header.begin() + 36);
  PutU32(&header[40], dataBytes);
  std::fseek(pWavFile, 0, SEEK_SET);
  std::fwrite(header.data(), 1, header.size(), pWavFile);
  std::fseek(pWavFile, 0, SEEK_END);
}

}  // namespace

MDRIVER* const* VKR_Rec_RegisterMusicDriver() {
  static MDRIVER* const drivers[] = {&drv_recorder, nullptr};
  MikMod_RegisterDriver(&drv_recorder);
  return drivers;
}

bool VKR_Rec_OpenWav(const std::string& path, uint32_t sampleRate) {
  ulWavRate = sampleRate;
  ullFramesWritten = 0;
  if (path.empty()) return true;
  pWavFile = std::fopen(path.c_str(), "wb");
  if (!pWavFile) return false;
  WriteHeader(0);
  return true;
}

void VKR_Rec_MixFrames(uint32_t sampleFrames) {
  while (sampleFrames > 0) {
    const uint32_t chunk = std::min<uint32_t>(sampleFrames, mixBuffer.size() / 4);
    // No output playing (before the music starts, or sound failed): silence of the same length.
    if (bOutputPlaying)
      VC_WriteBytes(mixBuffer.data(), chunk * 4);
    else
      mixBuffer.fill(0);
    if (pWavFile) std::fwrite(mixBuffer.data(), 4, chunk, pWavFile);
    if (pfnSoundSink) pfnSoundSink(mixBuffer.data(), chunk * 4);
    ullFramesWritten += chunk;
    sampleFrames -= chunk;
  }
}

void VKR_Rec_SetSoundSink(void (*sink)(const void*, size_t)) { pfnSoundSink = sink; }

uint64_t VKR_Rec_CloseWav() {
  if (pWavFile) {
    WriteHeader(ullFramesWritten);
    std::fclose(pWavFile);
    pWavFile = nullptr;
  }
  return ullFramesWritten;
}
