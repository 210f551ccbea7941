// SDL.h (headless stand-in): the demo starts and stops SDL's audio around its run; where the
// simulated console runs headless without SDL, there is nothing to start.
#pragma once

#include <cstdint>

#define SDL_INIT_AUDIO 0x00000010u

inline int SDL_Init(uint32_t) { return 0; }
inline void SDL_Quit() {}
