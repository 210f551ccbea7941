// sim_window.h: the simulated console's screen in a window, for the programs that show it.
#pragma once

// Opens the window at the firmware output's size (the LCD doubled); false when SDL video cannot
// start. The window then shows a frame and takes key and mouse events at every frame begun.
bool SimWindow_Open(const char* title);
