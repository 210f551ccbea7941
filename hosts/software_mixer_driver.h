// software_mixer_driver.h: a libmikmod output driver that mixes in software, made from the few
// callbacks in which our outputs differ (detection, start and stop, and what an update does).
#pragma once

#include <mikmod.h>

struct SoftwareMixerCallbacks {
  BOOL (*isPresent)() = nullptr;
  int (*init)() = VC_Init;
  void (*exit)() = VC_Exit;
  int (*playStart)() = VC_PlayStart;
  void (*playStop)() = VC_PlayStop;
  void (*update)() = nullptr;
};

inline MDRIVER VKR_SoftwareMixerDriver(const char* name, const char* alias,
                                       const SoftwareMixerCallbacks& callbacks) {
  return MDRIVER{nullptr,          name,               name,
                 0,                255,                alias,
                 "",               nullptr,            callbacks.isPresent,
                 VC_SampleLoad,    VC_SampleUnload,    VC_SampleSpace,
                 VC_SampleLength,  callbacks.init,     callbacks.exit,
                 nullptr,          VC_SetNumVoices,    callbacks.playStart,
                 callbacks.playStop, callbacks.update, nullptr,
                 VC_VoiceSetVolume, VC_VoiceGetVolume, VC_VoiceSetFrequency,
                 VC_VoiceGetFrequency, VC_VoiceSetPanning, VC_VoiceGetPanning,
                 VC_VoicePlay,     VC_VoiceStop,       VC_VoiceStopped,
                 VC_VoiceGetPosition, VC_VoiceRealVolume};
}
