// vkr_winHost.h: seams of the desktop back end for the programs and tests that host the demo: the
// one millisecond clock everything reads (SDL's, or a virtual one that moves only when told), and
// a hook run after every composed frame with the picture it composed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "disp_model.h"

// The back end's only clock read and sleep; every timing operation goes through them.
uint32_t VKR_WinNowMS();
void VKR_WinSleepMS(uint32_t milliseconds);

// Virtual clock: reads startMs until advanced; sleeps return at once without moving it, so frames
// lie exactly as far apart as the host advances the clock.
void VKR_WinUseVirtualClock(uint32_t startMs);
void VKR_WinAdvanceVirtualClock(uint32_t milliseconds);
void VKR_WinUseSystemClock();
bool VKR_WinClockIsVirtual();

// The display mode a start finds in force, as a handheld finds the one its firmware left running:
// 0 (the LCD) unless a host asks for a television mode (5 NTSC, 19 PAL). Depth stays 16.
void VKR_WinSetStartupDisplayMode(uint32_t mode);

// The window key that stands for one button of the input state word (a VKR_BUTTON_ mask); 0 when
// the mask is not exactly one button. Returned as SDL's key number.
int VKR_WinKeyOfButton(uint32_t buttonMask);

// For a host with one thread (a web page): the second core's commands run on the program's thread
// whenever it waits (VKR_WaitArm940T, a full queue, VKR_WaitVSync), from the next
// VKR_DualCoreStart on. Off: a thread of its own takes them.
void VKR_WinRunSecondCoreOnCaller(bool onCaller);

// True once the window has been closed since the start: the host's request that the demo end.
bool VKR_WinCloseRequested();

// The display model the library's operations fill, and the frame the last composition made:
// output width x height pixels of blue, green, red, rows back to back.
const DISP_Model& VKR_WinDisplayModel();
const uint8_t* VKR_WinComposedFrame();

// Called at the end of every VKR_LowLevelAPI_SoftRender, after present and capture. Null clears.
using VKR_WinFrameHook = void (*)(void* context);
void VKR_WinSetFrameHook(VKR_WinFrameHook hook, void* context);
void VKR_WinRunFrameHook();

// Whether compositions are shown in the window (on after start-up). A recording, whose window is
// never seen, turns it off; the frame hook and capture still see every picture.
void VKR_WinSetPresenting(bool present);

// The picture last composed: blue, green, red bytes, top line first, lines pitch bytes apart.
// Valid until the next composition.
const uint8_t* VKR_WinFramePicture(int* width, int* height, size_t* pitch);
