// dp_intro.h: the intro, the demo's one timed part: sprites morphing over a picture.
#pragma once

#include <array>
#include <cstdint>

// Sine and minus-cosine over one turn of 4096 steps, 16.16 fixed point; built by the init.
extern std::array<int32_t, 4096> SINT;
extern std::array<int32_t, 4096> COST;

int VKR_DP_Intro_Init(int outputKind, int unused);
int VKR_DP_Intro_Reset();
int VKR_DP_Intro_Paint(uint32_t elapsedMs, uint32_t durationMs, int outputKind, int unused);
int VKR_DrawSprite(uint32_t page, int x, int y, int z, int frame);
