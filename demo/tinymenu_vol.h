// tinymenu_vol.h: the overlays in the cursor layer: the volume display and the tiny pause menu,
// their per-frame dispatcher and the demo clock that stands still while paused.
#pragma once

#include <cstdint>

void VKR_TMV_Vol_Initialize(int lcd, int pal);
void VKR_TMV_Vol_IncVolume();
void VKR_TMV_Vol_DecVolume();
void VKR_TMV_Vol_Mute();
int VKR_TMV_Vol_Update();
int VKR_TMV_Vol_GetVolume();
// The level the overlay shows, 0 to 20; 0 while muted. Changes nothing.
int VKR_TMV_Vol_GetLevel();

void VKR_TMV_TinyMenu_Initialize(int lcd, int pal);
void VKR_TMV_TinyMenu_Activate();
void VKR_TMV_TinyMenu_Next();
void VKR_TMV_TinyMenu_Prev();
void VKR_TMV_TinyMenu_Select();
void VKR_TMV_TinyMenu_Awake();
int VKR_TMV_TinyMenu_GetState();  // 0 running, 1 menu open, 2 Exit chosen, 3 paused, hidden
void VKR_TMV_TinyMenu_SetPreviousState(int pressed);
void VKR_TMV_TinyMenu_SetNextState(int pressed);
void VKR_TMV_TinyMenu_Update();

void VKR_TMV_Start_Absolute_Timer();
uint32_t VKR_TMV_Retrieve_Absolute_Timer();

void HandleVolAndTinyMenu(uint32_t current, uint32_t previous);
