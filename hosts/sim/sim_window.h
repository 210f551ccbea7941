// sim_window.h: the simulated console's screen in a window, for the programs that show it.
#pragma once

// Opens the window for the firmware output at the desktop window's size (the largest whole
// multiple that fits the screen); false when SDL video cannot start. The window then shows a frame
// and takes key and mouse events at every frame begun; on a television the captions show.
bool SimWindow_Open(const char* title);
// Whether the window draws the captions now (key C switches).
bool SimWindow_CaptionsShown();
