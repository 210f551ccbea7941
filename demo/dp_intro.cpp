// dp_intro.cpp: placeholder until the intro lands.
#include "dp_intro.h"

int VKR_DP_Intro_Init(int, int) { return 1; }
int VKR_DP_Intro_Reset() { return 1; }
int VKR_DP_Intro_Paint(uint32_t, uint32_t, int, int) { return 0; }
int VKR_DrawSprite(uint32_t, int, int, int, int) { return 0; }
