// tinymenu_vol.cpp: placeholder until the overlays land: no overlay, a clock that never pauses.
#include "tinymenu_vol.h"

#include "vkr_lowLevel.h"

static uint32_t g_TMV_ABSOLUTE_TIMER_START = 0;

void VKR_TMV_Vol_Initialize(int, int) {}
void VKR_TMV_Vol_IncVolume() {}
void VKR_TMV_Vol_DecVolume() {}
void VKR_TMV_Vol_Mute() {}
int VKR_TMV_Vol_Update() { return 0; }
int VKR_TMV_Vol_GetVolume() { return 44; }
void VKR_TMV_TinyMenu_Initialize(int, int) {}
void VKR_TMV_TinyMenu_Activate() {}
void VKR_TMV_TinyMenu_Next() {}
void VKR_TMV_TinyMenu_Prev() {}
void VKR_TMV_TinyMenu_Select() {}
void VKR_TMV_TinyMenu_Awake() {}
int VKR_TMV_TinyMenu_GetState() { return 0; }
void VKR_TMV_TinyMenu_SetPreviousState(int) {}
void VKR_TMV_TinyMenu_SetNextState(int) {}
void VKR_TMV_TinyMenu_Update() {}

void VKR_TMV_Start_Absolute_Timer() { VKR_GetTime(&g_TMV_ABSOLUTE_TIMER_START); }

uint32_t VKR_TMV_Retrieve_Absolute_Timer() {
  uint32_t now = 0;
  VKR_GetTime(&now);
  return now - g_TMV_ABSOLUTE_TIMER_START;
}

void HandleVolAndTinyMenu(uint32_t, uint32_t) {}
