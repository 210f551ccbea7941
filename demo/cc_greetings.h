// cc_greetings.h: the greetings scroll sent as closed captions on a television (handheld build
// only): the loading-screen hold, the encoder's caption set-up, the schedule, the drain and the
// final erase, each a no-op where there are no captions (LCD output, desktop build).
#pragma once

#include <cstdint>

// Schedule state, local to the demo's run.
struct VKR_CCG_State {
  int active;  // 1 on a television in the handheld build
  int step;    // 0 to 2 prologue; 3 j + 3 to 3 j + 5 the three sends of row j
  int row;     // next greeting row, 0 to 28 (28: all sent)
};

// The demo clock time after which captions go out.
inline constexpr uint32_t kVKR_CCG_StartMs = 72300;

VKR_CCG_State VKR_CCG_Init(int outputKind);
// Keeps the loading screen up for 2.5 s on a television.
void VKR_CCG_HoldLoadingScreen(const VKR_CCG_State& state);
// Prepares the encoder's caption output and selects data channel 1.
void VKR_CCG_SetUpEncoder(const VKR_CCG_State& state);
// Once a frame while the demo runs, with the demo clock just read.
void VKR_CCG_Advance(VKR_CCG_State& state, uint32_t now);
// Once a frame, running or paused: one queued pair to the encoder once past 72.3 s.
void VKR_CCG_Drain(const VKR_CCG_State& state, uint32_t now);
// In the end sequence: erase the caption on screen.
void VKR_CCG_Erase(const VKR_CCG_State& state);
