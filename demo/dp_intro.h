// dp_intro.h: the intro, the demo's one timed part: sprites morphing over a picture.
#pragma once

#include <cstdint>

int VKR_DP_Intro_Init(int outputKind, int unused);
int VKR_DP_Intro_Reset();
int VKR_DP_Intro_Paint(uint32_t elapsedMs, uint32_t durationMs, int outputKind, int unused);
int VKR_DrawSprite(uint32_t page, int x, int y, int z, int frame);
